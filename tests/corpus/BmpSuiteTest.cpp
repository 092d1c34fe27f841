// The BMP reader on the public BMP test suite: the good files decode to the
// pixels of the suite's reference renderings, the broken ones are refused,
// the questionable ones are either refused or decoded soundly.
#include <png.h>

#include <array>
#include <cstdlib>
#include <map>
#include <set>
#include <string_view>

#include "corpus/Corpus.h"
#include "native/CodecSupport.h"

namespace {

using codec_test::DecodedBmp;
using codecs::PixelLayout;

struct Reference {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;
};

Reference ReadPng(const std::filesystem::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Reference r;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << path << ": " << image.message;
    return r;
  }
  image.format = PNG_FORMAT_RGBA;
  r.width = int32_t(image.width);
  r.height = int32_t(image.height);
  r.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, r.rgba.data(), 0, nullptr)) ADD_FAILURE() << path << ": " << image.message;
  return r;
}

uint8_t Scale5(unsigned v) { return uint8_t((v * 255 + 15) / 31); }

// The R, G, B of pixel x of a decoded row, through the palette for indexed layouts.
std::array<uint8_t, 3> ColourAt(const codecs::PictureShape& shape, const uint8_t* row, int32_t x) {
  const int bits = int(shape.layout);
  if (bits <= 8) {
    const int perByte = 8 / bits;
    const unsigned index = row[x / perByte] >> (8 - bits * (x % perByte + 1)) & ((1u << bits) - 1);
    const uint32_t c = shape.palette.at(index);
    return {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
  }
  if (shape.layout == PixelLayout::Bits16) {
    const unsigned v = row[2 * x] | row[2 * x + 1] << 8;
    return {Scale5(v >> 10 & 31), Scale5(v >> 5 & 31), Scale5(v & 31)};
  }
  const uint8_t* p = row + x * (bits / 8);
  return {p[2], p[1], p[0]};
}

// Every pixel of the decoded picture against an opaque reference, each channel
// within `tolerance`.
void ExpectPixels(const DecodedBmp& d, const Reference& ref, const std::string& what, int tolerance) {
  ASSERT_EQ(d.shape.width, ref.width) << what;
  ASSERT_EQ(d.shape.height, ref.height) << what;
  int wrong = 0;
  for (int32_t y = 0; y < ref.height; ++y) {
    for (int32_t x = 0; x < ref.width; ++x) {
      const uint8_t* want = &ref.rgba[(size_t(y) * ref.width + x) * 4];
      const std::array<uint8_t, 3> got = ColourAt(d.shape, d.Row(y), x);
      const bool near = std::abs(got[0] - want[0]) <= tolerance && std::abs(got[1] - want[1]) <= tolerance &&
                        std::abs(got[2] - want[2]) <= tolerance;
      if (!near && ++wrong <= 3) {
        ADD_FAILURE() << what << " (" << x << ", " << y << "): " << int(got[0]) << "," << int(got[1]) << ","
                      << int(got[2]) << " instead of " << int(want[0]) << "," << int(want[1]) << "," << int(want[2]);
      }
    }
  }
  EXPECT_EQ(wrong, 0) << what;
}

struct Expected {
  const char* file;
  const char* reference;  // in html/, as the suite's own page pairs them
  PixelLayout layout;
};

// Where a reference rounds differently from the file, by one level: the
// suite's 8-bit palette has levels such as 42.5, which its files round up (43)
// and its renderings down (42); the 11-bit red 1690 of rgb32-111110 is 210.53
// of 255, rounded here and truncated there.
int Tolerance(const Expected& e) {
  return std::string_view(e.reference).starts_with("pal8") || std::string_view(e.file) == "q/rgb32-111110.bmp";
}

void ExpectDecodesLike(const Expected& e) {
  const std::optional<DecodedBmp> d = codec_test::DecodeBmp(corpus::ReadFile(corpus::Dir() / "bmpsuite" / e.file));
  ASSERT_TRUE(d) << e.file;
  EXPECT_EQ(d->shape.layout, e.layout) << e.file;
  ExpectPixels(*d, ReadPng(corpus::Dir() / "bmpsuite/html" / e.reference), e.file, Tolerance(e));
}

class BmpSuite : public corpus::CorpusTest {};

TEST_F(BmpSuite, GoodFilesShowTheirReferencePixelsInTheirOwnLayout) {
  const Expected cases[] = {
      {"g/pal1.bmp", "pal1.png", PixelLayout::Bits1},
      {"g/pal1wb.bmp", "pal1.png", PixelLayout::Bits1},
      {"g/pal1bg.bmp", "pal1bg.png", PixelLayout::Bits1},
      {"g/pal4.bmp", "pal4.png", PixelLayout::Bits4},
      {"g/pal4rle.bmp", "pal4.png", PixelLayout::Bits4},
      {"g/pal8.bmp", "pal8.png", PixelLayout::Bits8},
      {"g/pal8-0.bmp", "pal8.png", PixelLayout::Bits8},
      {"g/pal8rle.bmp", "pal8.png", PixelLayout::Bits8},
      {"g/pal8w126.bmp", "pal8w126.png", PixelLayout::Bits8},
      {"g/pal8w125.bmp", "pal8w125.png", PixelLayout::Bits8},
      {"g/pal8w124.bmp", "pal8w124.png", PixelLayout::Bits8},
      {"g/pal8topdown.bmp", "pal8.png", PixelLayout::Bits8},
      {"g/pal8nonsquare.bmp", "pal8nonsquare-e.png", PixelLayout::Bits8},
      {"g/pal8os2.bmp", "pal8.png", PixelLayout::Bits8},
      {"g/pal8v4.bmp", "pal8.png", PixelLayout::Bits8},
      {"g/pal8v5.bmp", "pal8.png", PixelLayout::Bits8},
      {"g/rgb16.bmp", "rgb16.png", PixelLayout::Bits16},
      {"g/rgb16-565.bmp", "rgb16-565.png", PixelLayout::Bits24},
      {"g/rgb16-565pal.bmp", "rgb16-565.png", PixelLayout::Bits24},
      {"g/rgb24.bmp", "rgb24.png", PixelLayout::Bits24},
      {"g/rgb24pal.bmp", "rgb24.png", PixelLayout::Bits24},
      {"g/rgb32.bmp", "rgb24.png", PixelLayout::Bits32},
      {"g/rgb32bf.bmp", "rgb24.png", PixelLayout::Bits32},
  };
  for (const Expected& e : cases) ExpectDecodesLike(e);
  // Every file of g/ is in the table above.
  std::set<std::string> listed;
  for (const Expected& e : cases) listed.insert(e.file);
  for (const auto& path : corpus::FilesIn("bmpsuite/g", ".bmp")) {
    EXPECT_TRUE(listed.count("g/" + path.filename().string())) << path << " has no reference here";
  }
}

TEST_F(BmpSuite, BrokenFilesAreRefused) {
  // Pixels-per-metre are unused here (no picture is stretched by them), so an
  // absurd density is no reason to refuse a picture that is otherwise whole.
  const std::set<std::string> harmless = {"baddens1.bmp", "baddens2.bmp"};
  for (const auto& path : corpus::FilesIn("bmpsuite/b", ".bmp")) {
    if (harmless.count(path.filename().string())) continue;
    codec_test::BmpOutcome outcome;
    EXPECT_FALSE(codec_test::DecodeBmp(corpus::ReadFile(path), &outcome)) << path;
  }
  for (const std::string& name : harmless) ExpectDecodesLike({("b/" + name).c_str(), "pal1.png", PixelLayout::Bits1});
}

TEST_F(BmpSuite, QuestionableFilesAreRefusedOrShownSoundly) {
  // Files whose suite page shows one exact rendering (skipped pixels of the
  // run-length files: index 0, as this reader leaves them).
  const Expected exact[] = {
      {"q/pal1p1.bmp", "pal1p1.png", PixelLayout::Bits1},
      {"q/pal4rletrns.bmp", "pal4rletrns-0.png", PixelLayout::Bits4},
      {"q/pal8rletrns.bmp", "pal8rletrns-0.png", PixelLayout::Bits8},
      {"q/pal8offs.bmp", "pal8.png", PixelLayout::Bits8},
      {"q/pal8oversizepal.bmp", "pal8.png", PixelLayout::Bits8},
      {"q/pal8os2sp.bmp", "pal8.png", PixelLayout::Bits8},
      {"q/pal8os2v2.bmp", "pal8.png", PixelLayout::Bits8},
      {"q/pal8os2v2-16.bmp", "pal8.png", PixelLayout::Bits8},
      {"q/rgb16-231.bmp", "rgb16-231.png", PixelLayout::Bits24},
      {"q/rgb24largepal.bmp", "rgb24.png", PixelLayout::Bits24},
      {"q/rgb24prof.bmp", "rgb24.png", PixelLayout::Bits24},
      {"q/rgb24lprof.bmp", "rgb24.png", PixelLayout::Bits24},
      {"q/rgb32fakealpha.bmp", "rgb24.png", PixelLayout::Bits32},
      {"q/rgb32-111110.bmp", "rgb24.png", PixelLayout::Bits32},
      {"q/rgb32bf-xbgr.bmp", "rgb24.png", PixelLayout::Bits32},
  };
  std::map<std::string, Expected> byName;
  for (const Expected& e : exact) byName.emplace(e.file, e);
  for (const auto& path : corpus::FilesIn("bmpsuite/q", ".bmp")) {
    const std::vector<uint8_t> file = corpus::ReadFile(path);
    const std::optional<DecodedBmp> d = codec_test::DecodeBmp(file);
    if (!d) continue;
    const std::string name = "q/" + path.filename().string();
    EXPECT_EQ(d->shape.width, 127) << name;
    EXPECT_EQ(d->shape.height, 64) << name;
    const int bits = int(d->shape.layout);
    EXPECT_EQ(d->shape.palette.empty(), bits > 8) << name;
    EXPECT_LE(d->shape.palette.size(), bits > 8 ? 0u : 1u << bits) << name;
    const auto e = byName.find(name);
    if (e != byName.end()) ExpectDecodesLike(e->second);
  }
}

TEST_F(BmpSuite, OddWidthPhotographsDecode) {
  for (const auto& path : corpus::FilesIn("libjpeg-turbo", ".bmp")) {
    const std::optional<DecodedBmp> d = codec_test::DecodeBmp(corpus::ReadFile(path));
    ASSERT_TRUE(d) << path;
    EXPECT_EQ(d->shape.layout, PixelLayout::Bits24) << path;
  }
}

}  // namespace
