#include <gtest/gtest.h>

#include <cstdlib>

#include "PictureFixtures.h"

using namespace spi;
using namespace spi_testing;

namespace {

using Bgr = std::array<int, 3>;

TEST(WebpDecoding, LosslessAlphaIsCompositedOverWhite) {
  Pixels pixels(3, 2);
  pixels.Set(0, 0, 10, 20, 30, 255);
  pixels.Set(1, 0, 0, 0, 255, 128);
  pixels.Set(2, 0, 0, 0, 255, 0);
  pixels.Set(0, 1, 200, 100, 50, 255);
  const Dib dib = Decode(EncodeWebp(pixels, true));
  ASSERT_EQ(dib.width, 3);
  ASSERT_EQ(dib.height, 2);
  EXPECT_EQ(PixelAt(dib, 0, 0), (Bgr{10, 20, 30}));
  EXPECT_EQ(PixelAt(dib, 1, 0), (Bgr{127, 127, 255}));
  EXPECT_EQ(PixelAt(dib, 2, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(PixelAt(dib, 0, 1), (Bgr{200, 100, 50}));
}

TEST(WebpDecoding, LossyPicturesComeCloseToTheirSource) {
  const Pixels pixels = Gradient(16, 16);
  const Dib dib = Decode(EncodeWebp(pixels, false));
  ASSERT_EQ(dib.width, 16);
  ASSERT_EQ(dib.height, 16);
  long total = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const auto got = PixelAt(dib, x, y);
      for (int c = 0; c < 3; ++c) total += std::abs(got[c] - pixels.bgra[(y * 16 + x) * 4 + c]);
    }
  }
  EXPECT_LT(total / (16 * 16 * 3), 8);
}

TEST(WebpDecoding, AnAnimationShowsItsFirstFrame) {
  Pixels red(4, 3), blue(4, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) red.Set(x, y, 0, 0, 255, 255), blue.Set(x, y, 255, 0, 0, 255);
  }
  const Dib dib = Decode(EncodeAnimatedWebp({red, blue}));
  ASSERT_EQ(dib.width, 4);
  ASSERT_EQ(dib.height, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(dib, x, y), (Bgr{0, 0, 255}));
  }
}

TEST(WebpDecoding, DamagedFilesAreRefused) {
  const std::string good = EncodeWebp(Gradient(16, 16), true);
  const std::string animation = EncodeAnimatedWebp({Gradient(4, 4), Gradient(4, 4)});
  for (const std::string& file : {good.substr(0, 16), good.substr(0, good.size() / 2),
                                  animation.substr(0, animation.size() - 10)}) {
    Dib dib;
    EXPECT_EQ(DecodePicture(Bytes(file), {}, dib), kSpiBrokenData) << file.size();
  }
}

}  // namespace
