#include <algorithm>
#include <cstring>

#include "codecs/BmpDecode.h"

namespace codecs::bmp {

bool CopyPlainRows(const Format& format, RowTarget target) {
  const size_t stride = DibStride(format.shape.width, format.shape.layout);
  const size_t rowBytes = (size_t(format.shape.width) * format.bitCount + 7) / 8;
  const uint8_t* source = format.pixels.data();
  for (int32_t y = 0; y < format.shape.height; ++y, source += stride) {
    uint8_t* row = StoredRow(format, target, y);
    std::memcpy(row, source, rowBytes);
    std::memset(row + rowBytes, 0, stride - rowBytes);
  }
  return true;
}

namespace {

// The largest index in the first `width` pixels of an indexed row.
uint32_t LargestIndex(const uint8_t* row, int32_t width, int bits) {
  uint32_t largest = 0;
  if (bits == 8) {
    for (int32_t x = 0; x < width; ++x) largest = std::max<uint32_t>(largest, row[x]);
    return largest;
  }
  const int perByte = 8 / bits;
  const uint32_t mask = (1u << bits) - 1;
  for (int32_t x = 0; x < width; ++x) {
    const int shift = 8 - bits * (x % perByte + 1);
    largest = std::max<uint32_t>(largest, row[x / perByte] >> shift & mask);
  }
  return largest;
}

}  // namespace

bool IndicesInPalette(const PictureShape& shape, RowTarget target) {
  const int bits = int(shape.layout);
  if (bits > 8 || shape.palette.size() >= (size_t{1} << bits)) return true;
  for (int32_t y = 0; y < shape.height; ++y) {
    if (LargestIndex(TargetRow(target, y), shape.width, bits) >= shape.palette.size()) return false;
  }
  return true;
}

}  // namespace codecs::bmp
