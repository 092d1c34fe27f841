#include "spi/common/Dib.h"

#include <cassert>
#include <cstring>

namespace spi {

bool FitsLimits(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= INT32_MAX / 4 && height <= INT32_MAX / 4 &&
         static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPixels;
}

void AllocateDib(Dib& dib, int32_t width, int32_t height) {
  assert(FitsLimits(width, height));
  dib.width = width;
  dib.height = height;
  dib.bits.assign(dib.Stride() * static_cast<size_t>(height), kBackground);
}

void PutBgraRow(Dib& dib, int32_t y, const uint8_t* bgra) {
  uint8_t* out = dib.Row(y);
  for (int32_t x = 0; x < dib.width; ++x, bgra += 4, out += 3) {
    const unsigned alpha = bgra[3];
    if (alpha == 255) {
      std::memcpy(out, bgra, 3);
      continue;
    }
    // Rounded to nearest; exact at alpha 0 and 255.
    for (int c = 0; c < 3; ++c) {
      out[c] = static_cast<uint8_t>((bgra[c] * alpha + kBackground * (255 - alpha) + 127) / 255);
    }
  }
}

namespace {
void Put32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
}  // namespace

std::array<uint8_t, 40> InfoHeader(const Dib& dib) {
  std::array<uint8_t, 40> header{};
  Put32(&header[0], 40);
  Put32(&header[4], static_cast<uint32_t>(dib.width));
  Put32(&header[8], static_cast<uint32_t>(dib.height));
  header[12] = 1;   // planes
  header[14] = 24;  // bits per pixel; compression BI_RGB (0), no colour table
  Put32(&header[20], static_cast<uint32_t>(dib.bits.size()));
  return header;
}

}  // namespace spi
