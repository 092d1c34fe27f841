#pragma once
// Pictures made by the format libraries' own encoders, for the picture
// plug-in's tests natively and under Wine.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "spi/ifpixolet/PictureDecoder.h"

namespace spi_testing {

// A picture of straight-alpha BGRA pixels, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgra;

  Pixels(int w, int h) : width(w), height(h), bgra(static_cast<size_t>(w) * h * 4, 0) {}
  uint8_t* At(int x, int y) { return bgra.data() + (static_cast<size_t>(y) * width + x) * 4; }
  void Set(int x, int y, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    uint8_t* p = At(x, y);
    p[0] = b, p[1] = g, p[2] = r, p[3] = a;
  }
};

// A picture whose every pixel differs from its neighbours: colour from the
// position, alpha 255.
Pixels Gradient(int width, int height);

std::string EncodePng(const Pixels& pixels, bool interlaced = false);
std::string EncodeWebp(const Pixels& pixels, bool lossless);
// An animation of the given frames (all of one size), each shown 100 ms.
std::string EncodeAnimatedWebp(const std::vector<Pixels>& frames);

using Rgb = std::array<uint8_t, 3>;
struct GifFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;  // top row first
  std::vector<Rgb> localPalette;  // empty: the global one
  int transparentIndex = -1;
  bool interlaced = false;
};
std::string EncodeGif(int screenWidth, int screenHeight, const std::vector<Rgb>& globalPalette,
                      const std::vector<GifFrame>& frames);

// PngSuite, from libpng's source package, as scripts/setup keeps it.
std::string PngSuiteFile(const std::string& name);
std::vector<std::string> PngSuiteNames();

inline std::span<const uint8_t> Bytes(const std::string& file) {
  return {reinterpret_cast<const uint8_t*>(file.data()), file.size()};
}

}  // namespace spi_testing

namespace spi_testing {

// Decodes with the plug-in's decoder, expecting success.
spi::Dib Decode(const std::string& file);
// Blue, green, red of a pixel, row `y` counted from the top.
std::array<int, 3> PixelAt(const spi::Dib& dib, int x, int y);

}  // namespace spi_testing
