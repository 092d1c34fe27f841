#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ProgramFixture.h"
#include "UserInput.h"
#include "core/SjisText.h"
#include "ui/Handles.h"

using namespace testing_support;

namespace {

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

TEST(Frame, FirstRunWithoutSettingsUsesTheDefaultsAndWritesEveryKeyAtClose) {
  ProgramFixture program;
  program.Start();
  TViewerForm& viewer = *program.viewer;
  TControlForm& control = *program.control;
  for (const char* folder : {"Img", "Img\\0", "Img\\5", "Img\\9", "temp"}) {
    EXPECT_TRUE(FolderExists(program.Path(folder))) << folder;
  }
  EXPECT_TRUE(sjis::SameText(CurrentFolder(), program.Path("temp")));
  EXPECT_EQ(viewer.Caption(), "Pixolet");
  EXPECT_EQ(viewer.Left(), 0);
  EXPECT_EQ(viewer.Top(), 0);
  EXPECT_EQ(control.Caption(), "ｺﾝﾄﾛｰﾙ");
  EXPECT_EQ(control.ClientHeight(), 55);
  EXPECT_EQ(control.ClientWidth(), 123);
  EXPECT_EQ(control.Left(), 1024 - control.Width());
  EXPECT_EQ(control.Top(), 0);
  EXPECT_TRUE(control.Visible());
  EXPECT_TRUE(control.StayOnTop());
  EXPECT_FALSE(program.output->Visible());
  EXPECT_TRUE(viewer.ControlMenu->Checked());
  EXPECT_TRUE(viewer.SearchSubDir->Checked());
  EXPECT_FALSE(viewer.AddAllFiles->Checked());
  EXPECT_FALSE(viewer.CenterMenu->Checked());
  EXPECT_FALSE(DebugEnabled);
  EXPECT_TRUE(GarbagePromptEnabled);
  EXPECT_EQ(PluginDir, program.Folder() + "\\susie\\");
  EXPECT_EQ(viewer.Timer.Interval(), 1000);
  EXPECT_EQ(control.UpDown.Position(), 1000);
  EXPECT_EQ(viewer.ViewState, 1);
  EXPECT_EQ(ui::Application::Get().Cursor(), ui::CursorOverride::Arrow);

  const std::string left = std::to_string(control.Left());
  EXPECT_EQ(program.CloseAndReadSettings(),
            "[Viewer]\r\nLeft=0\r\nTop=0\r\n"
            "[InitialDir]\r\nOpen=" + program.Folder() + "\r\nSave=" + program.Folder() + "\r\n"
            "[Control]\r\nVisible=1\r\nOption=0\r\nLeft=" + left + "\r\nTop=0\r\n"
            "[SlideShow]\r\nInterval=1000\r\n"
            "[Others]\r\nSearchSubDir=1\r\nAddAllFiles=0\r\nCenter=0\r\nGarbagePrompt=1\r\n"
            "[Susie]\r\nPlugIn=" + program.Folder() + "\\susie\\\r\n"
            "[Debug]\r\nEnable=0\r\n");
  EXPECT_FALSE(viewer.Visible());
  EXPECT_FALSE(control.Visible());
}

// Caption (with the shortcut after a tab), enabled, checked; "-" for a separator.
struct MenuRow {
  std::string text;
  bool enabled;
  bool checked;
};

std::vector<MenuRow> MenuRows(HMENU menu) {
  std::vector<MenuRow> rows;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    MENUITEMINFOA info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    ::GetMenuItemInfoA(menu, i, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      rows.push_back({"-", true, false});
    } else {
      rows.push_back({text, !(info.fState & MFS_DISABLED), (info.fState & MFS_CHECKED) != 0});
    }
  }
  return rows;
}

void ExpectRows(HMENU menu, const std::vector<MenuRow>& expected) {
  const std::vector<MenuRow> rows = MenuRows(menu);
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].text, expected[i].text) << i;
    EXPECT_EQ(rows[i].enabled, expected[i].enabled) << expected[i].text;
    EXPECT_EQ(rows[i].checked, expected[i].checked) << expected[i].text;
  }
}

