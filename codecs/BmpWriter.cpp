#include "codecs/BmpWriter.h"

#include <cstring>

namespace codecs {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

// The palette a palette layout stores: the shape's own, or none for the
// other layouts. An empty palette of a palette layout is written in full as
// zeros (black), since a reader must find an entry for every index.
size_t PaletteEntries(const PictureShape& shape) {
  const int bits = int(shape.layout);
  return bits <= 8 ? size_t{1} << bits : 0;
}

void WriteHeaders(uint8_t* p, const PictureShape& shape, uint32_t pixelOffset, uint32_t imageSize,
                  uint32_t paletteEntries) {
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, pixelOffset + imageSize);
  Put32(p + 10, pixelOffset);
  uint8_t* info = p + kFileHeaderSize;
  Put32(info, kInfoHeaderSize);
  Put32(info + 4, uint32_t(shape.width));
  Put32(info + 8, uint32_t(shape.height));  // positive: bottom-up
  Put16(info + 12, 1);
  Put16(info + 14, uint32_t(shape.layout));
  Put32(info + 16, 0);  // BI_RGB
  Put32(info + 20, imageSize);
  // 2835 pixels per metre is 72 dots per inch, what most programs assume.
  Put32(info + 24, 2835);
  Put32(info + 28, 2835);
  Put32(info + 32, paletteEntries);
  Put32(info + 36, 0);
}

}  // namespace

bool EncodeBmp(const PictureShape& shape, ConstRowSource source, std::vector<uint8_t>& out) {
  out.clear();
  if (!FitsLimits(shape.width, shape.height, shape.layout)) return false;
  const size_t entries = PaletteEntries(shape);
  if (shape.palette.size() > entries) return false;
  const size_t stride = DibStride(shape.width, shape.layout);
  const uint64_t imageSize = uint64_t{stride} * uint64_t(shape.height);
  const uint64_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * uint64_t{entries};
  if (pixelOffset + imageSize > UINT32_MAX) return false;
  out.assign(size_t(pixelOffset + imageSize), 0);
  WriteHeaders(out.data(), shape, uint32_t(pixelOffset), uint32_t(imageSize), uint32_t(entries));
  uint8_t* palette = out.data() + kFileHeaderSize + kInfoHeaderSize;
  for (size_t i = 0; i < shape.palette.size(); ++i) Put32(palette + 4 * i, shape.palette[i] & 0xFFFFFF);
  // Only the bits of the row's pixels are copied: padding stays zero.
  const size_t rowBytes = (uint64_t(shape.width) * uint64_t(shape.layout) + 7) / 8;
  uint8_t* pixels = out.data() + pixelOffset;
  for (int32_t y = 0; y < shape.height; ++y) {
    const uint8_t* row = source.first + ptrdiff_t(y) * source.step;
    std::memcpy(pixels + size_t(shape.height - 1 - y) * stride, row, rowBytes);
  }
  return true;
}

}  // namespace codecs
