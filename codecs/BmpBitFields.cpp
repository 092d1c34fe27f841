// Pixels whose colour masks a DIB cannot hold (565, 444 with alpha, 11-11-10,
// channels in another order): each channel of n bits is scaled to 8 bits by
// rounding v × 255 / (2^n − 1), so that full intensity stays 255 and the
// darkest shades are not shifted as plain bit shifting would.
#include <bit>
#include <cstring>
#include <vector>

#include "codecs/BmpDecode.h"

namespace codecs::bmp {

namespace {

class Channel {
 public:
  explicit Channel(uint32_t mask) : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)) {
    const int bits = std::popcount(mask);
    max_ = bits == 0 ? 0 : (uint64_t{1} << bits) - 1;
    // Up to 16 bits a table is cheaper than a division per pixel.
    if (bits <= 16) {
      table_.resize(size_t(max_) + 1);
      for (uint64_t v = 0; v <= max_; ++v) table_[size_t(v)] = Scale(v);
    }
  }

  uint8_t operator()(uint32_t pixel) const {
    const uint64_t v = (pixel & mask_) >> shift_;
    return table_.empty() ? Scale(v) : table_[size_t(v)];
  }

 private:
  uint8_t Scale(uint64_t v) const { return max_ == 0 ? 0 : uint8_t((v * 255 + max_ / 2) / max_); }

  uint32_t mask_;
  int shift_;
  uint64_t max_ = 0;
  std::vector<uint8_t> table_;
};

}  // namespace

bool ConvertBitFields(const Format& format, RowTarget target) {
  const Channel red(format.masks[0]), green(format.masks[1]), blue(format.masks[2]);
  const int pixelBytes = format.bitCount / 8;
  const int outBytes = int(format.shape.layout) / 8;
  const size_t sourceStride = (size_t(format.shape.width) * pixelBytes + 3) / 4 * 4;
  const size_t targetStride = DibStride(format.shape.width, format.shape.layout);
  const size_t rowBytes = size_t(format.shape.width) * outBytes;
  const uint8_t* source = format.pixels.data();
  for (int32_t y = 0; y < format.shape.height; ++y, source += sourceStride) {
    uint8_t* out = StoredRow(format, target, y);
    const uint8_t* in = source;
    for (int32_t x = 0; x < format.shape.width; ++x, in += pixelBytes, out += outBytes) {
      const uint32_t pixel = pixelBytes == 2 ? Le16(in) : Le32(in);
      out[0] = blue(pixel);
      out[1] = green(pixel);
      out[2] = red(pixel);
      if (outBytes == 4) out[3] = 0;
    }
    std::memset(out, 0, targetStride - rowBytes);
  }
  return true;
}

}  // namespace codecs::bmp