TEST(Frame, PopupMenuHoldsEveryCommandWithItsShortcutAndState) {
  ProgramFixture program("[Others]\r\nCenter=1\r\n");
  program.Start();
  const HMENU menu = program.viewer->PopupMenu.Handle();
  ExpectRows(menu, {{"次の画像\tCtrl+N", false, false},
                    {"前の画像\tCtrl+B", false, false},
                    {"-", true, false},
                    {"開く\tCtrl+O", true, false},
                    {"保存(BMP)\tCtrl+W", false, false},
                    {"保存(JPG)\tAlt+W", false, false},
                    {"-", true, false},
                    {"フルスクリーン表示\tCtrl+F", false, false},
                    {"サイズ可変表示\tCtrl+G", false, false},
                    {"画面中央に表示\tCtrl+C", true, true},
                    {"-", true, false},
                    {"オプション", true, false},
                    {"移動", false, false},
                    {"-", true, false},
                    {"スライドショウ", true, false},
                    {"-", true, false},
                    {"Pixoletを終了\tCtrl+Q", true, false}});
  ExpectRows(::GetSubMenu(menu, 11), {{"コントロールウィンドウを表示", true, true},
                                      {"-", true, false},
                                      {"フォルダ内のファイルを全て追加", true, false},
                                      {"サブディレクトリのファイルも検索", true, true},
                                      {"-", true, false},
                                      {"Plug-In ディレクトリを設定", true, false}});
  std::vector<MenuRow> folders;
  for (char digit = '0'; digit <= '9'; ++digit) folders.push_back({std::string("ﾌｫﾙﾀﾞ") + digit + "\t" + digit, true, false});
  ExpectRows(::GetSubMenu(menu, 12), folders);
  ExpectRows(::GetSubMenu(menu, 14), {{"開始／終了", false, false}, {"エンドレスで繰り返す", true, false}});
}

TEST(Frame, WindowPlacesFromSettingsWithTheControlWindowClamps) {
  struct Case {
    const char* settings;
    int viewerLeft, viewerTop, controlLeft, controlTop;  // controlLeft kRightmost: the rightmost place
  };
  constexpr int kRightmost = INT_MIN;
  const Case cases[] = {
      {"[Control]\r\nLeft=5000\r\nTop=-30\r\n", 0, 0, kRightmost, 0},
      {"[Control]\r\nLeft=-40\r\nTop=20\r\n", 0, 0, -40, 20},
      {"[Viewer]\r\nLeft=120\r\nTop=80\r\n[Control]\r\nLeft=300\r\nTop=$10\r\n", 120, 80, 300, 16},
      // Negative viewer values are applied as read; the first layout then pulls the window in.
      {"[Viewer]\r\nLeft=-15\r\nTop=-7\r\n", 0, 0, kRightmost, 0},
  };
  for (const auto& c : cases) {
    ProgramFixture program(c.settings);
    program.Start();
    const int rightmost = 1024 - program.control->Width();
    EXPECT_EQ(program.viewer->Left(), c.viewerLeft) << c.settings;
    EXPECT_EQ(program.viewer->Top(), c.viewerTop) << c.settings;
    EXPECT_EQ(program.control->Left(), c.controlLeft == kRightmost ? rightmost : c.controlLeft) << c.settings;
    EXPECT_EQ(program.control->Top(), c.controlTop) << c.settings;
  }
}

