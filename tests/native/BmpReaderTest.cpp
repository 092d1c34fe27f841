// Hand-made BMP files for what the public test suite lacks: core headers,
// run-length codes, top-down rows, masks, short and implied palettes, and
// headers that lie about sizes.
#include "codecs/BmpReader.h"
#include "core/DibLayout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "native/CodecSupport.h"

namespace {

using codecs::PixelLayout;

struct BmpSpec {
  uint32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  uint16_t planes = 1;
  std::vector<uint32_t> masks;    // after a 40-byte header, inside a larger one
  std::vector<uint32_t> palette;  // 0x00RRGGBB; 3 bytes each after a core header
  std::vector<uint8_t> pixels;
};

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = uint8_t(v);
  out[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

std::vector<uint8_t> MakeBmp(const BmpSpec& s) {
  const bool core = s.headerSize == 12;
  const size_t masksAfter = s.headerSize == 40 ? 4 * s.masks.size() : 0;
  const size_t entry = core ? 3 : 4;
  const size_t offset = 14 + s.headerSize + masksAfter + entry * s.palette.size();
  std::vector<uint8_t> out(offset);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, uint32_t(offset + s.pixels.size()));
  Put32(out, 10, uint32_t(offset));
  Put32(out, 14, s.headerSize);
  if (core) {
    Put16(out, 18, uint32_t(s.width));
    Put16(out, 20, uint32_t(s.height));
    Put16(out, 22, s.planes);
    Put16(out, 24, s.bits);
  } else {
    Put32(out, 18, uint32_t(s.width));
    Put32(out, 22, uint32_t(s.height));
    Put16(out, 26, s.planes);
    Put16(out, 28, s.bits);
    if (s.headerSize >= 40) {
      Put32(out, 30, s.compression);
      Put32(out, 46, s.colorsUsed);
    }
  }
  // Masks follow a 40-byte header or sit at the same place inside a larger one.
  size_t at = 54;
  for (uint32_t mask : s.masks) Put32(out, (at += 4) - 4, mask);
  at = 14 + s.headerSize + masksAfter;
  for (uint32_t colour : s.palette) {
    out[at] = uint8_t(colour);
    out[at + 1] = uint8_t(colour >> 8);
    out[at + 2] = uint8_t(colour >> 16);
    at += entry;
  }
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  return out;
}

using codec_test::DecodedBmp;

std::optional<DecodedBmp> Decode(const std::vector<uint8_t>& file, std::string* failure = nullptr) {
  codec_test::BmpOutcome outcome;
  std::optional<DecodedBmp> d = codec_test::DecodeBmp(file, &outcome);
  if (failure) *failure = outcome == codec_test::BmpOutcome::NoShape ? "no shape" : "decode refused";
  return d;
}

using Rows = std::vector<std::vector<uint8_t>>;

TEST(BmpReader, DibStrideIsPaddedRowBytes) {
  EXPECT_EQ(codecs::DibStride(1, PixelLayout::Bits1), 4u);
  EXPECT_EQ(codecs::DibStride(33, PixelLayout::Bits1), 8u);
  EXPECT_EQ(codecs::DibStride(9, PixelLayout::Bits4), 8u);
  EXPECT_EQ(codecs::DibStride(5, PixelLayout::Bits8), 8u);
  EXPECT_EQ(codecs::DibStride(3, PixelLayout::Bits16), 8u);
  EXPECT_EQ(codecs::DibStride(3, PixelLayout::Bits24), 12u);
  EXPECT_EQ(codecs::DibStride(0, PixelLayout::Bits24), 0u);
  EXPECT_EQ(codecs::DibStride(-4, PixelLayout::Bits24), 0u);
  // 4 × (2^31 − 1) bytes: more than a 32-bit size_t holds.
  EXPECT_EQ(uint64_t{codecs::DibStride(INT32_MAX, PixelLayout::Bits32)}, sizeof(size_t) == 4 ? 0 : 8589934588u);
}

TEST(BmpReader, CoreHeaderReadsThreeBytePaletteEntries) {
  BmpSpec s;
  s.headerSize = 12;
  s.width = 3;
  s.height = 2;
  s.bits = 8;
  s.palette = {0x102030, 0x405060, 0x708090};
  s.pixels = {2, 1, 0, 0, /* top */ 0, 1, 2, 0};
  const std::optional<DecodedBmp> d = Decode(MakeBmp(s));
  ASSERT_TRUE(d);
  EXPECT_EQ(d->shape.layout, PixelLayout::Bits8);
  EXPECT_EQ(d->shape.palette, s.palette);
  EXPECT_EQ(d->Rows(4), (Rows{{0, 1, 2, 0}, {2, 1, 0, 0}}));
}

TEST(BmpReader, PaletteSizes) {
  struct Case {
    const char* what;
    uint16_t bits;
    uint32_t colorsUsed;
    size_t written;  // entries in the file
    size_t expected;
  };
  const Case cases[] = {
      {"colours used 0 means a full table", 8, 0, 256, 256},
      {"short table", 8, 3, 3, 3},
      {"1-bit, full", 1, 0, 2, 2},
      {"more colours used than the depth holds: the first ones", 4, 20, 20, 16},
      {"colours used 0 with a table cut short by the pixel offset", 4, 0, 5, 5},
  };
  for (const Case& c : cases) {
    BmpSpec s;
    s.bits = c.bits;
    s.colorsUsed = c.colorsUsed;
    for (size_t i = 0; i < c.written; ++i) s.palette.push_back(uint32_t(i * 0x010101));
    s.pixels = {0, 0, 0, 0};
    const std::optional<DecodedBmp> d = Decode(MakeBmp(s));
    ASSERT_TRUE(d) << c.what;
    EXPECT_EQ(d->shape.palette.size(), c.expected) << c.what;
    EXPECT_EQ(d->shape.palette.back(), (c.expected - 1) * 0x010101) << c.what;
  }
}

TEST(BmpReader, IndexBeyondAShortPaletteIsRefused) {
  BmpSpec s;
  s.width = 4;
  s.bits = 8;
  s.colorsUsed = 3;
  s.palette = {0, 1, 2};
  s.pixels = {0, 1, 2, 2};
  EXPECT_TRUE(Decode(MakeBmp(s)));
  s.pixels = {0, 1, 3, 2};
  EXPECT_FALSE(Decode(MakeBmp(s)));
  // Padding bits after the last pixel are no pixels.
  s.bits = 1;
  s.width = 7;
  s.colorsUsed = 1;
  s.palette = {0};
  s.pixels = {0x01, 0, 0, 0};
  EXPECT_TRUE(Decode(MakeBmp(s)));
  s.pixels = {0x02, 0, 0, 0};
  EXPECT_FALSE(Decode(MakeBmp(s)));
}

TEST(BmpReader, RowOrderAndPadding) {
  // 24-bit, 1 pixel wide, 2 rows; top-down when the height is negative.
  BmpSpec s;
  s.height = -2;
  s.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
  std::optional<DecodedBmp> d = Decode(MakeBmp(s));
  ASSERT_TRUE(d);
  EXPECT_EQ(d->shape.height, 2);
  EXPECT_EQ(d->Rows(4), (Rows{{1, 2, 3, 0}, {4, 5, 6, 0}}));
  s.height = 2;
  d = Decode(MakeBmp(s));
  ASSERT_TRUE(d);
  EXPECT_EQ(d->Rows(4), (Rows{{4, 5, 6, 0}, {1, 2, 3, 0}}));
}

TEST(BmpReader, WritesBottomUpTargetsThroughANegativeStep) {
  BmpSpec s;
  s.bits = 8;
  s.height = 3;
  s.palette = {0, 0, 0};
  s.pixels = {0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
  const std::vector<uint8_t> file = MakeBmp(s);
  const std::optional<codecs::PictureShape> shape = codecs::ReadBmpShape(file);
  ASSERT_TRUE(shape);
  std::vector<uint8_t> dib(12, 0xEE);  // in memory as a bottom-up DIB: last row first
  ASSERT_TRUE(codecs::DecodeBmp(file, *shape, {dib.data() + 8, -4}));
  EXPECT_EQ(dib, std::vector<uint8_t>(s.pixels));
}

TEST(BmpReader, MasksChooseTheLayout) {
  struct Case {
    const char* what;
    uint16_t bits;
    uint32_t headerSize;
    std::vector<uint32_t> masks;
    std::vector<uint8_t> pixel;  // one pixel, padded
    PixelLayout layout;
    std::vector<uint8_t> out;    // the decoded pixel
  };
  const Case cases[] = {
      {"565 white", 16, 40, {0xF800, 0x07E0, 0x001F}, {0xFF, 0xFF, 0, 0}, PixelLayout::Bits24, {255, 255, 255}},
      // 5 bits of 1 → (255 + 15) / 31 = 8, 6 bits of 1 → (255 + 31) / 63 = 4, 5 bits of 30 → 247.
      {"565 scaled per channel", 16, 40, {0xF800, 0x07E0, 0x001F}, {0x3E, 0x08, 0, 0}, PixelLayout::Bits24,
       {247, 4, 8}},
      {"x555 masks stay 16-bit", 16, 40, {0x7C00, 0x03E0, 0x001F}, {0x34, 0x12, 0, 0}, PixelLayout::Bits16,
       {0x34, 0x12}},
      {"plain 16-bit is x555", 16, 40, {}, {0x34, 0x12, 0, 0}, PixelLayout::Bits16, {0x34, 0x12}},
      {"masks inside a V5 header", 16, 124, {0x0F00, 0x00F0, 0x000F}, {0x5F, 0x0A, 0, 0}, PixelLayout::Bits24,
       {255, 85, 170}},
      {"B-G-R-x masks stay 32-bit", 32, 40, {0xFF0000, 0xFF00, 0xFF}, {1, 2, 3, 4}, PixelLayout::Bits32,
       {1, 2, 3, 4}},
      {"32-bit channels in another order", 32, 40, {0xFF, 0xFF00, 0xFF0000}, {1, 2, 3, 4}, PixelLayout::Bits32,
       {3, 2, 1, 0}},
      {"a zero mask gives 0", 32, 40, {0xFF0000, 0, 0xFF}, {1, 2, 3, 4}, PixelLayout::Bits32, {1, 0, 3, 0}},
  };
  for (const Case& c : cases) {
    BmpSpec s;
    s.bits = c.bits;
    s.headerSize = c.headerSize;
    s.compression = c.masks.empty() ? 0 : 3;
    s.masks = c.masks;
    s.pixels = c.pixel;
    const std::optional<DecodedBmp> d = Decode(MakeBmp(s));
    ASSERT_TRUE(d) << c.what;
    EXPECT_EQ(d->shape.layout, c.layout) << c.what;
    EXPECT_EQ(d->Rows(c.out.size()), Rows{c.out}) << c.what;
    if (d->stride > c.out.size()) {
      EXPECT_EQ(d->Row(0)[d->stride - 1], 0) << c.what << ": padding zeroed";
    }
  }
}

TEST(BmpReader, RunLengthCodes) {
  struct Case {
    const char* what;
    uint16_t bits;
    int32_t width, height;
    std::vector<uint8_t> stream;
    Rows rows;  // top first, the first width bytes (8-bit) or (width + 1) / 2 bytes (4-bit)
  };
  const Case cases[] = {
      {"RLE8 runs and a literal", 8, 5, 1, {2, 7, 0, 3, 1, 2, 3, 0, 0, 1}, {{7, 7, 1, 2, 3}}},
      {"RLE8 end of row leaves the rest 0", 8, 3, 2, {1, 5, 0, 0, 3, 6, 0, 1}, {{6, 6, 6}, {5, 0, 0}}},
      {"RLE8 delta skips right and up", 8, 3, 3, {1, 4, 0, 2, 1, 2, 1, 9, 0, 1}, {{0, 0, 9}, {0, 0, 0}, {4, 0, 0}}},
      {"RLE8 without an end code after the last row", 8, 2, 1, {2, 3}, {{3, 3}}},
      {"RLE4 run alternates its two colours", 4, 5, 1, {5, 0x12, 0, 1}, {{0x12, 0x12, 0x10}}},
      {"RLE4 odd literal padded to a word", 4, 4, 1, {0, 3, 0x34, 0x50, 1, 0x70, 0, 1}, {{0x34, 0x57}}},
      {"RLE4 delta", 4, 4, 2, {0, 2, 3, 1, 1, 0xA0, 0, 1}, {{0x00, 0x0A}, {0x00, 0x00}}},
  };
  for (const Case& c : cases) {
    BmpSpec s;
    s.bits = c.bits;
    s.compression = c.bits == 8 ? 1 : 2;
    s.width = c.width;
    s.height = c.height;
    s.palette.assign(size_t{1} << c.bits, 0);
    s.pixels = c.stream;
    std::string failure;
    const std::optional<DecodedBmp> d = Decode(MakeBmp(s), &failure);
    ASSERT_TRUE(d) << c.what << ": " << failure;
    const size_t bytes = c.bits == 8 ? size_t(c.width) : size_t(c.width + 1) / 2;
    EXPECT_EQ(d->Rows(bytes), c.rows) << c.what;
  }
}

TEST(BmpReader, BadFilesAreRefused) {
  BmpSpec rle8;
  rle8.bits = 8;
  rle8.compression = 1;
  rle8.width = 4;
  rle8.height = 2;
  rle8.palette.assign(256, 0);
  auto rle = [&](std::vector<uint8_t> stream, int32_t height = 2, uint16_t bits = 8) {
    BmpSpec s = rle8;
    s.pixels = std::move(stream);
    s.height = height;
    s.bits = bits;
    s.compression = bits == 8 ? 1 : 2;
    if (bits == 4) s.palette.resize(16);
    return MakeBmp(s);
  };
  BmpSpec plain;
  plain.width = 2;
  plain.height = 2;
  plain.pixels.assign(16, 0);
  auto with = [&](auto change) {
    BmpSpec s = plain;
    change(s);
    return MakeBmp(s);
  };
  auto patched = [](std::vector<uint8_t> file, size_t at, uint32_t value) {
    Put32(file, at, value);
    return file;
  };
  const std::vector<uint8_t> good = MakeBmp(plain);
  std::vector<uint8_t> cut = good;
  cut.resize(cut.size() - 7);
  std::vector<uint8_t> notBmp = good;
  notBmp[0] = 'P';

  struct Case {
    const char* what;
    std::vector<uint8_t> file;
  };
  const Case cases[] = {
      {"run past the row end", rle({5, 1, 0, 1})},
      {"literal past the row end", rle({0, 5, 1, 2, 3, 4, 5, 0, 0, 1})},
      {"RLE4 run past the row end", rle({5, 0x11, 0, 1}, 2, 4)},
      {"delta past the picture", rle({0, 2, 0, 3, 0, 1})},
      {"pixels after the last row", rle({0, 0, 0, 0, 1, 1, 0, 1})},
      {"literal cut short", rle({0, 4, 1, 2})},
      {"stream ends before the last row", rle({4, 1, 0, 0})},
      {"run-length rows stored top-down", rle({0, 1}, -2)},
      {"run-length with the wrong depth", rle({0, 1}, 2, 24)},
      {"empty file", {}},
      {"not a BMP", notBmp},
      {"rows cut short", cut},
      {"file size beyond the file", patched(good, 2, uint32_t(good.size() + 1))},
      {"pixel offset beyond the file", patched(good, 10, uint32_t(good.size()))},
      {"pixel offset beyond the file that holds part of a full palette",
       patched(MakeBmp({.bits = 8, .palette = {0, 0}, .pixels = {0, 0, 0, 0}}), 10, 5000)},
      {"pixel offset inside the header", patched(good, 10, 20)},
      {"image size beyond the file", patched(good, 34, 17)},
      {"zero width", with([](BmpSpec& s) { s.width = 0; })},
      {"negative width", with([](BmpSpec& s) { s.width = -2; })},
      {"zero height", with([](BmpSpec& s) { s.height = 0; })},
      {"two planes", with([](BmpSpec& s) { s.planes = 2; })},
      {"unknown header size", with([](BmpSpec& s) { s.headerSize = 44; })},
      {"2 bits per pixel", with([](BmpSpec& s) { s.bits = 2; s.palette = {0, 0, 0, 0}; })},
      {"indexed without a palette", with([](BmpSpec& s) { s.bits = 8; })},
      {"huge colours-used count", with([](BmpSpec& s) { s.bits = 8; s.colorsUsed = 0x12345678; s.palette = {0}; })},
      {"embedded JPEG", with([](BmpSpec& s) { s.compression = 4; })},
      {"overlapping masks", with([](BmpSpec& s) { s.bits = 16; s.compression = 3; s.masks = {0xF800, 0x0FE0, 0x1F}; })},
      {"scattered mask", with([](BmpSpec& s) { s.bits = 16; s.compression = 3; s.masks = {0xF000, 0x0A00, 0xFF}; })},
      {"16-bit mask beyond 16 bits", with([](BmpSpec& s) { s.bits = 16; s.compression = 3; s.masks = {0x10000, 0xE0, 0x1F}; })},
      {"all masks zero", with([](BmpSpec& s) { s.bits = 32; s.compression = 3; s.masks = {0, 0, 0}; })},
      {"bit fields on 24 bits", with([](BmpSpec& s) { s.compression = 3; s.masks = {0xFF0000, 0xFF00, 0xFF}; })},
      {"OS/2 2.x Huffman coding", with([](BmpSpec& s) { s.headerSize = 64; s.bits = 1; s.compression = 3; s.palette = {0, 0}; })},
  };
  ASSERT_TRUE(Decode(good));
  for (const Case& c : cases) {
    EXPECT_FALSE(Decode(c.file)) << c.what;
  }
}

TEST(BmpReader, SizeLimitsHoldBeforeAnyAllocation) {
  // Run-length files: two bytes can describe any size of blank picture, so
  // only the limits stand between such a header and its allocation.
  struct Case {
    int32_t width, height;
    bool accepted;
  };
  const Case cases[] = {
      {3000000, 2000000, false},
      {dib::kMaxSide + 1, 1, false},
      {1, dib::kMaxSide + 1, false},
      {100000, 2, true},  // a wide panorama
      {2, 100000, true},
      {65536, 65536, false},  // each side fits, the pixel count does not
      {65536, 2048, true},    // 2^27 pixels: the most we hold
      {65536, 2049, false},
  };
  for (const Case& c : cases) {
    BmpSpec s;
    s.bits = 8;
    s.compression = 1;
    s.width = c.width;
    s.height = c.height;
    s.palette = {0};
    s.pixels = {0, 1};
    EXPECT_EQ(codecs::ReadBmpShape(MakeBmp(s)).has_value(), c.accepted) << c.width << " x " << c.height;
  }
}

TEST(BmpReader, Os2HeadersOfVersionTwo) {
  for (uint32_t headerSize : {16u, 64u}) {
    BmpSpec s;
    s.headerSize = headerSize;
    s.bits = 4;
    s.width = 2;
    s.palette = {0x111111, 0x222222};
    s.pixels = {0x10, 0, 0, 0};
    const std::optional<DecodedBmp> d = Decode(MakeBmp(s));
    ASSERT_TRUE(d) << headerSize;
    EXPECT_EQ(d->shape.palette, s.palette);
    EXPECT_EQ(d->Row(0)[0], 0x10);
  }
}

TEST(BmpReader, DecodeRefusesAShapeThatIsNotTheFiles) {
  BmpSpec s;
  s.pixels = {1, 2, 3, 0};
  const std::vector<uint8_t> file = MakeBmp(s);
  codecs::PictureShape shape = *codecs::ReadBmpShape(file);
  shape.width = 2;
  std::vector<uint8_t> rows(64);
  EXPECT_FALSE(codecs::DecodeBmp(file, shape, {rows.data(), 8}));
}

}  // namespace
