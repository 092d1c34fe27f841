// The mouse on the viewer's picture, as real presses, moves and releases: the
// rubber band and the zoom in full screen, the drag that scrolls elsewhere.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ProgramFixture.h"
#include "UserInput.h"
#include "viewer/ImgCtrlBitmap.h"
#include "viewer/LayoutMath.h"

using namespace testing_support;

namespace {

// The rows of a 24-bit picture, without their padding.
std::vector<uint8_t> Pixels(const ui::Bitmap& bitmap) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    pixels.insert(pixels.end(), row, row + 3 * bitmap.Width());
  }
  return pixels;
}

uint32_t PixelAt(const std::vector<uint8_t>& pixels, int width, int x, int y) {
  const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
  return p[0] | p[1] << 8 | p[2] << 16;
}

// What a zoom into `band` of the displayed `pixels` must show: the region cut
// out row by row and fitted to the 1024 x 768 screen.
ui::Bitmap ExpectedZoom(const std::vector<uint8_t>& pixels, int width, const RECT& band) {
  ui::Bitmap region;
  region.Reset(band.right - band.left, band.bottom - band.top, ui::PixelFormat::Bits24);
  for (int y = 0; y < region.Height(); ++y) {
    std::memcpy(region.ScanLine(y), &pixels[(static_cast<size_t>(band.top + y) * width + band.left) * 3],
                3 * static_cast<size_t>(region.Width()));
  }
  const layout::Placement fit = layout::FitToScreen(1024, 768, region.Width(), region.Height());
  ui::Bitmap zoom;
  zoom.Reset(fit.width, fit.height, ui::PixelFormat::Bits24);
  ResampleBilinear(&zoom, &region);
  return zoom;
}

class ViewerMouseTest : public ::testing::Test {
 protected:
  // The control window floats above the viewer: out of the way of the presses.
  void SetUp() override {
    program_.Start();
    program_.control->SetVisible(false);
  }

  TViewerForm& Viewer() { return *program_.viewer; }
  void Show(int width, int height) {
    const std::string path = files_ / (std::to_string(width) + "x" + std::to_string(height) + ".bmp");
    WriteFileBytes(path, PatternBmp(width, height));
    Viewer().WMDropFiles(MakeDrop({path}));
  }
  void ShowFullScreen(int width, int height) {
    Show(width, height);
    Viewer().FullScrMenu->Click();
  }
  // A point given in the picture control's coordinates.
  POINT OnPicture(int x, int y) { return ScreenPoint(Viewer().PicImage.Handle(), x, y); }
  void Select(POINT from, POINT to) {
    PressButtonAt(OnPicture(from.x, from.y));
    MoveMouseTo(OnPicture(to.x, to.y));
    ReleaseButtonAt(OnPicture(to.x, to.y));
  }
  std::vector<uint8_t> Displayed() { return Pixels(Viewer().PicImage.Picture()); }

  ProgramFixture program_;
  TempDir files_;
};

TEST_F(ViewerMouseTest, TheBandInvertsItsOutlineAndDrawingItAgainRestoresEveryPixel) {
  ShowFullScreen(1000, 500);  // shown 1024 x 512 at (0, 128)
  const std::vector<uint8_t> before = Displayed();
  PressButtonAt(OnPicture(100, 200));
  EXPECT_EQ(Viewer().MouseMode, 2);
  EXPECT_EQ(Displayed(), before);  // nothing drawn by the press
  MoveMouseTo(OnPicture(300, 350));
  const RECT band = Viewer().SelectionRect;
  EXPECT_EQ((std::vector<LONG>{band.left, band.top, band.right, band.bottom}), (std::vector<LONG>{100, 200, 300, 350}));
  const std::vector<uint8_t> drawn = Displayed();
  struct Probe {
    int x, y;
    bool inverted;
  };
  const Probe probes[] = {{100, 200, true}, {299, 349, true}, {200, 200, true}, {100, 300, true},
                          {200, 300, false}, {300, 350, false}, {99, 200, false}, {200, 199, false}};
  for (const Probe& p : probes) {
    const uint32_t was = PixelAt(before, 1024, p.x, p.y);
    EXPECT_EQ(PixelAt(drawn, 1024, p.x, p.y), p.inverted ? (~was & 0xFFFFFF) : was) << p.x << ", " << p.y;
  }
  // Back at the anchor the band has no area: the picture is as it was.
  MoveMouseTo(OnPicture(100, 200));
  EXPECT_EQ(Displayed(), before);
  MoveMouseTo(OnPicture(640, 20));
  ReleaseButtonAt(OnPicture(640, 20));
  EXPECT_EQ(Viewer().MouseMode, 1);
  EXPECT_EQ(Viewer().ZoomState, 2);
}

