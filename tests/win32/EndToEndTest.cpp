// Starts the real pixolet.exe in a temporary program folder, as a user would.
#include <gtest/gtest.h>

#include <string>

#include "ArchiveFixtures.h"
#include "PictureFixtures.h"
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


// pixolet.exe copied into a fresh program folder, started with a command line.
class Pixolet {
 public:
  Pixolet() { copied_ = ::CopyFileA(BuiltExe().c_str(), Exe().c_str(), FALSE) != FALSE; }
  ~Pixolet() {
    if (!process_.hProcess) return;
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 1);
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
  }
  Pixolet(const Pixolet&) = delete;
  Pixolet& operator=(const Pixolet&) = delete;

  std::string Exe() const { return program / "pixolet.exe"; }
  // Starts the program in `folder` (the program folder when empty) and waits
  // for its viewer window.
  HWND Start(const std::string& arguments, const std::string& folder = {}) {
    if (!copied_) return nullptr;
    STARTUPINFOA startup{sizeof(startup)};
    std::string commandLine = "\"" + Exe() + "\"" + (arguments.empty() ? "" : " " + arguments);
    const std::string current = folder.empty() ? program.Path() : folder;
    if (!::CreateProcessA(Exe().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, current.c_str(),
                          &startup, &process_)) {
      return nullptr;
    }
    return Window("TViewerForm");
  }
  HWND Window(const char* className) const { return WaitForVisibleWindow(process_.dwProcessId, className); }
  // Closes the viewer as its close box does; the exit code, or -1 when it did not end.
  long Close() {
    ::PostMessageA(Window("TViewerForm"), WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) return -1;
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process_.hProcess, &exitCode);
    return static_cast<long>(exitCode);
  }

  TempDir program;

 private:
  bool copied_ = false;
  PROCESS_INFORMATION process_{};
};

TEST(EndToEnd, StartsWithItsWindowsAndWritesTheSettingsWhenClosed) {
  Pixolet pixolet;
  WriteFileBytes(pixolet.program / "pixostd.ini", "[Debug]\r\nEnable=1\r\n[Viewer]\r\nLeft=40\r\nTop=50\r\n");
  HWND viewer = pixolet.Start("");
  HWND control = pixolet.Window("TControlForm");
  HWND output = pixolet.Window("TOutputForm");
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
  EXPECT_EQ(pixolet.Close(), 0);

  for (const char* folder : {"Img", "Img\\0", "Img\\9", "temp"}) {
    EXPECT_TRUE(FolderExists(pixolet.program / folder)) << folder;
  }
  const std::string ini = ReadFileBytes(pixolet.program / "pixostd.ini");
  EXPECT_EQ(ini.find("[Debug]\r\nEnable=1\r\n"), 0u) << ini;
  for (const char* line : {"[Viewer]\r\nLeft=40\r\nTop=50\r\n", "[Control]\r\nVisible=1\r\nOption=0\r\n",
                           "GarbagePrompt=1\r\n", "[Susie]\r\nPlugIn="}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
  }
}

TEST(EndToEnd, ShowsThePicturesNamedOnTheCommandLineAtTheirOwnSize) {
  TempDir pictures;
  for (const char* name : {"01-sunset.jpg", "04-star.bmp"}) {
    ASSERT_TRUE(::CopyFileA(SamplePicture(name).c_str(), (pictures / name).c_str(), FALSE)) << name;
  }
  Pixolet pixolet;
  // Relative names, as typed in the folder that holds the pictures.
  HWND viewer = pixolet.Start("01-sunset.jpg 04-star.bmp", pictures.Path());
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
  // On the last entry neither a double click nor Up moves on, and nothing wraps.
  ::SendMessageA(viewer, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageA(viewer, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(WindowText(viewer), "Pixolet [04-star.bmp : 2/2]");
  EXPECT_EQ(pixolet.Close(), 0);
}

TEST(EndToEnd, AFolderWithNothingInItShowsNoFile) {
  TempDir pictures;
  Pixolet pixolet;
  HWND viewer = pixolet.Start("\"" + pictures.Path() + "\"");
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(WindowText(viewer), "Pixolet [Error!! No File : 1/0]");
  RECT client{};
  ::GetClientRect(viewer, &client);
  EXPECT_EQ(client.right, 285);
  EXPECT_EQ(client.bottom, 149);
  EXPECT_EQ(pixolet.Close(), 0);
}

TEST(EndToEnd, ADigitKeyMovesTheShownFileIntoItsSortingFolder) {
  TempDir pictures;
  const std::string original = pictures / "04-star.bmp";
  ASSERT_TRUE(::CopyFileA(SamplePicture("04-star.bmp").c_str(), original.c_str(), FALSE));
  Pixolet pixolet;
  HWND viewer = pixolet.Start("\"" + original + "\"");
  ASSERT_NE(viewer, nullptr);
  // Posted, so that the program's own message loop routes it to the shortcut.
  ::PostMessageA(viewer, WM_KEYDOWN, '7', 0);
  const std::string moved = pixolet.program / "Img\\7\\04-star.bmp";
  for (int i = 0; i < 200 && !FileExists(moved); ++i) ::Sleep(50);
  EXPECT_TRUE(FileExists(moved));
  EXPECT_FALSE(FileExists(original));
  EXPECT_EQ(WindowText(viewer), "Pixolet [04-star.bmp : 1/1]");
  EXPECT_EQ(pixolet.Close(), 0);
}

// The items of the control window's drop-down list, in Shift-JIS. Asked for
// as wide text: Wine hands another process's item text over unconverted.
std::vector<std::string> DropDownItems(HWND control) {
  HWND combo = ::FindWindowExA(control, nullptr, "ComboBox", nullptr);
  std::vector<std::string> items;
  const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t wide[256] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
    char text[512] = {};
    ::WideCharToMultiByte(932, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    items.push_back(text);
  }
  return items;
}

// Our plug-ins in the program's default plug-in folder, as the build lays them out.
class WithOwnPlugins : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CreateDirectoryA((pixolet_.program / "susie").c_str(), nullptr);
    for (const char* name : {"ifpixolet.spi", "axpixolet.spi"}) {
      const std::string built = HostPath(std::string(OWN_PLUGINS_DIR) + "/" + name);
      ASSERT_TRUE(::CopyFileA(built.c_str(), (pixolet_.program / ("susie\\" + std::string(name))).c_str(), FALSE));
    }
  }
  Pixolet pixolet_;
  TempDir pictures_;
};

