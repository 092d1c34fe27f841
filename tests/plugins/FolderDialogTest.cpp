#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "ui/FolderDialog.h"

using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

std::function<void(HWND)> pendingStep;

void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND dialog = ::FindWindowA("#32770", ui::kFolderDialogCaption);
  if (!dialog) return;
  ::KillTimer(nullptr, timer);
  pendingStep(dialog);
}

// Shows the real dialog and runs `step` on it from inside its modal loop.
bool ShowAndDrive(std::string& folder, std::function<void(HWND)> step) {
  pendingStep = std::move(step);
  ::SetTimer(nullptr, 0, 10, RunStep);
  return ui::ShowFolderDialog(nullptr, folder);
}

std::vector<std::string> Items(HWND dialog, int id) {
  std::vector<std::string> items;
  const HWND list = ::GetDlgItem(dialog, id);
  const auto count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    char text[MAX_PATH] = {};
    ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

std::string PathText(HWND dialog) {
  char text[MAX_PATH] = {};
  ::GetDlgItemTextA(dialog, ui::kFolderPathText, text, MAX_PATH);
  return text;
}

int IndexOf(HWND dialog, const std::string& trimmedName) {
  const auto items = Items(dialog, ui::kFolderList);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].substr(items[i].find_first_not_of(' ')) == trimmedName) return static_cast<int>(i);
  }
  return -1;
}

void Press(HWND dialog, int id) { ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void DoubleClickFolder(HWND dialog, const std::string& name) {
  const HWND list = ::GetDlgItem(dialog, ui::kFolderList);
  ::SendMessageA(list, LB_SETCURSEL, IndexOf(dialog, name), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(ui::kFolderList, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

class FolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* sub : {"\\start", "\\start\\表", "\\start\\beta"}) ::CreateDirectoryA((dir_.Path() + sub).c_str(), nullptr);
    WriteFileBytes(dir_ / "start\\b.spi", "");
    WriteFileBytes(dir_ / "start\\a.txt", "");
  }
  TempDir dir_;
};

TEST_F(FolderDialogTest, ShowsTheStartFolderAndReturnsTheFolderOpenedLast) {
  const std::string before = CurrentFolder();
  std::string folder = dir_ / "start\\";
  std::vector<std::string> folders, files;
  std::string shownFirst, shownThen;
  const bool ok = ShowAndDrive(folder, [&](HWND dialog) {
    shownFirst = PathText(dialog);
    folders = Items(dialog, ui::kFolderList);
    files = Items(dialog, ui::kFileList);
    DoubleClickFolder(dialog, "表");
    shownThen = PathText(dialog);
    Press(dialog, IDOK);
  });
  ASSERT_TRUE(ok);
  EXPECT_EQ(folder, dir_ / "start\\表");
  EXPECT_EQ(shownFirst, dir_ / "start");
  EXPECT_EQ(shownThen, dir_ / "start\\表");
  ASSERT_GE(folders.size(), 3u);
  EXPECT_EQ(folders[folders.size() - 3].substr(folders[folders.size() - 3].find_first_not_of(' ')), "start");
  EXPECT_EQ(folders.back().substr(folders.back().find_first_not_of(' ')), "表");
  EXPECT_EQ(files, (std::vector<std::string>{"a.txt", "b.spi"}));
  EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(FolderDialogTest, CancelKeepsTheFolderAndAMissingStartShowsTheNearestFolderAbove) {
  std::string folder = dir_ / "start\\gone\\deeper\\";
  std::string shown;
  EXPECT_FALSE(ShowAndDrive(folder, [&](HWND dialog) {
    shown = PathText(dialog);
    Press(dialog, IDCANCEL);
  }));
  EXPECT_EQ(folder, dir_ / "start\\gone\\deeper\\");
  EXPECT_EQ(shown, dir_ / "start");
}

TEST_F(FolderDialogTest, EnterInTheFolderListOpensTheSelectionAndParentsCanBeOpened) {
  std::string folder = dir_ / "start\\beta";
  std::vector<std::string> shown;
  ASSERT_TRUE(ShowAndDrive(folder, [&](HWND dialog) {
    const HWND list = ::GetDlgItem(dialog, ui::kFolderList);
    ::SetFocus(list);
    ::SendMessageA(list, LB_SETCURSEL, IndexOf(dialog, "start"), 0);
    Press(dialog, IDOK);
    shown.push_back(PathText(dialog));
    Press(dialog, IDOK);
  }));
  EXPECT_EQ(shown, (std::vector<std::string>{dir_ / "start"}));
  EXPECT_EQ(folder, dir_ / "start");
}

}  // namespace
