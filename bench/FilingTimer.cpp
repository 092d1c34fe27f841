// Times saving the full-screen picture (the screen's 1024 x 768 here) as JPEG
// and as BMP, and a slide show over 200 JPEGs of 2 megapixels at the shortest
// interval, 100 ms: the gaps between pictures on screen against the interval.
// Runs under Wine in a display; not a test.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "app/Globals.h"
#include "app/ProgramWindows.h"
#include "codecs/JpegWriter.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/FileWriting.h"
#include "viewer/Viewer.h"

namespace {

constexpr int kWidth = 1632;  // 2.0 megapixels
constexpr int kHeight = 1224;
constexpr int kPictures = 200;
constexpr int kInterval = 100;

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Every save dialog chooses `path`; nothing else is asked.
class SaveAnswers : public ui::Dialogs {
 public:
  std::string path;
  int ShowMessage(HWND, const std::string&, const std::string&, UINT) override { return IDOK; }
  bool OpenFiles(HWND, ui::FileDialogOptions&, std::vector<std::string>&) override { return false; }
  bool SaveFile(HWND, ui::FileDialogOptions& options) override {
    options.fileName = path;
    return true;
  }
  bool SelectFolder(HWND, std::string&) override { return false; }
  int ShellFileOperation(HWND, UINT, const std::string&, WORD) override { return 0; }
  void ShellOpen(HWND, const std::string&, const std::string&, int) override {}
};

// Smooth colour with a fine grain, about as costly to code as a photograph.
std::vector<uint8_t> PhotoLikeJpeg() {
  const size_t stride = size_t{kWidth} * 3;
  std::vector<uint8_t> rows(stride * kHeight);
  uint32_t noise = 1;
  for (size_t i = 0; i < rows.size(); ++i) {
    noise = noise * 1103515245u + 12345u;
    const size_t x = i % stride / 3;
    const size_t y = i / stride;
    rows[i] = static_cast<uint8_t>((x * 200 / kWidth + y * 50 / kHeight + i % 3 * 40 + (noise >> 29)) & 0xFF);
  }
  std::vector<uint8_t> file;
  codecs::EncodeJpeg(kWidth, kHeight, {rows.data(), static_cast<ptrdiff_t>(stride)}, file);
  return file;
}

std::string MakeFolder(const std::string& base, const std::vector<uint8_t>& jpeg) {
  const std::string folder = base + "\\show";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  for (int i = 0; i < kPictures; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "\\S%03d.jpg", i);
    ui::WriteWholeFile(folder + name, jpeg);
  }
  return folder;
}

void TimeSaves(TViewerForm& viewer, SaveAnswers& answers, const std::string& base) {
  for (const bool asBmp : {false, true}) {
    answers.path = base + (asBmp ? "\\saved.bmp" : "\\saved.jpg");
    ui::MenuItem* command = asBmp ? viewer.SaveBmpMenu : viewer.SaveJpgMenu;
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
      const auto start = Clock::now();
      command->Click();
      times.push_back(Since(start));
    }
    std::sort(times.begin(), times.end());
    std::printf("save the full-screen %d x %d picture as %s: median %.1f ms, best %.1f, worst %.1f\n",
                viewer.PicImage.Width(), viewer.PicImage.Height(), asBmp ? "BMP " : "JPEG", times[times.size() / 2],
                times.front(), times.back());
  }
}

// The show runs on the real message loop; each tick's handler returns once
// its picture is painted, which is when it is on screen.
void TimeShow(TViewerForm& viewer) {
  std::vector<Clock::time_point> shown;
  double drawing = 0;  // inside the tick handlers: loading, laying out, painting
  viewer.Timer.onTimer = [&viewer, &shown, &drawing] {
    const auto start = Clock::now();
    viewer.TimerTimer();
    drawing += Since(start);
    shown.push_back(Clock::now());
  };
  viewer.Timer.SetInterval(kInterval);
  viewer.SlideShowMenuClick();
  MSG msg;
  while (viewer.SlideShowMenu->Checked() && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ui::Application::Get().HandleMessage(msg);
  }
  std::vector<double> gaps;
  for (size_t i = 1; i < shown.size(); ++i) {
    gaps.push_back(std::chrono::duration<double, std::milli>(shown[i] - shown[i - 1]).count());
  }
  double sum = 0;
  for (double gap : gaps) sum += gap;
  std::printf("slide show over %d JPEGs of %d x %d at %d ms: %zu gaps, mean %.1f ms, worst %.1f ms; "
              "a tick's drawing took %.1f ms on average, the rest is the interval and the timer's lateness\n",
              kPictures, kWidth, kHeight, kInterval, gaps.size(), sum / gaps.size(),
              *std::max_element(gaps.begin(), gaps.end()), drawing / shown.size());
}

}  // namespace

int main() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string base = std::string(temp) + "pixolet-filing-bench";
  ::CreateDirectoryA(base.c_str(), nullptr);
  OverrideProgramFolder(base);
  OverrideProgramArguments(std::vector<std::string>{});
  const std::string folder = MakeFolder(base, PhotoLikeJpeg());
  SaveAnswers answers;
  ui::SetDialogs(&answers);

  auto windows = std::make_unique<ProgramWindows>();
  TViewerForm& viewer = *windows->viewer;
  viewer.Show();
  viewer.FullScrMenu->SetChecked(true);
  viewer.WMDropFiles(MakeDrop(folder + "\\S000.jpg"));
  TimeSaves(viewer, answers, base);
  viewer.FullScrMenu->SetChecked(false);

  viewer.WMDropFiles(MakeDrop(folder));
  TimeShow(viewer);
  ui::SetDialogs(nullptr);
  return 0;
}