TEST_F(WithOwnPlugins, PngGifAndWebpAreShownAtTheirOwnSize) {
  using namespace spi_testing;
  WriteFileBytes(pictures_ / "a.png", EncodePng(Gradient(160, 120), true));
  WriteFileBytes(pictures_ / "b.gif", EncodeGif(150, 100, {{0, 0, 0}, {255, 0, 0}},
                                                {GifFrame{0, 0, 150, 100, std::vector<uint8_t>(15000, 1)}}));
  WriteFileBytes(pictures_ / "c.webp", EncodeWebp(Gradient(140, 90), false));
  WriteFileBytes(pictures_ / "d.png", PngSuiteFile("basn6a16.png"));  // 16-bit RGBA
  HWND viewer = pixolet_.Start("a.png b.gif c.webp d.png", pictures_.Path());
  ASSERT_NE(viewer, nullptr);
  struct Shown {
    const char* caption;
    int width, height;
  };
  for (const Shown& shown : {Shown{"Pixolet [a.png : 1/4]", 160, 120}, Shown{"Pixolet [b.gif : 2/4]", 150, 100},
                             Shown{"Pixolet [c.webp : 3/4]", 140, 90}}) {
    EXPECT_EQ(WindowText(viewer), shown.caption);
    RECT client{};
    ::GetClientRect(viewer, &client);
    EXPECT_EQ(client.right, shown.width) << shown.caption;
    EXPECT_EQ(client.bottom, shown.height) << shown.caption;
    ::SendMessageA(viewer, WM_KEYDOWN, VK_RIGHT, 0);
  }
  EXPECT_EQ(WindowText(viewer), "Pixolet [d.png : 4/4]");
  EXPECT_EQ(pixolet_.Close(), 0);
}

TEST_F(WithOwnPlugins, ArchivesAreExpandedIntoTheListWithTheirJapaneseNames) {
  using namespace spi_testing;
  const std::string png = EncodePng(Gradient(160, 120));
  const std::string archives[] = {
      // Shift-JIS names as DOS-era tools stored them: 表示.png, 画像\ソフト.png.
      HandMadeZip({{"\x95\x5c\x8e\xa6.png", png, true}, {"\x89\xe6\x91\x9c\\\x83\x5c\x83\x74\x83\x67.png", png}}),
      WriteArchive("7zip", "", {{L"表示.png", png}, {L"画像/ソフト.png", png}}),
  };
  for (const std::string& archive : archives) {
    WriteFileBytes(pictures_ / "pictures.arc", archive);
    HWND viewer = pixolet_.Start("pictures.arc", pictures_.Path());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(WindowText(viewer), "Pixolet [表示.png : 1/2]");
    EXPECT_EQ(DropDownItems(pixolet_.Window("TControlForm")), (std::vector<std::string>{"表示.png", "ソフト.png"}));
    ::SendMessageA(viewer, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(WindowText(viewer), "Pixolet [ソフト.png : 2/2]");
    RECT client{};
    ::GetClientRect(viewer, &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(pixolet_.Close(), 0);
  }
}

}  // namespace
