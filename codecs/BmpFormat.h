#pragma once
// How a BMP file stores its picture, read from its headers: where the pixels
// are, how they are coded, and the DIB the reader turns them into. Only what
// passed every check against the file's size comes out of ParseBmp.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "codecs/Picture.h"

namespace codecs::bmp {

enum class Coding : uint8_t {
  Plain,      // rows copied as they are (palette indices, x555, B-G-R, B-G-R-x)
  BitFields,  // 16- or 32-bit pixels whose colour masks the DIB layout cannot hold
  Rle8,
  Rle4,
};

struct Format {
  PictureShape shape;
  Coding coding = Coding::Plain;
  uint16_t bitCount = 0;                 // bits of one stored pixel
  std::array<uint32_t, 3> masks{};       // red, green, blue; BitFields only
  bool topDown = false;                  // rows stored from the top
  std::span<const uint8_t> pixels;       // the pixel data, within the file
};

std::optional<Format> ParseBmp(std::span<const uint8_t> file);

inline uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace codecs::bmp
