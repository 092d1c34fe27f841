// Timer program: how long it takes to ask 20 loaded plug-ins whether they
// support one file, as the viewer does for each file it shows. Every file is
// one that no plug-in supports, so all 20 are asked. Prints the median over
// many files. Run under Wine: plugin_bench.exe [files] [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "plugins/SpiFunc.h"

namespace {

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full = path;
  return full.substr(0, full.rfind('\\'));
}

std::string MakeFolder(const std::string& name) {
  char base[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, base);
  const std::string folder = std::string(base) + name + std::to_string(::GetCurrentProcessId());
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteFile(const std::string& path, size_t size) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const std::string bytes(size, 'j');
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
  ::CloseHandle(file);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double AskAll(const std::string& file) {
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  bool isArchive = false;
  for (int row = 0; row < PluginCount; ++row) {
    if (PluginIsSupported(row, file, isArchive) == 1) break;
  }
  ::QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

// The part of the cost that is the file's opening and closing, once per plug-in.
double OpenAndCloseOnly(const std::string& file) {
  LARGE_INTEGER start, end;
  ::QueryPerformanceCounter(&start);
  for (int row = 0; row < PluginCount; ++row) {
    ::CloseHandle(::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  ::QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::atoi(argv[1]) : 200;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string plugins = MakeFolder("pixolet-bench-spi-");
  const std::string pictures = MakeFolder("pixolet-bench-pic-");
  for (int i = 0; i < 20; ++i) {
    const char* built = i % 2 ? "tarc" : "tpic";
    ::CopyFileA((ExeFolder() + "\\plugins\\" + built + ".spi").c_str(),
                (plugins + "\\p" + std::to_string(i) + ".spi").c_str(), FALSE);
  }
  LoadPlugins(plugins + "\\");
  for (int row = 0; row < PluginCount; ++row) LogPluginInfo(row);
  for (int i = 0; i < files; ++i) WriteFile(pictures + "\\f" + std::to_string(i) + ".jpx", 64 * 1024);

  std::vector<double> times, openTimes;
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < files; ++i) {
      const std::string file = pictures + "\\f" + std::to_string(i) + ".jpx";
      times.push_back(AskAll(file));
      openTimes.push_back(OpenAndCloseOnly(file));
    }
  }
  std::sort(times.begin(), times.end());
  std::printf("plug-ins loaded: %d, files: %d x %d rounds\n", PluginCount, files, rounds);
  std::printf("ask all plug-ins about one file: median %.1f us, p90 %.1f us, min %.1f us\n",
              times[times.size() / 2] * 1e6, times[times.size() * 9 / 10] * 1e6, times.front() * 1e6);
  std::printf("of which opening and closing the file for each plug-in: median %.1f us\n", Median(openTimes) * 1e6);

  UnloadPlugins();
  for (int i = 0; i < files; ++i) ::DeleteFileA((pictures + "\\f" + std::to_string(i) + ".jpx").c_str());
  for (int i = 0; i < 20; ++i) ::DeleteFileA((plugins + "\\p" + std::to_string(i) + ".spi").c_str());
  ::RemoveDirectoryA(pictures.c_str());
  ::RemoveDirectoryA(plugins.c_str());
  return 0;
}
