#include <cstring>

#include "PluginTestSupport.h"
#include "plugins/SpiFunc.h"
#include "ui/Bitmap.h"
#include "ui/Handles.h"

using namespace plugin_testing;

namespace {

// A moveable block, as plug-ins hand them back, holding exactly `bytes`.
ui::LocalMemory Block(const std::string& bytes) {
  ui::LocalMemory block(::LocalAlloc(LMEM_MOVEABLE, bytes.size()));
  std::memcpy(::LocalLock(block.Get()), bytes.data(), bytes.size());
  ::LocalUnlock(block.Get());
  return block;
}

std::string Colors(std::initializer_list<COLORREF> colors) {
  std::string table;
  for (const COLORREF c : colors) table += {char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c)), 0};
  return table;
}

class DibToBitmapTest : public ::testing::Test {
 protected:
  void SetUp() override { bitmap_.SetPixelFormat(ui::PixelFormat::Bits24); }
  void Convert(const std::string& info, const std::string& bits) {
    const ui::LocalMemory infoBlock = Block(info);
    const ui::LocalMemory bitsBlock = Block(bits);
    DibToBitmap(bitmap_, infoBlock.Get(), bitsBlock.Get());
  }
  COLORREF Pixel(int x, int y) { return ::GetPixel(bitmap_.Dc(), x, y); }
  ui::Bitmap bitmap_;
};

TEST_F(DibToBitmapTest, RowsFromTheTopGiveAnUprightPicture) {
  const std::string top("\x00\x00\xFF" "\0", 4);
  const std::string bottom("\xFF\x00\x00" "\0", 4);
  Convert(InfoHeader(1, -2, 24), top + bottom);
  ASSERT_EQ(bitmap_.Width(), 1);
  ASSERT_EQ(bitmap_.Height(), 2);
  EXPECT_EQ(Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(0, 1), RGB(0, 0, 255));
}

TEST_F(DibToBitmapTest, PaletteAndMaskedFormatsAreConverted) {
  const std::string fourColours = Colors({RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9)});
  // Two colours used of a 1-bit table; the bits hold pixel 0 then 1.
  Convert(InfoHeader(2, 1, 1, BI_RGB, 2, fourColours.substr(0, 8)), std::string("\x40\0\0\0", 4));
  EXPECT_EQ(Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(1, 0), RGB(0, 255, 0));
  // An 8-bit picture whose table holds only the entries it uses.
  Convert(InfoHeader(2, 1, 8, BI_RGB, 4, fourColours), std::string("\x02\x03\0\0", 4));
  EXPECT_EQ(Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(Pixel(1, 0), RGB(9, 9, 9));
  // 16-bit 5-6-5 with its masks after the header: pure red, pure blue.
  const uint32_t masks[] = {0xF800, 0x07E0, 0x001F};
  Convert(InfoHeader(2, 1, 16, BI_BITFIELDS, 0, std::string(reinterpret_cast<const char*>(masks), 12)),
          std::string("\x00\xF8\x1F\x00", 4));
  EXPECT_EQ(Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(1, 0), RGB(0, 0, 255));
}

TEST_F(DibToBitmapTest, ABlockThatLiesAboutItselfIsRefusedAndTheBitmapLeftAlone) {
  const std::string row("\0\0\0\0", 4);
  struct Case {
    const char* what;
    std::string info;
    std::string bits;
  };
  std::string longHeader = InfoHeader(1, 1, 24);
  longHeader[0] = 80;  // says 80 bytes, block has 40
  std::string shortHeader = InfoHeader(1, 1, 24);
  shortHeader[0] = 12;
  const Case cases[] = {
      {"block shorter than a header", InfoHeader(1, 1, 24).substr(0, 30), row},
      {"header longer than block", longHeader, row},
      {"header size too small", shortHeader, row},
      {"zero width", InfoHeader(0, 1, 24), row},
      {"negative width", InfoHeader(-5, 1, 24), row},
      {"zero height", InfoHeader(1, 0, 24), row},
      {"most negative height", InfoHeader(1, INT32_MIN, 24), row},
      {"absurd size", InfoHeader(100000, 100000, 1), row},
      {"too many pixels", InfoHeader(60000, 3000, 1), std::string(60000 / 8 * 3000, '\0')},
      {"odd bit count", InfoHeader(1, 1, 7), row},
      {"run-length compression", InfoHeader(1, 1, 8, BI_RLE8, 0, std::string(1024, '\0')), row},
      {"colour table missing", InfoHeader(1, 1, 8), row},
      {"colour table cut short", InfoHeader(1, 1, 8, BI_RGB, 16, std::string(60, '\0')), row},
      {"masks missing", InfoHeader(1, 1, 32, BI_BITFIELDS, 0, std::string(8, '\0')), row},
      {"pixel rows cut short", InfoHeader(4, 4, 24), std::string(47, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(Convert(c.info, c.bits), PluginDataError);
    EXPECT_TRUE(bitmap_.Empty());
  }
}

TEST_F(DibToBitmapTest, PanoramasAndColumnsLongerThan65536PixelsAreTaken) {
  struct Case {
    int width, height;
  };
  for (const Case c : {Case{70001, 2}, Case{1, -70001}}) {
    SCOPED_TRACE(c.width);
    const int lines = std::abs(c.height);
    const size_t stride = (static_cast<size_t>(c.width) * 3 + 3) / 4 * 4;
    std::string bits(stride * lines, '\0');
    bits[bits.size() - stride + (c.width - 1) * 3 + 2] = '\xFF';  // last pixel of the last row: red
    Convert(InfoHeader(c.width, c.height, 24), bits);
    ASSERT_EQ(bitmap_.Width(), c.width);
    ASSERT_EQ(bitmap_.Height(), lines);
    const int lastRowShown = c.height > 0 ? 0 : lines - 1;  // bottom-up rows end at the top
    EXPECT_EQ(Pixel(c.width - 1, lastRowShown), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(0, lines - 1 - lastRowShown), RGB(0, 0, 0));
  }
}

TEST_F(DibToBitmapTest, PixelsThatCannotBeLockedStillSetTheSize) {
  const ui::LocalMemory info = Block(InfoHeader(3, 5, 24));
  const ui::LocalMemory discarded(::LocalAlloc(LMEM_MOVEABLE, 0));
  DibToBitmap(bitmap_, info.Get(), discarded.Get());
  EXPECT_EQ(bitmap_.Width(), 3);
  EXPECT_EQ(bitmap_.Height(), 5);
  DibToBitmap(bitmap_, discarded.Get(), info.Get());
  EXPECT_EQ(bitmap_.Width(), 3);
}

}  // namespace
