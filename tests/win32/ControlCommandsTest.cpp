// The control window's list and keys with real key presses: the arrow keys
// step through the list where no button has the focus, move the focus where
// one has it, and the list itself never sees a key.
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "UserInput.h"

using namespace testing_support;

namespace {

class ControlCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.Start();
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
      const std::string path = files_ / name;
      WriteFileBytes(path, PatternBmp(200 + 10 * static_cast<int>(paths_.size()), 20));
      paths_.push_back(path);
    }
    Viewer().WMDropFiles(MakeDrop(paths_));
    ::SetForegroundWindow(Control().Handle());
  }

  TViewerForm& Viewer() { return *program_.viewer; }
  TControlForm& Control() { return *program_.control; }
  void Choose(int item) {
    Control().FNameCmbBox.SetItemIndex(item);
    ::SendMessageA(Control().Handle(), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(Control().FNameCmbBox.Handle()), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Control().FNameCmbBox.Handle()));
  }
  void ExpectShown(int index) {
    EXPECT_EQ(CurrentIndex, index);
    EXPECT_EQ(Control().FNameCmbBox.ItemIndex(), index);
    EXPECT_EQ(Viewer().ClientWidth(), 200 + 10 * index);
  }

  ProgramFixture program_;
  TempDir files_;
  std::vector<std::string> paths_;
};

TEST_F(ControlCommandsTest, ArrowKeysInTheListStepWhileTheCommandIsEnabledAndAlwaysHideThePointer) {
  struct Step {
    WORD key;
    int shown;
  };
  const Step steps[] = {{VK_RIGHT, 1}, {VK_UP, 2}, {VK_UP, 2}, {VK_RIGHT, 2}, {VK_DOWN, 1},
                        {VK_LEFT, 0},  {VK_LEFT, 0}, {VK_DOWN, 0}, {'B', 0}, {VK_END, 0}};
  Control().FNameCmbBox.SetFocus();
  for (const Step& s : steps) {
    SCOPED_TRACE(s.key);
    ui::Application::Get().SetCursor(ui::CursorOverride::Arrow);
    PressChord({s.key});
    ExpectShown(s.shown);
    EXPECT_EQ(ui::Application::Get().Cursor(), ui::CursorOverride::Hidden);
    EXPECT_TRUE(Control().FNameCmbBox.Focused());
  }
}

TEST_F(ControlCommandsTest, WithoutAFocusedControlTheWindowsOwnKeysStep) {
  ::SetFocus(Control().Handle());
  PressChord({VK_RIGHT});
  ExpectShown(1);
  PressChord({VK_LEFT});
  ExpectShown(0);
}

TEST_F(ControlCommandsTest, OnAFocusedButtonArrowsMoveTheFocusAndOtherKeysOnlyHideThePointer) {
  Control().NextBtn.SetFocus();
  PressChord({VK_RIGHT});
  ExpectShown(0);
  EXPECT_TRUE(Control().FNameCmbBox.Focused());
  Control().NextBtn.SetFocus();
  ui::Application::Get().SetCursor(ui::CursorOverride::Arrow);
  PressChord({'A'});
  ExpectShown(0);
  EXPECT_EQ(ui::Application::Get().Cursor(), ui::CursorOverride::Hidden);
}

TEST_F(ControlCommandsTest, ADigitTypedIntoTheIntervalBoxRunsTheMoveCommandOnceItIsEnabled) {
  int moves = 0;
  Viewer().FolderSubMenu[3]->onClick = [&] { ++moves; };
  Viewer().MoveMenu->SetEnabled(false);
  Control().TimeMemo.SetText("1000");
  Control().TimeMemo.SetFocus();
  PressChord({'3'});
  EXPECT_EQ(moves, 0);
  EXPECT_NE(Control().TimeMemo.Text().find('3'), std::string::npos);
  Viewer().MoveMenu->SetEnabled(true);
  Control().TimeMemo.SetText("1000");
  PressChord({'3'});
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(Control().TimeMemo.Text(), "1000");
}

TEST_F(ControlCommandsTest, AChoiceInTheListLoadsThatEntryAndNoChoiceLoadsTheFirst) {
  Choose(2);
  ExpectShown(2);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [c.bmp : 3/3]");
  EXPECT_FALSE(Viewer().NextMenu->Enabled());
  Choose(-1);
  ExpectShown(0);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [a.bmp : 1/3]");
  // In full screen the choice is fitted to the screen.
  Viewer().FullScrMenu->Click();
  Choose(1);
  EXPECT_EQ(CurrentIndex, 1);
  EXPECT_EQ(Viewer().PicImage.Width(), 1024);
  EXPECT_EQ(Viewer().PicImage.Height(), 1024 * 20 / 210);
}

}  // namespace
