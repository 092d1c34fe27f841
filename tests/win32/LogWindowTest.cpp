#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>

#include <string>

#include "ProgramFixture.h"
#include "TestSupport.h"
#include "UserInput.h"
#include "app/Globals.h"
#include "log/OutPut.h"
#include "plugins/SpiFunc.h"

using namespace testing_support;

namespace {

class LogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TOutputForm>();
    OutputForm = form_.get();
    DebugEnabled = true;
  }
  void TearDown() override {
    OutputForm = nullptr;
    DebugEnabled = false;
  }
  std::unique_ptr<TOutputForm> form_;
};

TEST_F(LogWindowTest, LinesArriveOnlyWhileDebuggingIsEnabled) {
  LogLine("one");
  DebugEnabled = false;
  LogLine("dropped");
  DebugEnabled = true;
  LogLine("two");
  ASSERT_EQ(form_->OutputListBox.Count(), 2);
  EXPECT_EQ(form_->OutputListBox.Item(0), "one");
  EXPECT_EQ(form_->OutputListBox.Item(1), "two");
  EXPECT_FALSE(form_->Visible());
}

TEST_F(LogWindowTest, ShownInTheBottomRightCornerOfTheWorkAreaWithoutCloseCommand) {
  struct Case {
    RECT workArea;
    int left, top;
  };
  // The work area's size counts from the screen's origin, whatever its own left edge.
  const Case cases[] = {{{0, 0, 1024, 738}, 611, 384}, {{40, 0, 1024, 768}, 571, 414}};
  for (const auto& c : cases) {
    ScreenScope screen(c.workArea);
    TOutputForm form;
    form.SetVisible(true);
    EXPECT_EQ(form.Width(), 413);
    EXPECT_EQ(form.Height(), 354);
    EXPECT_EQ(form.Left(), c.left);
    EXPECT_EQ(form.Top(), c.top);
    EXPECT_EQ(::GetMenuState(::GetSystemMenu(form.Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND), UINT(-1));
  }
}

TEST_F(LogWindowTest, SavesEveryLineWithCarriageReturnAndLineFeed) {
  TempDir dir;
  ScriptedDialogs dialogs;
  for (const char* line : {"----------------------------------------", "APIバージョン : 00IN", "末尾"}) {
    LogLine(line);
  }
  dialogs.saveAnswers.push_back(dir / "log.txt");
  form_->SaveMenu->Click();
  EXPECT_EQ(ReadFileBytes(dir / "log.txt"),
            "----------------------------------------\r\nAPIバージョン : 00IN\r\n末尾\r\n");
  ASSERT_EQ(dialogs.saveRequests.size(), 1u);
  EXPECT_EQ(dialogs.saveRequests[0].defaultExt, "txt");
  EXPECT_TRUE(dialogs.saveRequests[0].overwritePrompt);
}

// The dialog adds the default extension itself; whatever name it returns is the
// one its overwrite question was about, so that name is written and no other.
TEST_F(LogWindowTest, EmptyListSavesAnEmptyFileUnderExactlyTheNameTheDialogReturned) {
  TempDir dir;
  ScriptedDialogs dialogs;
  for (const char* name : {"bare", "log.txt", "notes.log"}) {
    dialogs.saveAnswers.push_back(dir / name);
    form_->SaveMenuClick();
    EXPECT_TRUE(FileExists(dir / name)) << name;
    EXPECT_EQ(ReadFileBytes(dir / name), "") << name;
  }
  EXPECT_FALSE(FileExists(dir / "bare.txt"));
}

std::string typedName;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
  char name[16] = {};
  ::GetClassNameA(hwnd, name, sizeof(name));
  if (std::string(name) != "#32770" || !::IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

// Types the name into the open save dialog and presses its Save button, as a
// user would; runs inside the dialog's own message loop.
void CALLBACK AnswerSaveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  ::KillTimer(nullptr, timer);
  for (int id : {cmb13, edt1}) {
    if (HWND box = ::GetDlgItem(dialog, id)) ::SetWindowTextA(box, typedName.c_str());
  }
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
}

// With no stand-in the system's dialog answers: it gives a bare name the
// default extension itself, and the file written is the one it named.
TEST_F(LogWindowTest, TheSystemsSaveDialogGivesABareNameTheTxtExtension) {
  TempDir dir;
  LogLine("one");
  typedName = dir / "bare";
  ::SetTimer(nullptr, 0, 50, AnswerSaveDialog);
  form_->SaveMenuClick();
  EXPECT_EQ(ReadFileBytes(dir / "bare.txt"), "one\r\n");
  EXPECT_FALSE(FileExists(dir / "bare"));
}

TEST_F(LogWindowTest, CancelWritesNothingAndAFailedWriteIsAnError) {
  TempDir dir;
  ScriptedDialogs dialogs;
  dialogs.saveAnswers.push_back(std::nullopt);
  form_->SaveMenuClick();
  dialogs.saveAnswers.push_back(dir / "missing\\folder\\x.txt");
  EXPECT_ANY_THROW(form_->SaveMenuClick());
}

TEST(LogWindow, RefusesEveryCloseRequestButGoesWithTheProgram) {
  ProgramFixture program("[Debug]\r\nEnable=1\r\n");
  program.Start();
  TOutputForm& log = *program.output;
  ASSERT_TRUE(log.Visible());
  ::SetForegroundWindow(log.Handle());
  PressChord({VK_MENU, VK_F4});
  EXPECT_TRUE(log.Visible()) << "Alt+F4";
  ::SendMessageA(log.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);  // a close from its taskbar entry
  EXPECT_TRUE(log.Visible()) << "SC_CLOSE";
  ::SendMessageA(log.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(log.Visible()) << "WM_CLOSE";
  EXPECT_TRUE(program.viewer->Visible());

  // The program's own close hides it, and its end destroys it.
  const HWND handle = log.Handle();
  program.viewer->Close();
  EXPECT_FALSE(log.Visible());
  EXPECT_TRUE(::IsWindow(handle));
  program.End();
  EXPECT_FALSE(::IsWindow(handle));
}

}  // namespace
