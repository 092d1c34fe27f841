#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <cstring>

#include "PictureFixtures.h"
#include "spi/ifpixolet/PictureDecoder.h"

using namespace spi;
using namespace spi_testing;

namespace {

// libpng's plain path without our transforms: every PNG widened to 16-bit
// RGBA rows, which this reference narrows and composites over white in
// floating point.
std::vector<std::array<int, 3>> ReferencePixels(const std::string& file, int& width, int& height) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  struct Reader {
    const std::string* file;
    size_t at;
  } reader{&file, 0};
  png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, size_t n) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(p));
    std::memcpy(out, r->file->data() + r->at, n);
    r->at += n;
  });
  png_read_info(png, info);
  width = static_cast<int>(png_get_image_width(png, info));
  height = static_cast<int>(png_get_image_height(png, info));
  png_set_expand_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
  png_set_swap(png);  // host byte order
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  std::vector<uint16_t> rgba(static_cast<size_t>(width) * height * 4);
  std::vector<png_bytep> rows;
  for (int y = 0; y < height; ++y) rows.push_back(reinterpret_cast<png_bytep>(&rgba[size_t(y) * width * 4]));
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  std::vector<std::array<int, 3>> bgr;
  for (size_t i = 0; i < rgba.size(); i += 4) {
    const double alpha = rgba[i + 3] / 65535.0;
    auto channel = [&](int c) {
      return static_cast<int>(std::lround(rgba[i + c] / 65535.0 * 255.0 * alpha + 255.0 * (1 - alpha)));
    };
    bgr.push_back({channel(2), channel(1), channel(0)});
  }
  return bgr;
}

TEST(PngSuite, EveryFileDecodesToLibpngsOwnPixelsOverWhite) {
  const auto names = PngSuiteNames();
  ASSERT_FALSE(names.empty());
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    const std::string file = PngSuiteFile(name);
    int width = 0, height = 0;
    const auto reference = ReferencePixels(file, width, height);
    const Dib dib = Decode(file);
    ASSERT_EQ(dib.width, width);
    ASSERT_EQ(dib.height, height);
    int worst = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const auto got = PixelAt(dib, x, y);
        for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(got[c] - reference[size_t(y) * width + x][c]));
      }
    }
    EXPECT_LE(worst, 1);  // two roundings: 16 to 8 bits, then the blend
  }
}

TEST(PngSuite, InterlacedFilesDecodeToTheSamePixelsAsTheirTwins) {
  int pairs = 0;
  for (const auto& name : PngSuiteNames()) {
    if (name[0] != 'i') continue;
    SCOPED_TRACE(name);
    EXPECT_EQ(Decode(PngSuiteFile(name)).bits, Decode(PngSuiteFile(name.substr(1))).bits);
    ++pairs;
  }
  EXPECT_GT(pairs, 0);
}

TEST(PngDecoding, AlphaIsCompositedOverWhite) {
  Pixels pixels(4, 1);
  pixels.Set(0, 0, 0, 0, 255, 255);  // opaque red
  pixels.Set(1, 0, 0, 0, 255, 128);  // half red
  pixels.Set(2, 0, 0, 0, 255, 0);    // invisible red
  pixels.Set(3, 0, 40, 80, 120, 51);  // a fifth of a dark colour
  for (const bool interlaced : {false, true}) {
    const Dib dib = Decode(EncodePng(pixels, interlaced));
    EXPECT_EQ(PixelAt(dib, 0, 0), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(PixelAt(dib, 1, 0), (std::array<int, 3>{127, 127, 255}));
    EXPECT_EQ(PixelAt(dib, 2, 0), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(PixelAt(dib, 3, 0), (std::array<int, 3>{212, 220, 228}));
  }
}

TEST(PngDecoding, RowsComeOutBottomUpInFourByteAlignedStrides) {
  const Pixels pixels = Gradient(5, 3);
  const Dib dib = Decode(EncodePng(pixels));
  EXPECT_EQ(dib.Stride(), 16u);
  ASSERT_EQ(dib.bits.size(), 48u);
  // The file's top row is the DIB's last.
  EXPECT_EQ(std::memcmp(dib.bits.data() + 32, pixels.bgra.data(), 3), 0);
  EXPECT_EQ(std::memcmp(dib.bits.data(), pixels.bgra.data() + 2 * 5 * 4, 3), 0);
}

// A PNG chunk with its length and CRC.
std::string Chunk(const std::string& type, const std::string& data) {
  auto word = [](uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  const std::string body = type + data;
  const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return word(static_cast<uint32_t>(data.size())) + body + word(crc);
}

std::string Ihdr(uint32_t width, uint32_t height) {
  std::string data;
  for (const uint32_t v : {width, height}) data += std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  data += std::string("\x08\x06\x00\x00\x00", 5);
  return Chunk("IHDR", data);
}

TEST(PngDecoding, DamagedOrOversizedFilesAreRefusedWithTheirReason) {
  const std::string good = PngSuiteFile("basn6a16.png");
  const std::string signature = good.substr(0, 8);
  std::string badCrc = good;
  badCrc[29] ^= 1;  // last byte of IHDR's CRC
  struct Case {
    const char* what;
    std::string file;
    SpiResult result;
  };
  const Case cases[] = {
      {"signature alone", signature, kSpiBrokenData},
      {"cut inside the pixel data", good.substr(0, good.size() / 2), kSpiBrokenData},
      {"header CRC wrong", badCrc, kSpiBrokenData},
      {"no pixel data", signature + Ihdr(4, 4) + Chunk("IEND", ""), kSpiBrokenData},
      {"zero width", signature + Ihdr(0, 4) + Chunk("IEND", ""), kSpiBrokenData},
      {"100000 x 100000", signature + Ihdr(100000, 100000) + Chunk("IDAT", "") + Chunk("IEND", ""), kSpiNoMemory},
      {"not a PNG", "\x89PNX" + good.substr(4), kSpiUnknownFormat},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dib dib;
    EXPECT_EQ(DecodePicture(Bytes(c.file), {}, dib), c.result);
  }
}

}  // namespace
