// Times the viewer from a command to the picture laid out, on files it makes
// itself: a 24-megapixel JPEG dropped in the windowed and the full-screen
// view, "next" through a folder of 200 BMP files of 1 MB, and a folder of
// 10 000 files dropped. `load_timer memory` instead measures, in a fresh
// process, the peak private bytes of one load of the JPEG. Runs under Wine in
// a display; not a test.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "app/Globals.h"
#include "app/ProgramWindows.h"
#include "codecs/BmpWriter.h"
#include "codecs/JpegReader.h"
#include "codecs/JpegWriter.h"
#include "plugins/WholeFile.h"
#include "ui/Application.h"
#include "ui/FileWriting.h"
#include "ui/Screen.h"
#include "viewer/Viewer.h"

namespace {

constexpr int kJpegWidth = 6000;
constexpr int kJpegHeight = 4000;
constexpr int kBmpFiles = 200;
constexpr int kManyFiles = 10000;

using Clock = std::chrono::steady_clock;

double MillisecondsOf(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Summary {
  double median, best, worst;
};

Summary Repeat(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(MillisecondsOf(work));
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front(), times.back()};
}

// A photograph-like picture: smooth gradients with fine texture, so that the
// file is as large as a real q90 photograph of that size (about 8 MB).
std::string MakeJpeg(const std::string& folder) {
  const std::string path = folder + "\\big.jpg";
  if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
  const size_t stride = static_cast<size_t>(kJpegWidth) * 3;
  std::vector<uint8_t> rows(stride * kJpegHeight);
  uint32_t noise = 12345;
  for (int y = 0; y < kJpegHeight; ++y) {
    for (int x = 0; x < kJpegWidth; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 28) - 8;
      uint8_t* p = &rows[y * stride + x * 3];
      p[0] = static_cast<uint8_t>(std::clamp(x * 255 / kJpegWidth + grain, 0, 255));
      p[1] = static_cast<uint8_t>(std::clamp(y * 255 / kJpegHeight + grain, 0, 255));
      p[2] = static_cast<uint8_t>(std::clamp(((x / 40 + y / 40) % 2) * 90 + 80 + grain, 0, 255));
    }
  }
  std::vector<uint8_t> file;
  codecs::EncodeJpeg(kJpegWidth, kJpegHeight, {rows.data(), static_cast<ptrdiff_t>(stride)}, file);
  ui::WriteWholeFile(path, file);
  return path;
}

// 200 pictures of 592 x 592 at 24 bits: 1 MB each with the headers.
std::string MakeBmpFolder(const std::string& base) {
  const std::string folder = base + "\\bmps";
  if (::CreateDirectoryA(folder.c_str(), nullptr) == FALSE) return folder;
  const codecs::PictureShape shape{592, 592, codecs::PixelLayout::Bits24, {}};
  const size_t stride = codecs::DibStride(shape.width, shape.layout);
  std::vector<uint8_t> rows(stride * shape.height);
  std::vector<uint8_t> file;
  for (int i = 0; i < kBmpFiles; ++i) {
    std::fill(rows.begin(), rows.end(), static_cast<uint8_t>(i));
    codecs::EncodeBmp(shape, {rows.data(), static_cast<ptrdiff_t>(stride)}, file);
    char name[32];
    std::snprintf(name, sizeof(name), "\\P%03d.bmp", i);
    ui::WriteWholeFile(folder + name, file);
  }
  return folder;
}

std::string MakeManyFiles(const std::string& base) {
  const std::string folder = base + "\\many";
  if (::CreateDirectoryA(folder.c_str(), nullptr) == FALSE) return folder;
  for (int i = 0; i < kManyFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "\\IMG_%05d.jpg", i);
    ui::WriteWholeFile(folder + name, {});
  }
  return folder;
}

double DecodeAlone(const std::string& jpeg) {
  const FileBytes bytes = ReadWholeFile(jpeg);
  std::vector<uint8_t> rows(static_cast<size_t>(kJpegWidth) * 3 * kJpegHeight);
  return MillisecondsOf([&] {
    codecs::JpegReader reader({reinterpret_cast<const uint8_t*>(bytes.buffer.data()), static_cast<size_t>(bytes.length)});
    reader.ReadHeader();
    reader.Decode({rows.data(), static_cast<ptrdiff_t>(kJpegWidth) * 3});
  });
}

size_t PrivateBytes(bool peak) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
  // Wine leaves PrivateUsage at 0; the page-file figures are the private bytes.
  return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

int MeasureMemory(const std::string& jpeg) {
  auto windows = std::make_unique<ProgramWindows>();
  windows->viewer->Show();
  const size_t before = PrivateBytes(false);
  windows->viewer->WMDropFiles(MakeDrop(jpeg));
  const size_t peak = PrivateBytes(true);
  const double picture = static_cast<double>(kJpegWidth) * kJpegHeight * 3;
  std::printf("peak private bytes of one load of the 24-megapixel JPEG: %.1f MB over %.1f MB before; "
              "%.2f x the decoded picture (%.1f MB)\n",
              (peak - before) / 1e6, before / 1e6, (peak - before) / picture, picture / 1e6);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string base = BenchFolder("pixolet-load-bench");
  OverrideProgramFolder(base);
  OverrideProgramArguments(std::vector<std::string>{});
  const std::string jpeg = MakeJpeg(base);
  if (argc > 1 && std::strcmp(argv[1], "memory") == 0) return MeasureMemory(jpeg);
  const std::string bmps = MakeBmpFolder(base);
  const std::string many = MakeManyFiles(base);
  std::printf("files in %s (the JPEG is %s)\n", base.c_str(), jpeg.c_str());

  const double decode = Repeat(5, [&] { DecodeAlone(jpeg); }).median;
  auto windows = std::make_unique<ProgramWindows>();
  TViewerForm& viewer = *windows->viewer;
  viewer.Show();
  const Summary windowed = Repeat(5, [&] { viewer.WMDropFiles(MakeDrop(jpeg)); });
  viewer.FullScrMenu->SetChecked(true);
  const Summary fullScreen = Repeat(5, [&] { viewer.WMDropFiles(MakeDrop(jpeg)); });
  viewer.FullScrMenu->SetChecked(false);

  viewer.WMDropFiles(MakeDrop(bmps));
  std::vector<double> steps;
  while (viewer.NextMenu->Enabled()) steps.push_back(MillisecondsOf([&] { viewer.NextMenu->Click(); }));
  std::sort(steps.begin(), steps.end());

  const Summary manyDrop = Repeat(5, [&] { viewer.WMDropFiles(MakeDrop(many)); });

  std::printf("JPEG %d x %d q90, decode alone: %.1f ms\n", kJpegWidth, kJpegHeight, decode);
  std::printf("  dropped, windowed view:   median %.1f ms (best %.1f, worst %.1f)\n", windowed.median, windowed.best,
              windowed.worst);
  std::printf("  dropped, full screen:     median %.1f ms (best %.1f, worst %.1f), %.2f x decode alone\n",
              fullScreen.median, fullScreen.best, fullScreen.worst, fullScreen.median / decode);
  std::printf("next through %zu BMP files of 1 MB: median %.2f ms, worst %.2f ms\n", steps.size(),
              steps[steps.size() / 2], steps.back());
  std::printf("folder of %d files dropped (list, drop-down, first load, layout): median %.1f ms (best %.1f, "
              "worst %.1f)\n",
              kManyFiles, manyDrop.median, manyDrop.best, manyDrop.worst);
  return 0;
}
