#include <algorithm>
#include <functional>
#include <set>

#include "PluginTestSupport.h"
#include "app/Globals.h"
#include "plugins/SpiFunc.h"

using namespace plugin_testing;
using testing_support::ScriptedDialogs;
using testing_support::TempDir;

namespace {

using PluginTableTest = PluginHostTest;

std::set<std::string> LoadedNames() {
  std::set<std::string> names;
  for (int row = 0; row < PluginCount; ++row) names.insert(PluginTable[row].fileName);
  return names;
}

TEST_F(PluginTableTest, LoadsEveryLibraryNamedSpiWhateverItsCaseAndAttributes) {
  TempDir dir;
  CopyPlugin("tpic", dir / "plain.spi");
  CopyPlugin("tpic", dir / "CAPITAL.SPI");
  CopyPlugin("tpic", dir / "hidden.spi");
  CopyPlugin("tpic", dir / "readonly.spi");
  CopyPlugin("tpic", dir / "other.dll");
  ::SetFileAttributesA((dir / "hidden.spi").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ::SetFileAttributesA((dir / "readonly.spi").c_str(), FILE_ATTRIBUTE_READONLY);
  ::CreateDirectoryA((dir / "folder.spi").c_str(), nullptr);
  testing_support::WriteFileBytes(dir / "broken.spi", "not a library at all");

  LoadPlugins(dir.Path() + "\\");

  EXPECT_EQ(LoadedNames(), (std::set<std::string>{"plain.spi", "CAPITAL.SPI", "hidden.spi", "readonly.spi"}));
  for (int row = 0; row < PluginCount; ++row) {
    EXPECT_NE(PluginTable[row].handle, nullptr);
    EXPECT_FALSE(PluginTable[row].isArchive);
  }
}

TEST_F(PluginTableTest, AFolderOfThreeHundredLibrariesFillsTheTableAndNoMore) {
  TempDir dir;
  for (int i = 0; i < 300; ++i) CopyPlugin("tpic", dir / (std::to_string(i) + ".spi"));
  LoadPlugins(dir.Path() + "\\");
  EXPECT_EQ(PluginCount, 256);
  EXPECT_EQ(LoadedNames().size(), 256u);
  LoadPlugin(BuiltPlugin("tarc"));
  EXPECT_EQ(PluginCount, 256);
}

TEST_F(PluginTableTest, AMissingOrFailingLibraryLeavesItsRowFreeAndAMissingFolderLoadsNothing) {
  TempDir dir;
  testing_support::WriteFileBytes(dir / "broken.spi", "MZ but nothing else");
  LoadPlugin(BuiltPlugin("tpic"));
  LoadPlugin(dir / "broken.spi");
  LoadPlugin(dir / "absent.spi");
  LoadPlugin(dir.Path());
  EXPECT_EQ(PluginCount, 1);
  LoadPlugin(BuiltPlugin("tarc"));
  ASSERT_EQ(PluginCount, 2);
  EXPECT_EQ(PluginTable[1].fileName, "tarc.spi");

  LoadPlugins(dir / "nowhere\\");
  EXPECT_EQ(PluginCount, 0);
  EXPECT_TRUE(Log().empty());
}

TEST_F(PluginTableTest, DescriptionIsLoggedInFourLinesAndTheApiVersionSetsTheArchiveFlag) {
  for (const auto* name : {"tpic", "tarc", "tlower"}) LoadPlugin(BuiltPlugin(name));
  ASSERT_EQ(PluginCount, 3);
  for (int row = 0; row < 3; ++row) LogPluginInfo(row);
  const std::vector<std::string> expected = {
      "----------------------------------------", "APIバージョン : 00IN",
      "Plug-in名     : tpic",                      "ファイル形式  : *.tpic: Test picture; ",
      "----------------------------------------", "APIバージョン : 00AM",
      "Plug-in名     : tarc",                      "ファイル形式  : *.tarc: Test archive; ",
      "----------------------------------------", "APIバージョン : 00in",
      "Plug-in名     : tlower",                    "ファイル形式  : *.tpic: Test picture; "};
  EXPECT_EQ(Log(), expected);
  EXPECT_FALSE(PluginTable[0].isArchive);
  EXPECT_TRUE(PluginTable[1].isArchive);
  EXPECT_TRUE(PluginTable[2].isArchive);  // "00in" is not "00IN"
}

TEST_F(PluginTableTest, WithoutGetPluginInfoOrAnInfoZeroAnswerTheFlagIsNotTakenFromTheVersion) {
  LoadPlugin(BuiltPlugin("tbare"));
  LoadPlugin(BuiltPlugin("tpic"));
  PluginTable[0].isArchive = true;
  PluginTable[1].isArchive = true;
  Control(1).apiVersion[0] = '\0';  // info 0 answers 0
  LogPluginInfo(0);
  LogPluginInfo(1);
  EXPECT_FALSE(PluginTable[0].isArchive);
  EXPECT_TRUE(PluginTable[1].isArchive);
  const std::vector<std::string> expected = {"Plug-in名     : tpic", "ファイル形式  : *.tpic: Test picture; "};
  EXPECT_EQ(Log(), expected);
}

TEST_F(PluginTableTest, WithDebuggingOffNothingIsLoggedButFlagsAreSet) {
  DebugEnabled = false;
  LoadBuilt({"tpic", "tarc"});
  bool isArchive = false;
  EXPECT_EQ(PluginIsSupported(0, BuiltPlugin("tpic"), isArchive), 0);
  EXPECT_TRUE(Log().empty());
  EXPECT_FALSE(PluginTable[0].isArchive);
  EXPECT_TRUE(PluginTable[1].isArchive);
}

TEST_F(PluginTableTest, ACrashingGetPluginInfoCountsAsNoAnswer) {
  LoadPlugin(BuiltPlugin("tarc"));
  Control(0).faultPlaces = kInPluginInfo;
  for (const auto kind : {kAccessViolation, kRaisedException}) {
    Control(0).faultKind = kind;
    LogPluginInfo(0);
  }
  EXPECT_FALSE(PluginTable[0].isArchive);
  EXPECT_EQ(Log(), (std::vector<std::string>(2, "ファイル形式  : ")));
}

TEST_F(PluginTableTest, APluginIsNotAskedAgainAfterItsGetPluginInfoCrashed) {
  struct Case {
    int32_t crashFrom;
    uint32_t calls;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {0, 1, {"ファイル形式  : "}},
      {1, 2, {"----------------------------------------", "APIバージョン : 00AM", "ファイル形式  : "}},
      {3, 4,
       {"----------------------------------------", "APIバージョン : 00AM", "Plug-in名     : tarc",
        "ファイル形式  : *.tarc"}},
  };
  LoadPlugin(BuiltPlugin("tarc"));
  Control(0).faultPlaces = kInPluginInfo;
  Control(0).faultKind = kAccessViolation;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.crashFrom);
    ClearLog();
    Control(0).pluginInfoCalls = 0;
    Control(0).faultInfoFrom = c.crashFrom;
    LogPluginInfo(0);
    EXPECT_EQ(Control(0).pluginInfoCalls, c.calls);
    EXPECT_EQ(Log(), c.log);
  }
}

