// A plug-in's BITMAPINFO block: whatever it claims, a block that passes the
// check has its header, masks and colour table inside the block and sizes
// within the limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/DibLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const dib::Layout layout = dib::CheckInfo(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!layout.problem.empty()) return 0;
  if (layout.width < 1 || layout.width > dib::kMaxSide || layout.lines < 1 || layout.lines > dib::kMaxSide ||
      int64_t{layout.width} * layout.lines > dib::kMaxPixels) {
    std::abort();
  }
  if (layout.colorOffset > size || uint64_t{layout.colorCount} * 4 > size - layout.colorOffset) std::abort();
  if (layout.compression == dib::kBitFields && uint64_t{layout.maskOffset} + 12 > size) std::abort();
  const uint64_t rowBytes = (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
  if (layout.imageBytes != rowBytes * static_cast<uint64_t>(layout.lines)) std::abort();
  return 0;
}
