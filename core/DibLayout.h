#pragma once
// Checks the BITMAPINFO block of a device-independent bitmap that came from
// outside (a plug-in) before any of it is handed to the system: the header
// must fit the block, the sizes must be sane, the colour table must be there.
#include <cstdint>
#include <string>
#include <string_view>

namespace dib {

// Each side at most this long, and at most this many pixels in all. The side
// is the longest row of 32-bit pixels whose length in bits still fits the
// system's signed 32-bit stride arithmetic (its DIB routines refuse longer
// rows); the pixel count keeps one picture's memory within reason.
inline constexpr int32_t kMaxSide = (INT32_MAX - 31) / 32;
inline constexpr int64_t kMaxPixels = int64_t{1} << 27;

inline constexpr uint32_t kRgb = 0;        // BI_RGB
inline constexpr uint32_t kBitFields = 3;  // BI_BITFIELDS

struct Layout {
  int32_t width = 0;
  int32_t height = 0;        // as given: negative for rows from the top
  int32_t lines = 0;         // the number of rows
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t maskOffset = 0;   // the three colour masks of BI_BITFIELDS
  uint32_t colorOffset = 0;  // where the colour table starts
  uint32_t colorCount = 0;   // entries used from it (0 above 8 bits)
  uint64_t imageBytes = 0;   // the pixel rows, each padded to 4 bytes
  std::string problem;       // empty when the block can be used
};

// The layout of a BITMAPINFO block of `block.size()` bytes.
Layout CheckInfo(std::string_view block);

}  // namespace dib
