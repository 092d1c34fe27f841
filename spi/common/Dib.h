#pragma once
// A decoded picture as Susie plug-ins hand it out: a 24-bit bottom-up DIB.
// Every decoder writes its rows here top row first, whatever the source's
// pixel format; alpha is composited over one fixed background so that hosts
// which ignore a fourth byte still show the picture as intended.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace spi {

// White: what transparent pictures were made to be seen on in most cases
// (pages, documents), and what their authors checked them against.
constexpr uint8_t kBackground = 255;

#ifdef SPI_SMALL_PICTURES
// Fuzzing: the same checks at a size that keeps every run quick.
constexpr uint64_t kMaxPixels = uint64_t{1} << 20;
#else
// Far above any real picture and still within what a 32-bit process can hold
// twice (the decoder's rows and the host's copy): 64 Mpx, 192 MB as 24 bits.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;
#endif

struct Dib {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;  // rows bottom-up, each `Stride()` bytes, BGR

  size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
  // Row `y` counted from the top of the picture.
  uint8_t* Row(int32_t y) { return bits.data() + static_cast<size_t>(height - 1 - y) * Stride(); }
  const uint8_t* Row(int32_t y) const {
    return bits.data() + static_cast<size_t>(height - 1 - y) * Stride();
  }
};

// True when a picture of these sides may be decoded at all.
bool FitsLimits(int64_t width, int64_t height);
// Sizes `dib` and fills it with the background. The sides must fit the limits.
void AllocateDib(Dib& dib, int32_t width, int32_t height);
// Writes a row of `dib.width` BGRA pixels (straight alpha), composited over the background.
void PutBgraRow(Dib& dib, int32_t y, const uint8_t* bgra);
// The 40-byte BITMAPINFOHEADER that describes `dib`, little-endian.
std::array<uint8_t, 40> InfoHeader(const Dib& dib);

}  // namespace spi
