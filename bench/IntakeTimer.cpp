// Times taking a folder of 10 000 files into the file list and its drop-down
// mirror, as an intake does. Runs under Wine in a display; not a test.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "control/Control.h"
#include "ui/Application.h"
#include "viewer/Viewer.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kRuns = 7;

std::string MakeFolder(const std::string& base) {
  const std::string folder = base + "pixolet-intake-bench";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "\\IMG_%05d.jpg", i);
    HANDLE file = ::CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(file);
  }
  return folder;
}

double TimeIntake(TViewerForm& viewer, const std::string& folder) {
  const auto start = std::chrono::steady_clock::now();
  viewer.FNameListBox.Clear();
  ControlForm->FNameCmbBox.Clear();
  CurrentIndex = 0;
  viewer.AddPath(folder, true);
  viewer.RefillNameMirror();
  viewer.SetFileCount(viewer.FNameListBox.Count());
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = MakeFolder(temp);
  OverrideProgramFolder(folder);
  auto viewer = std::make_unique<TViewerForm>();
  ViewerForm = viewer.get();
  auto control = std::make_unique<TControlForm>();
  ControlForm = control.get();

  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) times.push_back(TimeIntake(*viewer, folder));
  std::sort(times.begin(), times.end());
  std::printf("folder of %d files: list %d entries, drop-down %d items\n", kFiles, viewer->FNameListBox.Count(),
              control->FNameCmbBox.Count());
  std::printf("intake (scan + mirror fill): median %.1f ms, best %.1f ms, worst %.1f ms over %d runs\n",
              times[kRuns / 2], times.front(), times.back(), kRuns);
  control.reset();
  viewer.reset();
  return 0;
}
