#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <utility>

#include "ui/Bitmap.h"

namespace {

// A 4 x 2 picture of 8 bits per pixel whose palette holds red, green, blue, grey.
ui::Bitmap PalettePicture() {
  ui::Bitmap bitmap;
  bitmap.SetPixelFormat(ui::PixelFormat::Bits8);
  bitmap.SetSize(4, 2);
  bitmap.SetColorTable({{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {128, 128, 128, 0}});
  const uint8_t top[4] = {0, 1, 0, 1};
  const uint8_t bottom[4] = {2, 3, 2, 3};
  std::memcpy(bitmap.ScanLine(0), top, 4);
  std::memcpy(bitmap.ScanLine(1), bottom, 4);
  return bitmap;
}

// Blue, green, red of pixel (x, y) of a 24-bit picture.
std::array<uint8_t, 3> Pixel(const ui::Bitmap& bitmap, int x, int y) {
  const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

TEST(Bitmap, PaletteColoursSurviveCopyResizeAndConversion) {
  ui::Bitmap source = PalettePicture();
  ui::Bitmap copy;
  copy.Assign(source);
  ASSERT_EQ(copy.Format(), ui::PixelFormat::Bits8);
  EXPECT_EQ(std::memcmp(copy.ScanLine(0), source.ScanLine(0), 4), 0);
  copy.SetSize(6, 3);  // grows: top-left kept, new area white
  copy.SetPixelFormat(ui::PixelFormat::Bits24);
  using Bgr = std::array<uint8_t, 3>;
  EXPECT_EQ(Pixel(copy, 0, 0), (Bgr{0, 0, 255}));      // red
  EXPECT_EQ(Pixel(copy, 1, 0), (Bgr{0, 255, 0}));      // green
  EXPECT_EQ(Pixel(copy, 0, 1), (Bgr{255, 0, 0}));      // blue
  EXPECT_EQ(Pixel(copy, 3, 1), (Bgr{128, 128, 128}));  // grey
  EXPECT_EQ(Pixel(copy, 5, 2), (Bgr{255, 255, 255}));
}

TEST(Bitmap, DibRowsAreConvertedIntoThePicturesOwnFormat) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } info{};
  info.header = {sizeof(BITMAPINFOHEADER), 2, -1, 1, 1, BI_RGB, 0, 0, 0, 2, 0};  // top-down, 1 bit
  info.colors[1] = {0, 200, 100, 0};
  const uint8_t row[4] = {0x40, 0, 0, 0};  // pixel 1 set
  ui::Bitmap bitmap;
  bitmap.SetPixelFormat(ui::PixelFormat::Bits24);
  bitmap.SetSize(2, 1);
  EXPECT_EQ(bitmap.SetDIBits(0, 1, row, reinterpret_cast<BITMAPINFO*>(&info)), 1);
  using Bgr = std::array<uint8_t, 3>;
  EXPECT_EQ(Pixel(bitmap, 0, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(Pixel(bitmap, 1, 0), (Bgr{0, 200, 100}));
}

TEST(Bitmap, EmptyPicturesHaveNoHandleAndCopyAsEmpty) {
  ui::Bitmap empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Handle(), nullptr);
  ui::Bitmap copy = PalettePicture();
  copy.Assign(empty);
  EXPECT_TRUE(copy.Empty());
  copy.SetWidth(5);  // one dimension alone makes no pixels
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Width(), 5);
}

TEST(Bitmap, CopiesSharePixelsUntilOneOfThemChanges) {
  ui::Bitmap source;
  source.Reset(3, 2, ui::PixelFormat::Bits24);
  std::memset(source.ScanLine(0), 0x20, 9);
  ::PatBlt(source.Dc(), 0, 1, 3, 1, BLACKNESS);  // selected into its own DC
  ui::Bitmap copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Handle(), source.Handle());
  const ui::Bitmap& view = copy;
  EXPECT_EQ(view.ScanLine(0), std::as_const(source).ScanLine(0));

  // Both can still draw the shared picture, although the source had it selected.
  ui::Bitmap canvas;
  canvas.Reset(3, 2, ui::PixelFormat::Bits24);
  copy.Draw(canvas.Dc(), 0, 0);
  ::GdiFlush();
  using Bgr = std::array<uint8_t, 3>;
  EXPECT_EQ(Pixel(canvas, 2, 0), (Bgr{0x20, 0x20, 0x20}));

  // Writing gives the writer pixels of its own; the other keeps the old ones.
  copy.ScanLine(0)[0] = 0x99;
  ::PatBlt(copy.Dc(), 0, 1, 3, 1, WHITENESS);
  ::GdiFlush();
  EXPECT_NE(copy.Handle(), source.Handle());
  EXPECT_EQ(Pixel(source, 0, 0), (Bgr{0x20, 0x20, 0x20}));
  EXPECT_EQ(Pixel(source, 0, 1), (Bgr{0, 0, 0}));
  EXPECT_EQ(Pixel(copy, 0, 0), (Bgr{0x99, 0x20, 0x20}));
  EXPECT_EQ(Pixel(copy, 0, 1), (Bgr{255, 255, 255}));

  // A palette picture shared and then written keeps its colour table.
  ui::Bitmap palette = PalettePicture();
  ui::Bitmap second;
  second.Assign(palette);
  second.ScanLine(0)[0] = 3;
  second.SetPixelFormat(ui::PixelFormat::Bits24);
  EXPECT_EQ(Pixel(second, 0, 0), (Bgr{128, 128, 128}));
  EXPECT_EQ(Pixel(second, 1, 0), (Bgr{0, 255, 0}));
  EXPECT_EQ(palette.ScanLine(0)[0], 0);
}

}  // namespace
