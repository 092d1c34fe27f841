#include "spi/common/LocalDib.h"

#include <cstring>

#include "ui/Handles.h"

namespace spi {

namespace {
// Fixed memory: the handle is the address, and hosts that lock it get it back.
ui::LocalMemory CopyToLocal(const void* bytes, size_t size) {
  ui::LocalMemory block(::LocalAlloc(LMEM_FIXED, size));
  if (block) std::memcpy(block.Get(), bytes, size);
  return block;
}
}  // namespace

SpiResult HandOutDib(const Dib& dib, HLOCAL* info, HLOCAL* bits) {
  if (!info || !bits) return kSpiMemoryError;
  *info = nullptr;
  *bits = nullptr;
  const auto header = InfoHeader(dib);
  ui::LocalMemory infoBlock = CopyToLocal(header.data(), header.size());
  ui::LocalMemory bitsBlock = CopyToLocal(dib.bits.data(), dib.bits.size());
  if (!infoBlock || !bitsBlock) return kSpiNoMemory;
  *info = infoBlock.Release();
  *bits = bitsBlock.Release();
  return kSpiOk;
}

}  // namespace spi
