#pragma once
// What the native decoders hand to the viewer: the shape of a device-independent
// bitmap (its size, pixel layout and colour table) and where its rows go. Every
// reader checks the shape against FitsLimits before anyone allocates the rows.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace codecs {

// Pixel layouts of a device-independent bitmap: rows of palette indices (1, 4, 8 bits),
// 16-bit x-5-5-5, 24-bit B-G-R, 32-bit B-G-R-x.
enum class PixelLayout : uint8_t { Bits1 = 1, Bits4 = 4, Bits8 = 8, Bits16 = 16, Bits24 = 24, Bits32 = 32 };

// Bytes of one row of that layout, padded to 4 bytes as in a DIB; 0 for a width
// below 1 or a row that `size_t` cannot hold.
size_t DibStride(int32_t width, PixelLayout layout);

// True when a width × height picture of that layout is one we decode: each side
// 1 … dib::kMaxSide, at most dib::kMaxPixels pixels (the limits of every
// picture the viewer holds), and all its rows addressable in a `size_t`.
bool FitsLimits(int32_t width, int32_t height, PixelLayout layout);

struct PictureShape {
  int32_t width = 0;
  int32_t height = 0;  // always positive: rows are addressed from the top
  PixelLayout layout = PixelLayout::Bits24;
  std::vector<uint32_t> palette;  // 1/4/8 bits only: entries as RGBQUAD (0x00RRGGBB), at most 2^bits
};

// Where decoded rows go: row y (0 = top) starts at first + y * step. A bottom-up
// DIB section gives its last row in memory and a negative step.
struct RowTarget {
  uint8_t* first = nullptr;
  ptrdiff_t step = 0;
};

// Rows to encode, addressed the same way.
struct ConstRowSource {
  const uint8_t* first;
  ptrdiff_t step;
};

}  // namespace codecs
