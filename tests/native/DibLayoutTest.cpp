#include "core/DibLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

struct Header {
  uint32_t size = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPels = 0, yPels = 0;
  uint32_t colorsUsed = 0;
  uint32_t important = 0;
};
static_assert(sizeof(Header) == 40);

// The header and `extra` bytes in a heap block of exactly their size.
dib::Layout Check(const Header& header, size_t extra = 0, size_t cut = 0) {
  const size_t size = sizeof header + extra - cut;
  std::unique_ptr<char[]> block(new char[size]());
  std::memcpy(block.get(), &header, std::min(size, sizeof header));
  return dib::CheckInfo({block.get(), size});
}

Header With(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0, uint32_t used = 0) {
  Header h;
  h.width = width;
  h.height = height;
  h.bitCount = bits;
  h.compression = compression;
  h.colorsUsed = used;
  return h;
}

TEST(DibLayout, SoundHeadersGiveRowsTablesAndSizes) {
  struct Case {
    const char* what;
    Header header;
    size_t extra;
    int32_t lines;
    uint32_t colorOffset, colorCount;
    uint64_t imageBytes;
  };
  Header v5 = With(3, 2, 32, dib::kBitFields);
  v5.size = 124;
  const Case cases[] = {
      {"24-bit rows padded to 4 bytes", With(3, 2, 24), 0, 2, 40, 0, 2 * 12},
      {"top-down", With(3, -2, 24), 0, 2, 40, 0, 2 * 12},
      {"1-bit full table", With(33, 1, 1), 8, 1, 40, 2, 8},
      {"8-bit, colours used", With(4, 4, 8, 0, 16), 64, 4, 40, 16, 16},
      {"4-bit, too many colours used", With(4, 1, 4, 0, 300), 64, 1, 40, 16, 4},
      {"masks after a plain header", With(2, 1, 16, dib::kBitFields), 12, 1, 52, 0, 4},
      {"masks inside a larger header", v5, 84, 2, 124, 0, 24},
      {"24-bit table of colours used is ignored", With(1, 1, 24, 0, 256), 0, 1, 40, 0, 4},
      {"panorama wider than 16 bits", With(100000, 3, 24), 0, 3, 40, 0, 3 * 300000},
      {"column taller than 16 bits", With(1, -100000, 8), 1024, 100000, 40, 256, 100000 * 4},
      {"the longest row of 32-bit pixels", With(dib::kMaxSide, 1, 32), 0, 1, 40, 0,
       uint64_t{dib::kMaxSide} * 4},
  };
  for (const auto& c : cases) {
    const dib::Layout layout = Check(c.header, c.extra);
    EXPECT_EQ(layout.problem, "") << c.what;
    EXPECT_EQ(layout.lines, c.lines) << c.what;
    EXPECT_EQ(layout.height, c.header.height) << c.what;
    EXPECT_EQ(layout.colorOffset, c.colorOffset) << c.what;
    EXPECT_EQ(layout.colorCount, c.colorCount) << c.what;
    EXPECT_EQ(layout.imageBytes, c.imageBytes) << c.what;
  }
}

TEST(DibLayout, HeadersThatDoNotFitOrAreAbsurdAreRefused) {
  Header longer = With(1, 1, 24);
  longer.size = 41;
  Header shorter = With(1, 1, 24);
  shorter.size = 12;
  struct Case {
    const char* what;
    Header header;
    size_t extra, cut;
  };
  const Case cases[] = {
      {"block shorter than a header", With(1, 1, 24), 0, 1},
      {"header size past the block", longer, 0, 0},
      {"header size below 40", shorter, 0, 0},
      {"zero width", With(0, 1, 24), 0, 0},
      {"negative width", With(-1, 1, 24), 0, 0},
      {"width too large", With(dib::kMaxSide + 1, 1, 1), 0, 0},
      {"zero height", With(1, 0, 24), 0, 0},
      {"most negative height", With(1, INT32_MIN, 24), 0, 0},
      {"height too large", With(1, -dib::kMaxSide - 1, 24), 0, 0},
      {"too many pixels", With(dib::kMaxSide, dib::kMaxSide, 1), 8, 0},
      {"bit count 0", With(1, 1, 0), 0, 0},
      {"bit count 2", With(1, 1, 2), 16, 0},
      {"run-length", With(1, 1, 8, 1), 1024, 0},
      {"masks on 24 bits", With(1, 1, 24, dib::kBitFields), 12, 0},
      {"table cut short", With(1, 1, 8), 1023, 0},
      {"masks cut short", With(1, 1, 16, dib::kBitFields), 11, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NE(Check(c.header, c.extra, c.cut).problem, "") << c.what;
  }
}

}  // namespace
