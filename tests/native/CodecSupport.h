#pragma once
// What the codec tests share: a BMP or JPEG decoded into a top-down buffer,
// and the peak signal-to-noise ratio of two B-G-R pictures.
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "codecs/BmpReader.h"
#include "codecs/JpegReader.h"

namespace codec_test {

struct DecodedBmp {
  codecs::PictureShape shape;
  size_t stride = 0;
  std::vector<uint8_t> rows;  // top row first

  const uint8_t* Row(int32_t y) const { return rows.data() + y * stride; }
  // The first `bytes` bytes of each row, top first.
  std::vector<std::vector<uint8_t>> Rows(size_t bytes) const {
    std::vector<std::vector<uint8_t>> out;
    for (int32_t y = 0; y < shape.height; ++y) out.emplace_back(Row(y), Row(y) + bytes);
    return out;
  }
};

enum class BmpOutcome { Decoded, NoShape, DecodeRefused };

// The file decoded into a top-down buffer whose padding starts out non-zero.
inline std::optional<DecodedBmp> DecodeBmp(std::span<const uint8_t> file, BmpOutcome* outcome = nullptr) {
  const std::optional<codecs::PictureShape> shape = codecs::ReadBmpShape(file);
  if (outcome) *outcome = BmpOutcome::NoShape;
  if (!shape) return std::nullopt;
  DecodedBmp d{*shape, codecs::DibStride(shape->width, shape->layout), {}};
  d.rows.assign(d.stride * size_t(shape->height), 0xEE);
  if (outcome) *outcome = BmpOutcome::DecodeRefused;
  if (!codecs::DecodeBmp(file, *shape, {d.rows.data(), ptrdiff_t(d.stride)})) return std::nullopt;
  if (outcome) *outcome = BmpOutcome::Decoded;
  return d;
}

struct BgrPicture {
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;
  std::vector<uint8_t> rows;  // top row first, padding included
  bool damaged = false;

  const uint8_t* Pixel(int32_t x, int32_t y) const { return rows.data() + y * stride + x * 3; }
};

// The picture, or nullopt when the reader refuses the file at either step.
inline std::optional<BgrPicture> DecodeJpeg(std::span<const uint8_t> file) {
  codecs::JpegReader reader(file);
  if (!reader.ReadHeader()) return std::nullopt;
  BgrPicture p{reader.Width(), reader.Height(), codecs::DibStride(reader.Width(), codecs::PixelLayout::Bits24)};
  // Padding starts out non-zero, so that a reader that leaves it shows.
  p.rows.assign(p.stride * size_t(p.height), 0xEE);
  if (!reader.Decode({p.rows.data(), ptrdiff_t(p.stride)})) return std::nullopt;
  p.damaged = reader.Damaged();
  return p;
}

// PSNR in dB over the three channels of every pixel; infinity for equal pictures.
inline double Psnr(const BgrPicture& a, const BgrPicture& b) {
  double sum = 0;
  for (int32_t y = 0; y < a.height; ++y) {
    for (int32_t x = 0; x < a.width * 3; ++x) {
      const double d = double(a.rows[y * a.stride + x]) - double(b.rows[y * b.stride + x]);
      sum += d * d;
    }
  }
  const double mse = sum / (3.0 * a.width * a.height);
  return mse == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace codec_test
