// Turning a plug-in's device-independent bitmap into our picture.
#include <cstring>
#include <vector>

#include "core/DibLayout.h"
#include "plugins/SpiFunc.h"
#include "ui/Bitmap.h"
#include "ui/Handles.h"

namespace {

std::string_view BlockText(HLOCAL handle, const void* locked) {
  return {static_cast<const char*>(locked), ::LocalSize(handle)};
}

// A BITMAPINFO of our own holding only what the check found inside the
// plug-in's block, so the system reads nothing beyond it.
std::vector<char> CopyInfo(std::string_view block, const dib::Layout& layout) {
  const size_t maskBytes = layout.compression == dib::kBitFields ? 12 : 0;
  const size_t colorBytes = layout.colorCount * sizeof(RGBQUAD);
  std::vector<char> copy(sizeof(BITMAPINFOHEADER) + maskBytes + colorBytes);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(copy.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = layout.width;
  header->biHeight = layout.height;
  header->biPlanes = 1;
  header->biBitCount = layout.bitCount;
  header->biCompression = layout.compression;
  header->biClrUsed = layout.colorCount;
  char* tables = copy.data() + sizeof(BITMAPINFOHEADER);
  std::memcpy(tables, block.data() + layout.maskOffset, maskBytes);
  std::memcpy(tables + maskBytes, block.data() + layout.colorOffset, colorBytes);
  return copy;
}

dib::Layout CheckedLayout(std::string_view infoBlock) {
  dib::Layout layout = dib::CheckInfo(infoBlock);
  if (!layout.problem.empty()) throw PluginDataError("Plug-in picture: " + layout.problem);
  return layout;
}

}  // namespace

void DibToBitmap(ui::Bitmap& bitmap, HLOCAL info, HLOCAL bits) {
  const ui::LocalLockGuard infoLock(info);
  if (!infoLock.Ptr()) return;
  const std::string_view infoBlock = BlockText(info, infoLock.Ptr());
  const dib::Layout layout = CheckedLayout(infoBlock);
  const ui::LocalLockGuard bitsLock(bits);
  if (bitsLock.Ptr() && ::LocalSize(bits) < layout.imageBytes) {
    throw PluginDataError("Plug-in picture: pixel block smaller than its rows");
  }
  // Rows given from the top (negative height) still make an upright picture.
  bitmap.SetSize(layout.width, layout.lines);
  if (!bitsLock.Ptr()) return;
  const std::vector<char> copy = CopyInfo(infoBlock, layout);
  bitmap.SetDIBits(0, layout.lines, bitsLock.Ptr(), reinterpret_cast<const BITMAPINFO*>(copy.data()));
}
