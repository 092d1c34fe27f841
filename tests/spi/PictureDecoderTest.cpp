#include <gtest/gtest.h>

#include "PictureFixtures.h"
#include "spi/common/InfoText.h"

using namespace spi;
using namespace spi_testing;

namespace {

using namespace std::string_literals;

std::string SmallGif() {
  return EncodeGif(5, 4, {{0, 0, 0}, {255, 255, 255}}, {GifFrame{0, 0, 5, 4, std::vector<uint8_t>(20, 1)}});
}

TEST(PictureDetection, TheFirstBytesTellTheFormat) {
  struct Case {
    std::string head;
    PictureFormat format;
  };
  const Case cases[] = {
      {std::string("\x89PNG\r\n\x1a\n", 8), PictureFormat::kPng},
      {std::string("\x89PNG\r\n\x1a", 7), PictureFormat::kUnknown},
      {"GIF87a", PictureFormat::kGif},
      {"GIF89a....", PictureFormat::kGif},
      {"GIF88a", PictureFormat::kUnknown},
      {"RIFF\x10\x00\x00\x00WEBPVP8 "s, PictureFormat::kWebp},
      {"RIFF\x10\x00\x00\x00WEBPVP8L"s, PictureFormat::kWebp},
      {"RIFF\x10\x00\x00\x00WEBPVP8X"s, PictureFormat::kWebp},
      {"RIFF\x10\x00\x00\x00WAVEfmt "s, PictureFormat::kUnknown},
      {"", PictureFormat::kUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectPicture(Bytes(c.head)), c.format) << c.head;
}

TEST(PictureHeaders, SidesAndDepthAreReadWithoutDecoding) {
  struct Case {
    std::string file;
    int32_t width, height;
    int16_t depth;
  };
  Pixels translucent = Gradient(7, 3);
  translucent.Set(0, 0, 1, 2, 3, 4);
  const Case cases[] = {
      {PngSuiteFile("basn6a16.png"), 32, 32, 64},
      {PngSuiteFile("basn3p04.png"), 32, 32, 4},
      {SmallGif(), 5, 4, 1},
      {EncodeWebp(translucent, true), 7, 3, 32},
      {EncodeWebp(Gradient(9, 2), false), 9, 2, 24},
  };
  for (const Case& c : cases) {
    PictureHeader header;
    ASSERT_EQ(ReadPictureHeader(Bytes(c.file), header), kSpiOk);
    EXPECT_EQ(header.width, c.width);
    EXPECT_EQ(header.height, c.height);
    EXPECT_EQ(header.bitDepth, c.depth);
  }
  PictureHeader header;
  EXPECT_EQ(ReadPictureHeader(Bytes(std::string("BM")), header), kSpiUnknownFormat);
}

std::vector<std::string> OneOfEachFormat() {
  return {PngSuiteFile("basn6a16.png"), PngSuiteFile("ibasn2c08.png"), SmallGif(),
          EncodeWebp(Gradient(8, 8), true), EncodeAnimatedWebp({Gradient(4, 4), Pixels(4, 4)})};
}

TEST(PictureProgress, ReportsClimbToTheirTotalAndAStopIsHonouredAtAnyReport) {
  for (const std::string& file : OneOfEachFormat()) {
    std::vector<std::pair<int32_t, int32_t>> reports;
    const Progress record = [&](int32_t done, int32_t total) {
      reports.emplace_back(done, total);
      return true;
    };
    Dib dib;
    ASSERT_EQ(DecodePicture(Bytes(file), record, dib), kSpiOk);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().first, 0);
    EXPECT_EQ(reports.back().first, reports.back().second);
    for (size_t i = 1; i < reports.size(); ++i) EXPECT_GT(reports[i].first, reports[i - 1].first);

    for (const size_t stopAt : {size_t{0}, reports.size() / 2, reports.size() - 1}) {
      size_t calls = 0;
      const Progress stop = [&](int32_t, int32_t) { return calls++ != stopAt; };
      Dib stopped;
      EXPECT_EQ(DecodePicture(Bytes(file), stop, stopped), kSpiCancelled) << stopAt;
      EXPECT_EQ(calls, stopAt + 1);
    }
  }
}

TEST(PluginInfoTexts, CopiedWhole_CutToTheBuffer_OrNotAtAll) {
  const char* const texts[] = {"00IN", "a plug-in"};
  struct Case {
    int32_t infoNumber;
    int32_t size;
    int32_t answer;
    const char* text;
  };
  const Case cases[] = {
      {0, 1024, 4, "00IN"}, {1, 10, 9, "a plug-in"}, {1, 9, 8, "a plug-i"},
      {1, 1, 0, ""},        {2, 1024, 0, "?"},        {-1, 1024, 0, "?"},
      {0, 0, 0, "?"},
  };
  for (const Case& c : cases) {
    char buffer[16] = "?";
    EXPECT_EQ(CopyInfoText(texts, c.infoNumber, buffer, c.size), c.answer) << c.infoNumber << " " << c.size;
    EXPECT_STREQ(buffer, c.text);
  }
}

}  // namespace
