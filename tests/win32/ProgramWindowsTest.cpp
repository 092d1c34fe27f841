// The three windows as a whole: what owns what, and a start-up that fails
// half-way.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ProgramFixture.h"
#include "UserInput.h"

using namespace testing_support;

namespace {

// While in scope, the window system refuses to create windows of one class,
// as it does when it runs out of resources.
class RefuseWindowClass {
 public:
  explicit RefuseWindowClass(const char* className)
      : hook_(::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId())) {
    refused_ = className;
  }
  ~RefuseWindowClass() { ::UnhookWindowsHookEx(hook_); }
  RefuseWindowClass(const RefuseWindowClass&) = delete;
  RefuseWindowClass& operator=(const RefuseWindowClass&) = delete;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      char name[64] = {};
      ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
      if (::lstrcmpiA(name, refused_) == 0) return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline const char* refused_ = nullptr;
  HHOOK hook_;
};

// A program folder and the current folder, put back at the end of the scope.
class ProgramFolderScope {
 public:
  ProgramFolderScope() {
    ::GetCurrentDirectoryA(MAX_PATH, saved_);
    OverrideProgramFolder(dir_.Path());
  }
  ~ProgramFolderScope() {
    OverrideProgramFolder(std::nullopt);
    ::SetCurrentDirectoryA(saved_);
  }

 private:
  TempDir dir_;
  char saved_[MAX_PATH] = {};
};

TEST(ProgramWindows, AWindowThatCannotBeCreatedLeavesNothingBehindForTheErrorReport) {
  for (const char* refused : {"TControlForm", "TOutputForm"}) {
    ProgramFolderScope folder;
    ScriptedDialogs dialogs;
    {
      RefuseWindowClass refuse(refused);
      EXPECT_THROW(ProgramWindows windows, std::runtime_error) << refused;
    }
    EXPECT_EQ(ui::Application::Get().MainForm(), nullptr) << refused;
    EXPECT_EQ(ViewerForm, nullptr) << refused;
    EXPECT_EQ(ControlForm, nullptr) << refused;
    EXPECT_EQ(OutputForm, nullptr) << refused;
    EXPECT_EQ(::FindWindowA("TViewerForm", nullptr), nullptr) << refused;
    // What the start-up block does with the failure.
    ui::Application::Get().ReportException(std::make_exception_ptr(std::runtime_error("no window")));
    ASSERT_EQ(dialogs.messages.size(), 1u) << refused;
    EXPECT_EQ(dialogs.messages[0].text, "no window");
    const HWND owner = dialogs.messages[0].owner;
    EXPECT_TRUE(owner == nullptr || ::IsWindow(owner)) << refused;
  }
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// The captions of this thread's windows that the taskbar lists: visible,
// without an owner and not tool windows.
std::vector<std::string> TaskbarEntries() {
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
  std::vector<std::string> captions;
  for (HWND hwnd : windows) {
    const LONG exStyle = ::GetWindowLongA(hwnd, GWL_EXSTYLE);
    const bool listed = (exStyle & WS_EX_APPWINDOW) ||
                        (!::GetWindow(hwnd, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW));
    if (!::IsWindowVisible(hwnd) || !listed) continue;
    char text[64] = {};
    ::GetWindowTextA(hwnd, text, sizeof(text));
    captions.push_back(text);
  }
  return captions;
}

TEST(ProgramWindows, OneTaskbarEntryUnderTheApplicationsTitle) {
  ProgramFixture program("[Debug]\r\nEnable=1\r\n");
  program.Start();
  ASSERT_TRUE(program.output->Visible());
  EXPECT_EQ(TaskbarEntries(), std::vector<std::string>{"Pixolet Std"});
  program.viewer->Close();
  EXPECT_TRUE(TaskbarEntries().empty());
}

TEST(ProgramWindows, TheFormsMinimiseAndComeBackTogetherWhereTheyWere) {
  ProgramFixture program("[Debug]\r\nEnable=1\r\n");
  program.Start();
  TViewerForm& viewer = *program.viewer;
  program.output->SetBounds(300, 200, 413, 354);  // the user moved the log
  const HWND forms[] = {viewer.Handle(), program.control->Handle(), program.output->Handle()};
  RECT before[3] = {};
  for (int i = 0; i < 3; ++i) ::GetWindowRect(forms[i], &before[i]);

  ::SendMessageA(viewer.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);  // the minimise box
  const HWND entry = ::GetWindow(viewer.Handle(), GW_OWNER);
  EXPECT_TRUE(::IsIconic(entry));
  EXPECT_EQ(TaskbarEntries(), std::vector<std::string>{"Pixolet Std"});
  for (HWND form : forms) EXPECT_FALSE(::IsWindowVisible(form));
  // Still visible as far as the program is concerned: its menu and settings say so.
  EXPECT_TRUE(program.control->Visible());

  ::SendMessageA(entry, WM_SYSCOMMAND, SC_RESTORE, 0);  // the taskbar entry
  EXPECT_FALSE(::IsIconic(entry));
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(::IsWindowVisible(forms[i])) << i;
    RECT after{};
    ::GetWindowRect(forms[i], &after);
    EXPECT_TRUE(::EqualRect(&after, &before[i])) << i;
  }
  EXPECT_TRUE(program.control->StayOnTop());
}

TEST(ProgramWindows, AControlWindowHiddenBeforeOrDuringAMinimiseStaysHidden) {
  ProgramFixture program;
  program.Start();
  TViewerForm& viewer = *program.viewer;
  viewer.ControlMenu->Click();
  ASSERT_FALSE(program.control->Visible());
  ::SendMessageA(viewer.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ::SendMessageA(::GetWindow(viewer.Handle(), GW_OWNER), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(::IsWindowVisible(viewer.Handle()));
  EXPECT_FALSE(::IsWindowVisible(program.control->Handle()));
  // The viewer goes on without it.
  int nexts = 0;
  viewer.NextMenu->SetEnabled(true);
  viewer.NextMenu->onClick = [&] { ++nexts; };
  PressKey(viewer.Handle(), 'N', true);
  EXPECT_EQ(nexts, 1);

  // Hidden by the program while minimised: it does not come back either.
  viewer.ControlMenu->Click();
  ASSERT_TRUE(::IsWindowVisible(program.control->Handle()));
  ::SendMessageA(viewer.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  viewer.ControlMenu->Click();
  EXPECT_FALSE(program.control->Visible());
  ::SendMessageA(::GetWindow(viewer.Handle(), GW_OWNER), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(::IsWindowVisible(program.control->Handle()));
  EXPECT_FALSE(viewer.ControlMenu->Checked());
}

TEST(ProgramWindows, ClosingFromTheMinimisedTaskbarEntrySavesTheControlWindowAsVisible) {
  ProgramFixture program;
  program.Start();
  ::SendMessageA(program.viewer->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ::SendMessageA(::GetWindow(program.viewer->Handle(), GW_OWNER), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(ui::Application::Get().Terminated());
  const std::string ini = ReadFileBytes(program.Path("pixostd.ini"));
  EXPECT_NE(ini.find("[Control]\r\nVisible=1\r\n"), std::string::npos) << ini;
}

}  // namespace