// Past the picture's edges, into the black bars or beyond: the band stops at
// the picture control.
TEST_F(ViewerMouseTest, TheBandStaysOnThePictureWhenThePointerLeavesIt) {
  struct Case {
    int width, height;  // the picture
    POINT anchor, pointer;
    RECT band;
  };
  // Each press away from the last: two presses at one point would be a double click.
  const Case cases[] = {
      {1000, 500, {500, 256}, {700, 600}, {500, 256, 700, 512}},   // into the lower bar
      {1000, 500, {400, 300}, {300, -100}, {300, 0, 400, 300}},    // into the upper bar
      {300, 600, {200, 300}, {-200, 100}, {0, 100, 200, 300}},     // shown 384 wide at 320
      {300, 600, {100, 200}, {600, 700}, {100, 200, 384, 700}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.pointer.x) + ", " + std::to_string(c.pointer.y));
    ShowFullScreen(c.width, c.height);
    PressButtonAt(OnPicture(c.anchor.x, c.anchor.y));
    MoveMouseTo(OnPicture(c.pointer.x, c.pointer.y));
    const RECT band = Viewer().SelectionRect;
    EXPECT_EQ((std::vector<LONG>{band.left, band.top, band.right, band.bottom}),
              (std::vector<LONG>{c.band.left, c.band.top, c.band.right, c.band.bottom}));
    ReleaseButtonAt(OnPicture(c.pointer.x, c.pointer.y));
    Viewer().FullScrMenu->Click();
  }
}

TEST_F(ViewerMouseTest, ASecondZoomCutsItsRegionFromTheFirstZoomsDisplayedPixels) {
  ShowFullScreen(1000, 500);
  const std::vector<uint8_t> whole = Displayed();
  const RECT first{100, 100, 400, 300};
  Select({first.left, first.top}, {first.right, first.bottom});
  ASSERT_EQ(Viewer().ZoomState, 2);
  const ui::Bitmap firstZoom = ExpectedZoom(whole, 1024, first);
  EXPECT_EQ(Viewer().PicImage.Width(), firstZoom.Width());  // 300 x 200 fits as 1024 x 682
  EXPECT_EQ(Viewer().PicImage.Top(), (768 - firstZoom.Height()) / 2);
  ASSERT_EQ(Displayed(), Pixels(firstZoom));

  const RECT second{500, 50, 700, 250};
  Select({second.right, second.bottom}, {second.left, second.top});  // dragged up and left
  EXPECT_EQ(Viewer().ZoomState, 2);
  EXPECT_EQ(Displayed(), Pixels(ExpectedZoom(Pixels(firstZoom), firstZoom.Width(), second)));
}

TEST_F(ViewerMouseTest, AClickOrAThinSelectionUnzoomsAZoomedViewAndOtherwiseChangesNothing) {
  ShowFullScreen(1000, 500);
  const std::vector<uint8_t> whole = Displayed();
  Select({50, 60}, {50, 60});
  EXPECT_EQ(Viewer().ZoomState, 1);
  EXPECT_EQ(Viewer().PicImage.Top(), 128);
  EXPECT_EQ(Displayed(), whole);
  struct Case {
    const char* what;
    POINT to;
  };
  for (const Case& c : {Case{"a click", {10, 10}}, Case{"one pixel wide", {11, 300}}, Case{"one pixel high", {300, 11}}}) {
    SCOPED_TRACE(c.what);
    Select({10, 10}, {200, 200});
    ASSERT_EQ(Viewer().ZoomState, 2);
    Select({10, 10}, c.to);
    EXPECT_EQ(Viewer().ZoomState, 1);
    EXPECT_EQ(Viewer().PicImage.Top(), 128);
    EXPECT_EQ(Displayed(), whole);
  }
}

