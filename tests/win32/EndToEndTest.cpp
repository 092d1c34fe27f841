// Starts the real pixolet.exe in a temporary program folder, as a user would.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

using namespace testing_support;

namespace {

std::string BuiltExe() { return HostPath(PIXOLET_EXE); }

struct FoundWindow {
  DWORD processId;
  const char* className;
  HWND hwnd;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
  auto* f = reinterpret_cast<FoundWindow*>(data);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof(name));
  if (owner != f->processId || std::string(name) != f->className) return TRUE;
  f->hwnd = hwnd;
  return FALSE;
}

HWND FindProcessWindow(DWORD processId, const char* className) {
  FoundWindow found{processId, className, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&found));
  return found.hwnd;
}

HWND WaitForVisibleWindow(DWORD processId, const char* className) {
  for (int i = 0; i < 300; ++i) {
    HWND hwnd = FindProcessWindow(processId, className);
    if (hwnd && ::IsWindowVisible(hwnd)) return hwnd;
    ::Sleep(50);
  }
  return nullptr;
}

std::string WindowText(HWND hwnd) {
  char text[256] = {};
  ::GetWindowTextA(hwnd, text, sizeof(text));
  return text;
}

TEST(EndToEnd, StartsWithItsWindowsAndWritesTheSettingsWhenClosed) {
  TempDir program;
  const std::string exe = program / "pixolet.exe";
  ASSERT_TRUE(::CopyFileA(BuiltExe().c_str(), exe.c_str(), FALSE)) << BuiltExe();
  WriteFileBytes(program / "pixostd.ini", "[Debug]\r\nEnable=1\r\n[Viewer]\r\nLeft=40\r\nTop=50\r\n");

  STARTUPINFOA startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + exe + "\"";
  ASSERT_TRUE(::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               program.Path().c_str(), &startup, &process));
  HWND viewer = WaitForVisibleWindow(process.dwProcessId, "TViewerForm");
  HWND control = WaitForVisibleWindow(process.dwProcessId, "TControlForm");
  HWND output = WaitForVisibleWindow(process.dwProcessId, "TOutputForm");
  ASSERT_NE(viewer, nullptr);
  EXPECT_NE(control, nullptr);
  EXPECT_NE(output, nullptr);
  EXPECT_EQ(WindowText(viewer), "Pixolet");
  EXPECT_EQ(WindowText(control), "ｺﾝﾄﾛｰﾙ");
  EXPECT_EQ(WindowText(output), "Infomation Output Window");
  RECT r{};
  ::GetWindowRect(viewer, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 50);

  ::PostMessageA(viewer, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);

  for (const char* folder : {"Img", "Img\\0", "Img\\9", "temp"}) {
    EXPECT_TRUE(FolderExists(program / folder)) << folder;
  }
  const std::string ini = ReadFileBytes(program / "pixostd.ini");
  EXPECT_EQ(ini.find("[Debug]\r\nEnable=1\r\n"), 0u) << ini;
  for (const char* line : {"[Viewer]\r\nLeft=40\r\nTop=50\r\n", "[Control]\r\nVisible=1\r\nOption=0\r\n",
                           "GarbagePrompt=1\r\n", "[Susie]\r\nPlugIn="}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
  }
}

std::string SamplePicture(const std::string& name) { return HostPath(PIXOLET_SAMPLES "/" + name); }

TEST(EndToEnd, ShowsThePicturesNamedOnTheCommandLineAtTheirOwnSize) {
  TempDir program;
  TempDir pictures;
  const std::string exe = program / "pixolet.exe";
  ASSERT_TRUE(::CopyFileA(BuiltExe().c_str(), exe.c_str(), FALSE));
  for (const char* name : {"01-sunset.jpg", "04-star.bmp"}) {
    ASSERT_TRUE(::CopyFileA(SamplePicture(name).c_str(), (pictures / name).c_str(), FALSE)) << name;
  }
  STARTUPINFOA startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  // Relative names, as typed in the folder that holds the pictures.
  std::string commandLine = "\"" + exe + "\" 01-sunset.jpg 04-star.bmp";
  ASSERT_TRUE(::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               pictures.Path().c_str(), &startup, &process));
  HWND viewer = WaitForVisibleWindow(process.dwProcessId, "TViewerForm");
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(WindowText(viewer), "Pixolet [01-sunset.jpg : 1/2]");
  RECT client{};
  ::GetClientRect(viewer, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);

  ::SendMessageA(viewer, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(WindowText(viewer), "Pixolet [04-star.bmp : 2/2]");
  ::GetClientRect(viewer, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 280);

  ::PostMessageA(viewer, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

}  // namespace
