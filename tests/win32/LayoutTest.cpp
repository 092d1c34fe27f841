#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "ProgramFixture.h"
#include "viewer/ImgCtrlBitmap.h"

using namespace testing_support;

namespace {

// A 24-bit picture whose pixels encode their position.
ui::Bitmap Picture(int width, int height) {
  ui::Bitmap bitmap;
  bitmap.SetPixelFormat(ui::PixelFormat::Bits24);
  bitmap.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(x);
      row[3 * x + 1] = static_cast<uint8_t>(y);
      row[3 * x + 2] = static_cast<uint8_t>(x + y);
    }
  }
  return bitmap;
}

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { program_.Start(); }
  TViewerForm& Viewer() { return *program_.viewer; }
  int FrameWidth() { return Viewer().Width() - Viewer().ClientWidth(); }
  int FrameHeight() { return Viewer().Height() - Viewer().ClientHeight(); }

  ProgramFixture program_;
};

TEST_F(LayoutTest, WindowedLayoutWrapsThePictureInsideTheWorkArea) {
  ui::Bitmap picture = Picture(300, 200);
  Viewer().SetBounds(900, 700, 100, 100);  // would overhang right and bottom
  Viewer().LayoutPicture(picture);
  EXPECT_EQ(Viewer().ClientWidth(), 300);
  EXPECT_EQ(Viewer().ClientHeight(), 200);
  EXPECT_EQ(Viewer().Left() + Viewer().Width(), 1024);
  EXPECT_EQ(Viewer().Top() + Viewer().Height(), 768);
  EXPECT_EQ(Viewer().MouseMode, 1);
  EXPECT_EQ(Viewer().ZoomState, 1);
}

TEST_F(LayoutTest, APictureLargerThanTheWorkAreaGivesAWindowOfItsSizeWithScrollBars) {
  ScreenScope screen({40, 0, 1024, 738});  // work area 984 x 738
  ui::Bitmap picture = Picture(1500, 1200);
  Viewer().SetBounds(300, 300, 100, 100);
  Viewer().LayoutPicture(picture);
  EXPECT_EQ(Viewer().Left(), 0);
  EXPECT_EQ(Viewer().Top(), 0);
  EXPECT_EQ(Viewer().Width(), 984);
  EXPECT_EQ(Viewer().Height(), 738);
  EXPECT_EQ(Viewer().PicImage.Width(), 1500);
  EXPECT_EQ(Viewer().PicImage.Height(), 1200);
  const LONG style = ::GetWindowLongA(Viewer().Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL);
  Viewer().SetScrollPosition(SB_HORZ, 100);
  EXPECT_EQ(Viewer().PicImage.Left(), -100);
  Viewer().SetScrollPosition(SB_HORZ, 100000);  // clamped by the bar
  EXPECT_EQ(Viewer().PicImage.Left(), -(1500 - Viewer().ClientWidth()));
}

TEST_F(LayoutTest, ResizingSnapsAGrowingWindowBackAndLetsAShrinkingOneStand) {
  ui::Bitmap picture = Picture(300, 200);
  Viewer().LayoutPicture(picture);
  Viewer().SetBounds(Viewer().Left(), Viewer().Top(), Viewer().Width() + 50, Viewer().Height() + 40);
  EXPECT_EQ(Viewer().ClientWidth(), 300);
  EXPECT_EQ(Viewer().ClientHeight(), 200);
  Viewer().SetBounds(Viewer().Left(), Viewer().Top(), Viewer().Width() - 60, Viewer().Height() - 30);
  EXPECT_EQ(Viewer().ClientWidth() + (::GetWindowLongA(Viewer().Handle(), GWL_STYLE) & WS_VSCROLL
                                          ? ::GetSystemMetrics(SM_CXVSCROLL) : 0),
            240);
}

TEST_F(LayoutTest, CentringFollowsEveryLayoutWhileTheMarkIsOn) {
  Viewer().CenterMenu->SetChecked(true);
  ui::Bitmap picture = Picture(301, 201);
  Viewer().LayoutPicture(picture);
  EXPECT_EQ(Viewer().Left(), (1024 - Viewer().Width()) / 2);
  EXPECT_EQ(Viewer().Top(), (768 - Viewer().Height()) / 2);
  Viewer().SetBounds(0, 0, Viewer().Width(), Viewer().Height());
  CurrentIndex = 0;
  Viewer().UpdateNavigation();
  EXPECT_EQ(Viewer().Left(), (1024 - Viewer().Width()) / 2);
}

TEST_F(LayoutTest, SizableLayoutKeepsTheWidthAndRoundsTheHeightHalfToEven) {
  Viewer().SizableMenu->SetChecked(true);
  Viewer().PicImage.SetStretch(true);
  Viewer().PicImage.SetAlignClient(true);
  ui::Bitmap picture = Picture(200, 100);
  for (const auto& [clientWidth, clientHeight] : {std::pair{201, 100}, std::pair{203, 102}}) {
    Viewer().SetClientWidth(clientWidth);
    Viewer().LayoutPicture(picture);
    EXPECT_EQ(Viewer().ClientWidth(), clientWidth);
    EXPECT_EQ(Viewer().ClientHeight(), clientHeight);
  }
}

TEST_F(LayoutTest, FullScreenFitsThePictureToTheScreenCentred) {
  Viewer().FullScrMenu->SetChecked(true);
  Viewer().PicImage.SetAutoSize(false);
  struct Case {
    int width, height, left, top, fitWidth, fitHeight;
  };
  const Case cases[] = {{800, 600, 0, 0, 1024, 768}, {1000, 500, 0, 128, 1024, 512}, {300, 600, 320, 0, 384, 768}};
  for (const auto& c : cases) {
    ui::Bitmap picture = Picture(c.width, c.height);
    picture.SetPixelFormat(ui::PixelFormat::Bits32);
    Viewer().LayoutPicture(picture);
    EXPECT_EQ(picture.Format(), ui::PixelFormat::Bits24);  // converted in place
    EXPECT_EQ(Viewer().PicImage.Left(), c.left);
    EXPECT_EQ(Viewer().PicImage.Top(), c.top);
    EXPECT_EQ(Viewer().PicImage.Width(), c.fitWidth);
    EXPECT_EQ(Viewer().PicImage.Picture().Width(), c.fitWidth);
    EXPECT_EQ(Viewer().PicImage.Picture().Height(), c.fitHeight);
  }
}

TEST(ResampleBitmaps, ConvertsBothToTwentyFourBitsAndLeavesThemAloneWhenEmpty) {
  ui::Bitmap source = Picture(4, 3);
  source.SetPixelFormat(ui::PixelFormat::Bits32);
  ui::Bitmap destination;
  destination.SetPixelFormat(ui::PixelFormat::Bits32);
  EXPECT_FALSE(ResampleBilinear(&destination, &source));  // width 0
  EXPECT_EQ(source.Format(), ui::PixelFormat::Bits32);
  EXPECT_EQ(destination.Format(), ui::PixelFormat::Bits32);
  EXPECT_FALSE(ResampleBilinear(nullptr, &source));
  destination.SetSize(4, 3);
  ASSERT_TRUE(ResampleBilinear(&destination, &source));
  EXPECT_EQ(destination.Format(), ui::PixelFormat::Bits24);
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(std::memcmp(destination.ScanLine(y), source.ScanLine(y), 12), 0) << "row " << y;
  }
}

}  // namespace