TEST_F(PluginTableTest, UnloadedRowsAreNeverCalled) {
  LoadBuilt({"tpic"});
  UnloadPlugins();
  bool isArchive = true;
  EXPECT_EQ(PluginIsSupported(0, BuiltPlugin("tpic"), isArchive), 0);
  EXPECT_FALSE(isArchive);
  LogPluginInfo(0);
  EXPECT_TRUE(Log().empty());
}

class PluginFolderCommandTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    CopyPlugin("tpic", first_ / "a.spi");
    CopyPlugin("tpic", first_ / "b.spi");
    CopyPlugin("tarc", second_ / "a.spi");
    PluginDir = first_.Path() + "\\";
    LoadPlugins(PluginDir);
    for (int row = 0; row < PluginCount; ++row) LogPluginInfo(row);
    ClearLog();
  }
  void TearDown() override {
    PluginHostTest::TearDown();
    PluginDir.clear();
  }
  TempDir first_, second_;
};

TEST_F(PluginFolderCommandTest, OkReloadsAndDescribesThePluginsOfTheChosenFolder) {
  ScriptedDialogs dialogs;
  dialogs.folderAnswers.push_back(second_.Path());
  ChangePluginFolder(nullptr);

  ASSERT_EQ(dialogs.folderRequests, (std::vector<std::string>{first_.Path() + "\\"}));
  EXPECT_EQ(PluginDir, second_.Path() + "\\");
  ASSERT_EQ(PluginCount, 1);
  EXPECT_TRUE(PluginTable[0].isArchive);
  EXPECT_EQ(Log().size(), 4u);
  EXPECT_EQ(Log()[1], "APIバージョン : 00AM");
}