TEST_F(ViewerMouseTest, ARightPressStartsNeitherASelectionNorADrag) {
  for (const bool fullScreen : {true, false}) {
    SCOPED_TRACE(fullScreen ? "full screen" : "windowed");
    if (fullScreen) {
      ShowFullScreen(1000, 500);
    } else {
      Show(1500, 1200);
    }
    const POINT at = OnPicture(300, 300);
    PressButtonAt(at, true);
    EXPECT_EQ(Viewer().MouseMode, 1);
    EXPECT_FALSE(Viewer().PicImage.Dragging());
    EXPECT_EQ(::GetCapture(), nullptr);
    MenuOpenedBy([&] { ReleaseButtonAt(at, true); });  // the popup menu, closed again
    if (fullScreen) Viewer().FullScrMenu->Click();
  }
}

TEST_F(ViewerMouseTest, DraggingAPictureLargerThanTheWindowScrollsItWithinTheBarsRange) {
  Show(1500, 1200);  // a window of the work area's size, with both bars
  TViewerForm& v = Viewer();
  const int maxHorizontal = 1500 - v.ClientWidth();
  const int maxVertical = 1200 - v.ClientHeight();
  ASSERT_GT(maxHorizontal, 0);
  const POINT press = ScreenPoint(v.Handle(), 600, 500);
  PressButtonAt(press);
  ASSERT_TRUE(v.PicImage.Dragging());
  EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_HAND));
  struct Case {
    int dx, dy;  // pointer movement since the press
    int horizontal, vertical;
  };
  const Case cases[] = {
      {-100, -50, 100, 50},  // the picture follows the pointer
      {-40, -60, 40, 60},
      {30, 20, 0, 0},        // before the start: held at 0
      {-590, -490, std::min(590, maxHorizontal), std::min(490, maxVertical)},
      {-100, -50, 100, 50},
  };
  for (const Case& c : cases) {
    MoveMouseTo({press.x + c.dx, press.y + c.dy});
    EXPECT_EQ(v.ScrollPosition(SB_HORZ), c.horizontal) << c.dx << ", " << c.dy;
    EXPECT_EQ(v.ScrollPosition(SB_VERT), c.vertical) << c.dx << ", " << c.dy;
    EXPECT_EQ(v.PicImage.Left(), -c.horizontal);
  }
  // Over the window's own scroll bar the pointer is off the picture: no scrolling.
  RECT window{};
  ::GetWindowRect(v.Handle(), &window);
  MoveMouseTo({press.x - 300, window.bottom - 10});
  EXPECT_EQ(v.ScrollPosition(SB_HORZ), 100);
  EXPECT_EQ(v.ScrollPosition(SB_VERT), 50);
  ReleaseButtonAt({press.x - 300, window.bottom - 10});
  EXPECT_FALSE(v.PicImage.Dragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  // The drag is over: moving on scrolls nothing.
  MoveMouseTo({press.x - 50, press.y - 50});
  EXPECT_EQ(v.ScrollPosition(SB_HORZ), 100);
}

TEST_F(ViewerMouseTest, APictureThatFitsTheWindowIsDraggedWithoutScrolling) {
  Show(300, 200);
  PressButtonAt(OnPicture(150, 100));
  EXPECT_TRUE(Viewer().PicImage.Dragging());
  MoveMouseTo(OnPicture(100, 50));
  EXPECT_EQ(Viewer().ScrollPosition(SB_HORZ), 0);
  EXPECT_EQ(Viewer().ScrollPosition(SB_VERT), 0);
  EXPECT_EQ(Viewer().PicImage.Left(), 0);
  ReleaseButtonAt(OnPicture(100, 50));
  EXPECT_FALSE(Viewer().PicImage.Dragging());
}

}  // namespace
