// The writer's files read back by our own reader, for every layout it writes.
#include "codecs/BmpWriter.h"

#include <gtest/gtest.h>

#include <vector>

#include "codecs/BmpFormat.h"
#include "native/CodecSupport.h"

namespace {

using codecs::PixelLayout;

// Rows of bytes that differ from row to row and column to column, top first.
std::vector<uint8_t> PatternRows(int32_t height, size_t stride) {
  std::vector<uint8_t> rows(stride * size_t(height));
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i * 7 + i / stride * 13);
  return rows;
}

TEST(BmpWriter, WritesFilesThatReadBackAsTheSameRows) {
  struct Case {
    int32_t width, height;
    PixelLayout layout;
    std::vector<uint32_t> palette;
  };
  const Case cases[] = {
      {5, 3, PixelLayout::Bits24, {}},
      {1, 1, PixelLayout::Bits24, {}},
      {7, 4, PixelLayout::Bits32, {}},
      {3, 2, PixelLayout::Bits16, {}},
      {6, 2, PixelLayout::Bits8, std::vector<uint32_t>(256, 0x123456)},
      {9, 3, PixelLayout::Bits4, {0x000000, 0xFFFFFF, 0xFF0000}},
      {16, 2, PixelLayout::Bits1, {0x000000, 0xFFFFFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << int(c.layout));
    const size_t stride = codecs::DibStride(c.width, c.layout);
    // The source's rows lie further apart than a file's, to show that the step is used.
    const size_t sourceStride = stride + 4;
    std::vector<uint8_t> rows = PatternRows(c.height, sourceStride);
    const codecs::PictureShape shape{c.width, c.height, c.layout, c.palette};
    std::vector<uint8_t> file;
    ASSERT_TRUE(codecs::EncodeBmp(shape, {rows.data(), ptrdiff_t(sourceStride)}, file));
    const std::optional<codec_test::DecodedBmp> back = codec_test::DecodeBmp(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->shape.width, c.width);
    EXPECT_EQ(back->shape.height, c.height);
    const size_t rowBytes = (size_t(c.width) * size_t(c.layout) + 7) / 8;
    for (int32_t y = 0; y < c.height; ++y) {
      const std::vector<uint8_t> expected(rows.begin() + y * sourceStride, rows.begin() + y * sourceStride + rowBytes);
      EXPECT_EQ(std::vector<uint8_t>(back->Row(y), back->Row(y) + rowBytes), expected) << "row " << y;
    }
    if (!c.palette.empty()) {
      ASSERT_GE(back->shape.palette.size(), c.palette.size());
      for (size_t i = 0; i < c.palette.size(); ++i) EXPECT_EQ(back->shape.palette[i], c.palette[i]) << i;
    }
  }
}

TEST(BmpWriter, HeadersGiveTheSizesAndOffsetsOfTheFile) {
  std::vector<uint8_t> rows(12 * 2, 0xAB);
  std::vector<uint8_t> file;
  ASSERT_TRUE(codecs::EncodeBmp({3, 2, PixelLayout::Bits32, {}}, {rows.data(), 12}, file));
  ASSERT_EQ(file.size(), 14u + 40u + 24u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(codecs::bmp::Le32(&file[2]), file.size());
  EXPECT_EQ(codecs::bmp::Le32(&file[10]), 54u);
  EXPECT_EQ(codecs::bmp::Le16(&file[28]), 32u);
  EXPECT_EQ(codecs::bmp::Le32(&file[30]), 0u);  // BI_RGB
  EXPECT_EQ(codecs::bmp::Le32(&file[34]), 24u);
}

TEST(BmpWriter, RefusesShapesItCannotWrite) {
  std::vector<uint8_t> rows(64, 0);
  std::vector<uint8_t> file{1, 2, 3};
  const codecs::PictureShape shapes[] = {
      {0, 1, PixelLayout::Bits24, {}},
      {1, 0, PixelLayout::Bits24, {}},
      {2, 2, PixelLayout::Bits1, {0, 1, 2}},  // three colours for one bit
  };
  for (const codecs::PictureShape& shape : shapes) {
    EXPECT_FALSE(codecs::EncodeBmp(shape, {rows.data(), 8}, file)) << shape.width << "x" << shape.height;
    EXPECT_TRUE(file.empty());
  }
}

}  // namespace
