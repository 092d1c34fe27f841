// The JPEG writer and reader on pictures made here: what the writer produces,
// what survives a round trip, and how the reader treats files cut short or
// claiming sizes beyond our limits.
#include "codecs/JpegWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "native/CodecSupport.h"

namespace {

using codec_test::BgrPicture;

// A smooth picture with a soft-edged disc: like a photograph, nothing that
// quality 90 should lose visibly. Odd sizes exercise row padding.
BgrPicture MakePicture(int32_t width, int32_t height) {
  BgrPicture p{width, height, codecs::DibStride(width, codecs::PixelLayout::Bits24)};
  p.rows.assign(p.stride * size_t(height), 0);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* px = p.rows.data() + y * p.stride + x * 3;
      const double dx = x - width / 2.0, dy = y - height / 2.0;
      const double disc = std::clamp((std::sqrt(dx * dx + dy * dy) - height / 4.0) / 4.0, 0.0, 1.0);
      px[0] = uint8_t(40 + 150 * x / width);
      px[1] = uint8_t(60 + 120 * y / height);
      px[2] = uint8_t(200 * disc + 30);
    }
  }
  return p;
}

std::vector<uint8_t> Encode(const BgrPicture& p) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(codecs::EncodeJpeg(p.width, p.height, {p.rows.data(), ptrdiff_t(p.stride)}, out));
  return out;
}

// Where the marker `code` starts among the header markers, or npos.
size_t FindMarker(const std::vector<uint8_t>& file, uint8_t code) {
  for (size_t i = 2; i + 4 <= file.size() && file[i] == 0xFF;) {
    if (file[i + 1] == code) return i;
    if (file[i + 1] == 0xDA) break;  // start of scan: the headers are over
    i += 2 + (size_t(file[i + 2]) << 8 | file[i + 3]);
  }
  return std::string::npos;
}

TEST(JpegCodec, RoundTripKeepsThePicture) {
  const BgrPicture picture = MakePicture(97, 61);
  const std::optional<BgrPicture> back = codec_test::DecodeJpeg(Encode(picture));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 97);
  EXPECT_EQ(back->height, 61);
  EXPECT_FALSE(back->damaged);
  // At quality 90 the quantiser steps are a fifth of the base tables' (3 for
  // the luma DC term), which on smooth content leaves an error of about one
  // level: near 45 dB. 38 dB allows for the chroma subsampling at the disc's
  // edge and for either DCT implementation; a wrong channel order, row order
  // or stride falls far below it.
  EXPECT_GT(codec_test::Psnr(picture, *back), 38.0);
  for (int32_t y = 0; y < back->height; ++y) {
    const uint8_t* padding = back->rows.data() + y * back->stride + 97 * 3;
    EXPECT_EQ(padding[0], 0);
  }
}

TEST(JpegCodec, WriterMakesBaselineColourAtQuality90) {
  const std::vector<uint8_t> file = Encode(MakePicture(16, 16));
  ASSERT_GE(file.size(), 4u);
  EXPECT_EQ(file[0], 0xFF);
  EXPECT_EQ(file[1], 0xD8);
  const size_t sof = FindMarker(file, 0xC0);  // baseline sequential
  ASSERT_NE(sof, std::string::npos);
  EXPECT_EQ(FindMarker(file, 0xC2), std::string::npos);
  EXPECT_EQ(file[sof + 4], 8);   // sample precision
  EXPECT_EQ(file[sof + 9], 3);   // components: colour
  const size_t dqt = FindMarker(file, 0xDB);
  ASSERT_NE(dqt, std::string::npos);
  EXPECT_EQ(file[dqt + 4] >> 4, 0);  // 8-bit entries, as baseline requires
  // The standard luma table's DC step 16 scaled to quality 90 (20 %).
  EXPECT_EQ(file[dqt + 5], 3);
}

TEST(JpegCodec, WriterReadsBottomUpRows) {
  const BgrPicture picture = MakePicture(20, 9);
  // The same rows, last one first in memory, walked with a negative step.
  std::vector<uint8_t> flipped(picture.rows.size());
  for (int32_t y = 0; y < picture.height; ++y) {
    std::memcpy(&flipped[(picture.height - 1 - y) * picture.stride], &picture.rows[y * picture.stride], picture.stride);
  }
  std::vector<uint8_t> out;
  const uint8_t* top = flipped.data() + (picture.height - 1) * picture.stride;
  ASSERT_TRUE(codecs::EncodeJpeg(picture.width, picture.height, {top, -ptrdiff_t(picture.stride)}, out));
  EXPECT_EQ(out, Encode(picture));
}

TEST(JpegCodec, WriterRefusesAnEmptyPicture) {
  const BgrPicture picture = MakePicture(4, 4);
  std::vector<uint8_t> out{1, 2, 3};
  EXPECT_FALSE(codecs::EncodeJpeg(0, 4, {picture.rows.data(), 12}, out));
  EXPECT_TRUE(out.empty());
  // Beyond the format's 65500: the library's error comes back as false, with nothing written.
  EXPECT_FALSE(codecs::EncodeJpeg(70000, 1, {picture.rows.data(), 0}, out));
  EXPECT_TRUE(out.empty());
}

TEST(JpegCodec, FileCutInItsScanShowsWhatWasRecovered) {
  const BgrPicture picture = MakePicture(64, 64);
  std::vector<uint8_t> file = Encode(picture);
  const std::optional<BgrPicture> whole = codec_test::DecodeJpeg(file);
  ASSERT_TRUE(whole);
  file.resize(file.size() * 2 / 3);
  const std::optional<BgrPicture> cut = codec_test::DecodeJpeg(file);
  ASSERT_TRUE(cut);
  EXPECT_TRUE(cut->damaged);
  EXPECT_EQ(std::memcmp(cut->rows.data(), whole->rows.data(), cut->stride * 8), 0) << "the first rows are intact";
  EXPECT_NE(cut->rows, whole->rows) << "the rest is the library's fill";
}

TEST(JpegCodec, ReaderRefuses) {
  const std::vector<uint8_t> good = Encode(MakePicture(32, 32));
  const size_t sof = FindMarker(good, 0xC0);
  ASSERT_NE(sof, std::string::npos);
  auto withSize = [&](uint16_t width, uint16_t height) {
    std::vector<uint8_t> file = good;
    file[sof + 5] = uint8_t(height >> 8);
    file[sof + 6] = uint8_t(height);
    file[sof + 7] = uint8_t(width >> 8);
    file[sof + 8] = uint8_t(width);
    return file;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
  };
  const Case cases[] = {
      {"empty", {}},
      {"not a JPEG", {'B', 'M', 0, 0, 0, 0, 0, 0}},
      {"start marker alone", {0xFF, 0xD8}},
      {"cut inside the headers", std::vector<uint8_t>(good.begin(), good.begin() + ptrdiff_t(sof) + 4)},
      {"65500 × 65500 pixels", withSize(65500, 65500)},
      {"too many pixels though each side fits", withSize(65000, 3000)},
      {"zero width", withSize(0, 32)},
  };
  for (const Case& c : cases) {
    codecs::JpegReader reader(c.file);
    EXPECT_FALSE(reader.ReadHeader()) << c.what;
    EXPECT_FALSE(reader.Decode({nullptr, 0})) << c.what;
  }
  codecs::JpegReader reader(good);
  EXPECT_TRUE(reader.ReadHeader());
  EXPECT_EQ(reader.Width(), 32);
  EXPECT_EQ(reader.Height(), 32);
}

}  // namespace
