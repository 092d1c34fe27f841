// Times the display modes on a 1920 x 1080 screen with a 24-megapixel picture
// of the screen's shape: a mouse move during a selection, the zoom into a
// region of the whole screen against resampling that region alone, and
// entering full screen against the fit alone. Runs under Wine in a display;
// not a test.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "codecs/BmpWriter.h"
#include "ui/FileWriting.h"
#include "app/Globals.h"
#include "app/ProgramWindows.h"
#include "bench/TimerMedian.h"
#include "ui/Application.h"
#include "ui/Screen.h"
#include "viewer/ImgCtrlBitmap.h"
#include "viewer/LayoutMath.h"
#include "viewer/Viewer.h"

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kPictureWidth = 6528;  // 16:9, 24 megapixels
constexpr int kPictureHeight = 3672;

// A 24-bit BMP with smooth gradients and some texture.
std::string WritePicture(const std::string& folder) {
  const std::string path = folder + "\\big.bmp";
  const codecs::PictureShape shape{kPictureWidth, kPictureHeight, codecs::PixelLayout::Bits24, {}};
  const size_t stride = codecs::DibStride(shape.width, shape.layout);
  std::vector<uint8_t> rows(stride * kPictureHeight);
  for (int y = 0; y < kPictureHeight; ++y) {
    uint8_t* row = rows.data() + static_cast<size_t>(y) * stride;
    for (int x = 0; x < kPictureWidth; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 255 / kPictureWidth);
      row[3 * x + 1] = static_cast<uint8_t>(y * 255 / kPictureHeight);
      row[3 * x + 2] = static_cast<uint8_t>((x ^ y) & 0x3F);
    }
  }
  std::vector<uint8_t> file;
  codecs::EncodeBmp(shape, {rows.data(), static_cast<ptrdiff_t>(stride)}, file);
  ui::WriteWholeFile(path, file);
  return path;
}

// Alternating pointer positions, so that every move draws a band of another size.
double SelectionMove(TViewerForm& viewer, bool withPaint) {
  viewer.PicImageMouseDown(VK_LBUTTON, 100, 100);
  int step = 0;
  const double ms = MedianMilliseconds(201, [&] {
    const int reach = 1000 + (step++ % 2) * 700;
    viewer.PicImageMouseMove(reach, reach / 2);
    if (withPaint) ::UpdateWindow(viewer.PicImage.Handle());
  });
  viewer.MouseMode = 1;
  viewer.PicImageMouseUp(VK_LBUTTON, 0, 0);
  return ms;
}

}  // namespace

int main() {
  const std::string folder = BenchFolder("pixolet-modes-bench");
  OverrideProgramFolder(folder);
  OverrideProgramArguments(std::vector<std::string>{});
  ui::OverrideScreen(ui::ScreenMetrics{kScreenWidth, kScreenHeight, {0, 0, kScreenWidth, kScreenHeight - 40}});
  const std::string picture = WritePicture(folder);

  auto windows = std::make_unique<ProgramWindows>();
  TViewerForm& viewer = *windows->viewer;
  viewer.Show();
  viewer.WMDropFiles(MakeDrop(picture));

  // Entering full screen: one fit of the whole picture, no decode. The fit
  // alone resamples into a bitmap of the fitted size made for it.
  const layout::Placement fit = layout::FitToScreen(kScreenWidth, kScreenHeight, kPictureWidth, kPictureHeight);
  const double fitAlone = MedianMilliseconds(7, [&] {
    ui::Bitmap fitted;
    fitted.Reset(fit.width, fit.height, ui::PixelFormat::Bits24);
    ResampleBilinear(&fitted, &viewer.SourceBitmap);
  });
  std::vector<double> entries;
  for (int i = 0; i < 7; ++i) {
    const auto start = std::chrono::steady_clock::now();
    viewer.FullScrMenuClick();
    entries.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (i + 1 < 7) viewer.FullScrMenuClick();  // leaves, decoding again: not timed
  }
  std::sort(entries.begin(), entries.end());
  const double enter = entries[entries.size() / 2];
  // The repaint of the whole screen, which the layout ends with.
  const double paint = MedianMilliseconds(7, [&] { viewer.PicImage.Repaint(); });

  // Now in full screen: the picture fills the 1920 x 1080 screen.
  const double move = SelectionMove(viewer, false);
  const double moveAndPaint = SelectionMove(viewer, true);
  std::printf("screen %d x %d, picture %d x %d (shown %d x %d); repaint of the screen %.1f ms\n", kScreenWidth,
              kScreenHeight, kPictureWidth, kPictureHeight, fit.width, fit.height, paint);
  std::printf("mouse move during a selection: %.3f ms (%.3f ms with the repaint of the changed edges)\n", move,
              moveAndPaint);
  std::printf("entering full screen: %.1f ms; the fit alone %.1f ms: %.2f x (%.2f x without the repaint)\n", enter,
              fitAlone, enter / fitAlone, (enter - paint) / fitAlone);

  // Zooms into the whole screen and into a quarter of it, each time a zoom of
  // the view the last one left; against resampling such a region alone.
  for (const int divisor : {1, 2}) {
    const int width = kScreenWidth / divisor;
    const int height = kScreenHeight / divisor;
    const double zoom = MedianMilliseconds(7, [&] {
      viewer.MouseMode = 2;
      viewer.SelectionRect = {0, 0, width, height};
      viewer.PicImageMouseUp(VK_LBUTTON, 0, 0);
    });
    ui::Bitmap region;
    region.Reset(width, height, ui::PixelFormat::Bits24);
    ::BitBlt(region.Dc(), 0, 0, width, height, viewer.PicImage.Picture().Dc(), 0, 0, SRCCOPY);
    ui::Bitmap zoomed;
    zoomed.Reset(kScreenWidth, kScreenHeight, ui::PixelFormat::Bits24);
    const double alone = MedianMilliseconds(7, [&] { ResampleBilinear(&zoomed, &region); });
    std::printf("zoom into a %d x %d region: %.1f ms; resampling that region alone %.1f ms: %.2f x "
                "(%.2f x without the repaint)\n",
                width, height, zoom, alone, zoom / alone, (zoom - paint) / alone);
  }
  return 0;
}