TEST(Frame, HexadecimalAndOddValuesAreReadByTheirRulesAndWrittenBackPlainly) {
  ProgramFixture program(
      "[SlideShow]\r\nInterval=0x7D0\r\n"
      "[Others]\r\nSearchSubDir=yes\r\nAddAllFiles=-1\r\nCenter=2\r\nGarbagePrompt=0\r\n"
      "[Control]\r\nVisible=0\r\n[Debug]\r\nEnable=$1\r\n");
  program.Start();
  EXPECT_EQ(program.viewer->Timer.Interval(), 2000);
  EXPECT_EQ(program.control->UpDown.Position(), 2000);
  EXPECT_TRUE(program.viewer->SearchSubDir->Checked());  // a word gives the default
  EXPECT_TRUE(program.viewer->AddAllFiles->Checked());
  EXPECT_TRUE(program.viewer->CenterMenu->Checked());
  EXPECT_FALSE(GarbagePromptEnabled);
  EXPECT_FALSE(program.control->Visible());
  EXPECT_FALSE(program.viewer->ControlMenu->Checked());
  EXPECT_TRUE(DebugEnabled);
  EXPECT_TRUE(program.output->Visible());
  const std::string ini = program.CloseAndReadSettings();
  for (const char* line : {"Interval=2000\r\n", "SearchSubDir=1\r\n", "AddAllFiles=1\r\n", "Center=1\r\n",
                           "GarbagePrompt=0\r\n", "Visible=0\r\n", "Enable=1\r\n"}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
  }
}

TEST(Frame, IntervalOutsideTheUpDownRangeReachesTheTimerButNotTheFile) {
  ProgramFixture program("[SlideShow]\r\nInterval=50\r\n");
  program.Start();
  EXPECT_EQ(program.viewer->Timer.Interval(), 50);
  EXPECT_EQ(program.control->UpDown.Position(), 100);
  EXPECT_NE(program.CloseAndReadSettings().find("Interval=100\r\n"), std::string::npos);
}

TEST(Frame, OptionPanelOpensFromSettingsAndItsStateIsSaved) {
  ProgramFixture program("[Control]\r\nOption=1\r\n");
  program.Start();
  EXPECT_TRUE(program.control->OptionPanelOpen);
  EXPECT_EQ(program.control->ClientHeight(), 144);
  const int top = program.control->Top();
  program.control->OptBtn.Click();
  EXPECT_EQ(program.control->ClientHeight(), 55);
  EXPECT_EQ(program.control->Top(), top);
  program.control->OptBtn.Click();
  EXPECT_EQ(program.control->ClientHeight(), 144);
  EXPECT_NE(program.CloseAndReadSettings().find("Option=1\r\n"), std::string::npos);
}

