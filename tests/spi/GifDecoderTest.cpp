#include <gtest/gtest.h>

#include "PictureFixtures.h"

using namespace spi;
using namespace spi_testing;

namespace {

using Bgr = std::array<int, 3>;
const Bgr kWhite{255, 255, 255}, kBlack{0, 0, 0};
const std::vector<Rgb> kGlobal = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

// A 3 x 2 frame at (1, 1) on a 6 x 5 screen with its own palette and index 1
// transparent, followed by a frame that would paint everything blue.
std::string FramedGif(bool interlaced) {
  GifFrame first{1, 1, 3, 2, {0, 1, 2, 2, 0, 1}, {{255, 255, 0}, {0, 255, 255}, {255, 0, 255}}, 1, interlaced};
  GifFrame second{0, 0, 6, 5, std::vector<uint8_t>(30, 3)};
  return EncodeGif(6, 5, kGlobal, {first, second});
}

TEST(GifDecoding, TheFirstFrameIsDrawnWithItsPaletteAndTransparencyOnAWhiteScreen) {
  for (const bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced);
    const Dib dib = Decode(FramedGif(interlaced));
    ASSERT_EQ(dib.width, 6);
    ASSERT_EQ(dib.height, 5);
    const Bgr yellow{0, 255, 255}, magenta{255, 0, 255};
    const Bgr expected[5][6] = {
        {kWhite, kWhite, kWhite, kWhite, kWhite, kWhite},
        {kWhite, yellow, kWhite, magenta, kWhite, kWhite},
        {kWhite, magenta, yellow, kWhite, kWhite, kWhite},
        {kWhite, kWhite, kWhite, kWhite, kWhite, kWhite},
        {kWhite, kWhite, kWhite, kWhite, kWhite, kWhite},
    };
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(dib, x, y), expected[y][x]) << x << "," << y;
    }
  }
}

TEST(GifDecoding, InterlacedRowsLandWhereProgressiveOnesDo) {
  GifFrame frame{0, 0, 3, 19, {}};
  for (int i = 0; i < 3 * 19; ++i) frame.indices.push_back(uint8_t(i / 3 % 4));
  const Dib progressive = Decode(EncodeGif(3, 19, kGlobal, {frame}));
  frame.interlaced = true;
  const Dib interlaced = Decode(EncodeGif(3, 19, kGlobal, {frame}));
  EXPECT_EQ(interlaced.bits, progressive.bits);
  EXPECT_EQ(PixelAt(interlaced, 0, 17), (Bgr{0, 0, 255}));  // row 17: index 1, red
}

TEST(GifDecoding, AScreenTooSmallForItsFrameGrowsToHoldIt) {
  const Dib dib = Decode(EncodeGif(2, 2, kGlobal, {GifFrame{1, 1, 3, 3, std::vector<uint8_t>(9, 3)}}));
  EXPECT_EQ(dib.width, 4);
  EXPECT_EQ(dib.height, 4);
  EXPECT_EQ(PixelAt(dib, 3, 3), (Bgr{255, 0, 0}));
  EXPECT_EQ(PixelAt(dib, 0, 0), kWhite);
}

TEST(GifDecoding, IndicesBeyondAShortPaletteAreBlackAndNoPaletteMeansGrey) {
  const std::vector<Rgb> two = {{10, 20, 30}, {40, 50, 60}};
  const Dib shortMap = Decode(EncodeGif(1, 1, two, {GifFrame{0, 0, 1, 1, {3}}}));
  EXPECT_EQ(PixelAt(shortMap, 0, 0), kBlack);
  // giflib will not write a file without any palette: a 1 x 1 one by hand,
  // its pixel index 200 in 9-bit codes (clear, 200, end).
  const std::string noPalette("GIF89a\1\0\1\0\0\0\0" ",\0\0\0\0\1\0\1\0\0" "\x08\x04\x00\x91\x05\x04\0;", 31);
  const Dib noMap = Decode(noPalette);
  EXPECT_EQ(PixelAt(noMap, 0, 0), (Bgr{200, 200, 200}));
}

TEST(GifDecoding, DamagedFilesAreRefused) {
  const std::string good = FramedGif(false);
  const std::string screenOnly = EncodeGif(4, 4, kGlobal, {});
  for (const std::string& file : {good.substr(0, 6), good.substr(0, good.size() / 2), screenOnly}) {
    Dib dib;
    EXPECT_EQ(DecodePicture(Bytes(file), {}, dib), kSpiBrokenData) << file.size();
  }
}

}  // namespace
