// RLE8 and RLE4: pairs of (count, value) fill a row with a run; a count of 0
// starts an escape: 0 end of row, 1 end of picture, 2 a move right and up by
// the next two bytes, 3 and more that many literal pixels padded to a 16-bit
// boundary. Rows are stored bottom-up. A run or move beyond the row or the
// picture is an error, never clipped.
#include <cstring>

#include "codecs/BmpDecode.h"

namespace codecs::bmp {

namespace {

class RunWriter {
 public:
  RunWriter(const Format& format, RowTarget target)
      : target_(target), width_(format.shape.width), height_(format.shape.height),
        fourBit_(format.coding == Coding::Rle4) {}

  bool Put(uint8_t index) {
    if (x_ >= width_ || y_ >= height_) return false;
    uint8_t* row = TargetRow(target_, int32_t(height_ - 1 - y_));
    if (fourBit_) {
      row[x_ / 2] |= x_ % 2 == 0 ? uint8_t(index << 4) : index;
    } else {
      row[x_] = index;
    }
    ++x_;
    return true;
  }

  void EndRow() { x_ = 0; ++y_; }

  bool Move(uint8_t right, uint8_t up) {
    x_ += right;
    y_ += up;
    return x_ <= width_ && y_ <= height_;
  }

  // A stream that stops without its end code is whole only when its rows are.
  bool Complete() const { return y_ >= height_ || (y_ == height_ - 1 && x_ == width_); }

 private:
  RowTarget target_;
  int64_t width_, height_;
  bool fourBit_;
  int64_t x_ = 0, y_ = 0;
};

// The pixel `k` of a run or a literal whose bytes are `bytes`.
uint8_t Pixel(const uint8_t* bytes, size_t k, bool fourBit) {
  if (!fourBit) return bytes[k];
  const uint8_t b = bytes[k / 2];
  return k % 2 == 0 ? uint8_t(b >> 4) : uint8_t(b & 0x0F);
}

}  // namespace

bool DecodeRunLengths(const Format& format, RowTarget target) {
  const size_t stride = DibStride(format.shape.width, format.shape.layout);
  for (int32_t y = 0; y < format.shape.height; ++y) std::memset(TargetRow(target, y), 0, stride);
  const bool fourBit = format.coding == Coding::Rle4;
  RunWriter writer(format, target);
  const std::span<const uint8_t> data = format.pixels;
  size_t i = 0;
  while (data.size() - i >= 2) {
    const uint8_t count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      // A 4-bit run alternates the two pixels of its byte.
      for (size_t k = 0; k < count; ++k) {
        if (!writer.Put(fourBit ? Pixel(&value, k % 2, true) : value)) return false;
      }
    } else if (value == 0) {
      writer.EndRow();
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (data.size() - i < 2 || !writer.Move(data[i], data[i + 1])) return false;
      i += 2;
    } else {
      const size_t bytes = fourBit ? (value + 1) / 2 : value;
      const size_t padded = (bytes + 1) / 2 * 2;
      if (data.size() - i < padded) return false;
      for (size_t k = 0; k < value; ++k) {
        if (!writer.Put(Pixel(&data[i], k, fourBit))) return false;
      }
      i += padded;
    }
  }
  return writer.Complete();
}

}  // namespace codecs::bmp