// A window that runs a command when it gets WM_APP, as a menu command of the
// program would when its message arrives inside a plug-in's message loop.
class CommandWindow {
 public:
  explicit CommandWindow(std::function<void()> command) : command_(std::move(command)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PixoletTestCommand";
    ::RegisterClassA(&windowClass);
    hwnd_ = ::CreateWindowExA(0, "PixoletTestCommand", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~CommandWindow() { ::DestroyWindow(hwnd_); }
  uint32_t Handle() const { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd_)); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CommandWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_APP && self) self->command_();
    return msg == WM_APP ? 0 : ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  std::function<void()> command_;
  HWND hwnd_ = nullptr;
};

TEST_F(PluginFolderCommandTest, AReloadOrUnloadAskedForInsideAPluginsMessageLoopWaitsForItsReturn) {
  struct Case {
    const char* what;
    std::function<void()> command;
    std::string dirAfter;
    std::vector<std::string> logAfterAnswer;
  };
  const std::string second = second_.Path() + "\\";
  const Case cases[] = {
      {"plug-in folder chosen", [] { ChangePluginFolder(nullptr); }, second,
       {"----------------------------------------", "APIバージョン : 00AM", "Plug-in名     : tarc",
        "ファイル形式  : *.tarc: Test archive; "}},
      {"program closed", [] { UnloadPlugins(); }, first_.Path() + "\\", {}},
  };
  ScriptedDialogs dialogs;
  testing_support::WriteFileBytes(first_ / "x.tpic", SmallPictureFile());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PluginDir = first_.Path() + "\\";
    UnloadPlugins();
    LoadPlugins(PluginDir);
    ASSERT_EQ(PluginCount, 2);
    ClearLog();
    dialogs.folderAnswers.assign(1, second_.Path());
    int32_t countSeenInside = -1;
    CommandWindow window([&] {
      c.command();
      countSeenInside = PluginCount;
    });
    Control(0).postTarget = window.Handle();
    Control(0).postMessage = WM_APP;
    bool isArchive = true;
    // The plug-in's code runs on after the command and gives its own answer.
    EXPECT_EQ(PluginIsSupported(0, first_ / "x.tpic", isArchive), 1);
    EXPECT_FALSE(isArchive);
    EXPECT_EQ(countSeenInside, 2) << "the table changed under the plug-in";
    // Then the change is made.
    EXPECT_EQ(::GetModuleHandleA((first_ / "a.spi").c_str()), nullptr);
    EXPECT_EQ(PluginDir, c.dirAfter);
    const auto log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[2], "サポート有無  : あり（x.tpic）");
    EXPECT_EQ(std::vector<std::string>(log.begin() + 3, log.end()), c.logAfterAnswer);
  }
}

TEST_F(PluginFolderCommandTest, CancelChangesNothing) {
  ScriptedDialogs dialogs;
  dialogs.folderAnswers.push_back(std::nullopt);
  const HMODULE before = PluginTable[0].handle;
  ChangePluginFolder(nullptr);
  EXPECT_EQ(PluginDir, first_.Path() + "\\");
  EXPECT_EQ(PluginCount, 2);
  EXPECT_EQ(PluginTable[0].handle, before);
  EXPECT_TRUE(Log().empty());
}

}  // namespace

namespace {

TEST_F(PluginTableTest, ALibraryThatAPluginNeedsIsNeverTakenFromTheCurrentFolder) {
  TempDir dir;
  CopyPlugin("tneeds", dir / "needs.spi");
  const std::string built = BuiltPlugin("tpic");
  const std::string builtFolder = built.substr(0, built.rfind('\\'));
  char saved[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, saved);
  ::SetCurrentDirectoryA((builtFolder + "\\impostor").c_str());

  LoadPlugins(dir.Path() + "\\");
  EXPECT_EQ(PluginCount, 0);
  ::CopyFileA((builtFolder + "\\depend\\tdepend.dll").c_str(), (dir / "tdepend.dll").c_str(), FALSE);
  LoadPlugins(dir.Path() + "\\");
  ASSERT_EQ(PluginCount, 1);
  LogPluginInfo(0);
  EXPECT_EQ(Log()[2], "Plug-in名     : depend");

  ::SetCurrentDirectoryA(saved);
  UnloadPlugins();
}

}  // namespace
