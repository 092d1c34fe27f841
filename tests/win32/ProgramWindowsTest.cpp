// The three windows as a whole: what owns what, and a start-up that fails
// half-way.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ProgramFixture.h"

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

}  // namespace