TEST(Frame, AWorkingFolderThatCannotBeMadeStopsTheRestAndStartUpGoesOn) {
  TempDir dir;
  ::CreateDirectoryA((dir / "Img").c_str(), nullptr);
  WriteFileBytes(dir / "Img\\3", "a file where a folder belongs");
  const std::string before = CurrentFolder();
  ProgramFixture program(std::nullopt, dir.Path());
  ASSERT_EQ(program.dialogs.messages.size(), 1u);
  EXPECT_EQ(program.dialogs.messages[0].caption, "Pixolet Std");
  EXPECT_TRUE(FolderExists(dir / "Img\\2"));
  EXPECT_FALSE(FolderExists(dir / "Img\\4"));
  EXPECT_FALSE(FolderExists(dir / "temp"));
  EXPECT_FALSE(program.viewer->DoubleBuffered());
  EXPECT_FALSE(::GetWindowLongA(program.viewer->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(CurrentFolder(), before);
  program.Start();
  EXPECT_EQ(program.viewer->ViewState, 1);
  EXPECT_TRUE(program.control->Visible());
}

TEST(Frame, AFailingWriteAtCloseLeavesTheOldFileAndTheProgramStillEnds) {
  const std::string old = "[Viewer]\r\nLeft=33\r\nTop=44\r\n[Others]\r\nCenter=1\r\n";
  ProgramFixture program(old);
  program.Start();
  program.viewer->SetLeft(100);
  {
    // Another program holds the file open without sharing it: every write fails.
    ui::File locked(::CreateFileA(program.Path("pixostd.ini").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    program.viewer->Close();
  }
  EXPECT_EQ(ReadFileBytes(program.Path("pixostd.ini")), old);
  EXPECT_TRUE(program.dialogs.messages.empty());
  EXPECT_TRUE(ui::Application::Get().Terminated());
}

TEST(Frame, AMinimisedViewerIsSavedWhereItWillBeRestored) {
  ProgramFixture program("[Viewer]\r\nLeft=120\r\nTop=90\r\n");
  program.Start();
  ::ShowWindow(program.viewer->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(program.viewer->Handle()));
  EXPECT_NE(program.viewer->Left(), 120);  // off screen while minimised
  const std::string ini = program.CloseAndReadSettings();
  EXPECT_NE(ini.find("[Viewer]\r\nLeft=120\r\nTop=90\r\n"), std::string::npos) << ini;
}

TEST(Frame, ExitCommandClosesLikeTheCloseBox) {
  ProgramFixture program;
  program.Start();
  program.viewer->ExitMenu->Click();
  EXPECT_FALSE(program.viewer->Visible());
  EXPECT_TRUE(FileExists(program.Path("pixostd.ini")));
  EXPECT_TRUE(ui::Application::Get().Terminated());
}

TEST(Frame, ControlWindowCloseRequestHidesItInStepWithTheMenu) {
  ProgramFixture program;
  program.Start();
  ::SendMessageA(program.control->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(program.control->Handle()));
  EXPECT_FALSE(program.control->Visible());
  EXPECT_FALSE(program.viewer->ControlMenu->Checked());
  program.viewer->ControlMenu->Click();
  EXPECT_TRUE(program.control->Visible());
  EXPECT_TRUE(program.viewer->ControlMenu->Checked());
}

TEST(Frame, ShortcutsActOnlyWhileTheItemAndEveryMenuAboveItAreEnabled) {
  ProgramFixture program;
  program.Start();
  TViewerForm& viewer = *program.viewer;
  int moves = 0;
  viewer.FolderSubMenu[3]->onClick = [&] { ++moves; };
  int nexts = 0;
  viewer.NextMenu->onClick = [&] { ++nexts; };

  PressKey(viewer.Handle(), '3');  // the move submenu is disabled
  PressKey(viewer.Handle(), 'N', true);
  EXPECT_EQ(moves, 0);
  EXPECT_EQ(nexts, 0);

  viewer.MoveMenu->SetEnabled(true);
  viewer.NextMenu->SetEnabled(true);
  PressKey(viewer.Handle(), '3');
  PressKey(viewer.Handle(), 'N', true);
  PressKey(viewer.Handle(), 'N');  // without Ctrl it is no shortcut
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(nexts, 1);

  // The same shortcuts work from the control window and its controls.
  PressKey(program.control->Handle(), '3');
  PressKey(program.control->TimeMemo.Handle(), '3');
  PressKey(program.control->NextBtn.Handle(), 'N', true);
  EXPECT_EQ(moves, 3);
  EXPECT_EQ(nexts, 2);

  viewer.FolderSubMenu[3]->SetEnabled(false);
  PressKey(program.control->Handle(), '3');
  EXPECT_EQ(moves, 3);
}

TEST(Frame, ArrowKeysOnAPushButtonMoveTheFocusThroughTheControls) {
  ProgramFixture program;
  program.Start();
  TControlForm& control = *program.control;
  ::SetForegroundWindow(control.Handle());
  control.NextBtn.SetEnabled(true);
  control.PrevBtn.SetEnabled(true);
  control.NextBtn.SetFocus();
  ASSERT_TRUE(control.NextBtn.Focused());
  PressKey(control.NextBtn.Handle(), VK_RIGHT);
  EXPECT_TRUE(control.FNameCmbBox.Focused());
  control.NextBtn.SetFocus();
  PressKey(control.NextBtn.Handle(), VK_UP);
  EXPECT_TRUE(control.PrevBtn.Focused());
  // The filing buttons sit in the option panel: the moves go in and out of it.
  control.MoveBtn.SetEnabled(true);
  control.MoveBtn.SetFocus();
  PressKey(control.MoveBtn.Handle(), VK_LEFT);
  EXPECT_TRUE(control.TimeMemo.Focused());
  control.FolderOpenBtn.SetFocus();
  PressKey(control.FolderOpenBtn.Handle(), VK_RIGHT);
  EXPECT_TRUE(control.PrevBtn.Focused());
  // A key that is no shortcut and no arrow reaches the control's own handler.
  WORD seen = 0;
  control.PrevBtn.onKeyDown = [&](WORD key, bool&) { seen = key; };
  PressKey(control.PrevBtn.Handle(), 'A');
  EXPECT_EQ(seen, 'A');
}

TEST(Frame, AnExceptionEscapingAHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
  ProgramFixture program;
  program.Start();
  program.control->OptBtn.onClick = [] { throw std::runtime_error("broken handler"); };
  ::SendMessageA(program.control->OptBtn.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(program.dialogs.messages.size(), 1u);
  EXPECT_EQ(program.dialogs.messages[0].text, "broken handler");
  EXPECT_EQ(program.dialogs.messages[0].caption, "Pixolet Std");
  program.viewer->NextMenu->SetEnabled(true);
  program.viewer->NextMenu->onClick = [] { throw std::runtime_error("from a shortcut"); };
  PressKey(program.viewer->Handle(), 'N', true);
  ASSERT_EQ(program.dialogs.messages.size(), 2u);
  EXPECT_EQ(program.dialogs.messages[1].text, "from a shortcut");
  program.control->OptBtn.onClick = [&] { program.control->OptBtnClick(); };
  ::SendMessageA(program.control->OptBtn.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(program.control->OptionPanelOpen);
}

TEST(Frame, MouseOverTheControlBackgroundOrNavigationButtonsShowsTheArrow) {
  ProgramFixture program;
  program.Start();
  struct Case {
    HWND target;
    bool arrow;
  };
  const Case cases[] = {{program.control->Handle(), true},
                        {program.control->NextBtn.Handle(), true},
                        {program.control->PrevBtn.Handle(), true},
                        {program.control->OptBtn.Handle(), false}};
  for (const auto& c : cases) {
    ui::Application::Get().SetCursor(ui::CursorOverride::Hidden);
    ::SendMessageA(c.target, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(ui::Application::Get().Cursor() == ui::CursorOverride::Arrow, c.arrow);
  }
}

// The override is for client areas: the sizing borders and the scroll bars keep
// the cursors the system gives them, whatever the override says.
TEST(Frame, CursorOverrideCoversClientAreasOnly) {
  ProgramFixture program("[Debug]\r\nEnable=1\r\n");
  program.Start();
  struct Case {
    WORD hit;
    const char* systemCursor;  // null: the override decides
  };
  const Case cases[] = {{HTLEFT, IDC_SIZEWE},        {HTBOTTOM, IDC_SIZENS},
                        {HTBOTTOMRIGHT, IDC_SIZENWSE}, {HTTOPRIGHT, IDC_SIZENESW},
                        {HTVSCROLL, IDC_ARROW},      {HTCLIENT, nullptr}};
  for (HWND window : {program.viewer->Handle(), program.output->Handle()}) {
    for (const auto override : {ui::CursorOverride::Hidden, ui::CursorOverride::Arrow}) {
      for (const auto& c : cases) {
        ui::Application::Get().SetCursor(override);
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        ::SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(c.hit, WM_MOUSEMOVE));
        const HCURSOR expected = c.systemCursor                          ? ::LoadCursor(nullptr, c.systemCursor)
                                 : override == ui::CursorOverride::Arrow ? ::LoadCursor(nullptr, IDC_ARROW)
                                                                         : nullptr;
        EXPECT_EQ(::GetCursor(), expected) << "hit " << c.hit << " override " << static_cast<int>(override);
      }
    }
  }
}

}  // namespace
