// The slide show driven as the timer and the user drive it: ticks run the
// handler the timer calls, clicks reach the real controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramFixture.h"
#include "UserInput.h"
#include "codecs/BmpWriter.h"

using namespace testing_support;

namespace {

// A small 24-bit BMP file of one colour.
void WriteBmp(const std::string& path, int width, int height, uint8_t shade) {
  const size_t stride = codecs::DibStride(width, codecs::PixelLayout::Bits24);
  std::vector<uint8_t> rows(stride * height, shade), file;
  codecs::EncodeBmp({width, height, codecs::PixelLayout::Bits24, {}}, {rows.data(), ptrdiff_t(stride)}, file);
  WriteFileBytes(path, std::string(file.begin(), file.end()));
}

class SlideShowTest : public ::testing::Test {
 protected:
  explicit SlideShowTest(const std::optional<std::string>& settings = std::nullopt) : program_(settings) {}
  void SetUp() override { program_.Start(); }

  TViewerForm& Viewer() { return *program_.viewer; }
  TControlForm& Control() { return *program_.control; }

  // Drops `count` pictures a.bmp, b.bmp ... on the viewer.
  void DropPictures(int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
      paths.push_back(files_ / (std::string(1, char('a' + i)) + ".bmp"));
      WriteBmp(paths.back(), 20 + i, 10, uint8_t(40 * i));
    }
    Viewer().WMDropFiles(MakeDrop(paths));
  }

  bool Running() {
    const bool checked = Viewer().SlideShowMenu->Checked();
    EXPECT_EQ(Control().SlideShowBtn.Caption(), checked ? "Stop" : "Start");
    EXPECT_EQ(Viewer().Timer.Enabled(), checked);
    return checked;
  }

  ProgramFixture program_;
  TempDir files_;
};

TEST_F(SlideShowTest, AShowOverThreeEntriesShowsEachInTurnAndStopsAtTheLast) {
  DropPictures(3);
  Viewer().SlideShowMenu->Click();
  EXPECT_TRUE(Running());
  Viewer().TimerTimer();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [b.bmp : 2/3]");
  EXPECT_TRUE(Running());
  Viewer().TimerTimer();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [c.bmp : 3/3]");
  EXPECT_FALSE(Running());
}

TEST_F(SlideShowTest, OnTheLastEntryTheFirstTickStopsOrRestartsAsTheEndlessOptionSays) {
  for (const bool endless : {false, true}) {
    SCOPED_TRACE(endless ? "endless" : "once");
    DropPictures(3);
    Viewer().NextMenuClick();
    Viewer().NextMenuClick();
    if (Viewer().LoopMenu->Checked() != endless) Viewer().LoopMenuClick();
    Control().SlideShowBtn.Click();
    ASSERT_TRUE(Running());
    Viewer().TimerTimer();
    // The last picture stays on screen either way.
    EXPECT_EQ(Viewer().Caption(), "Pixolet [c.bmp : 3/3]");
    EXPECT_EQ(Running(), endless);
    EXPECT_EQ(CurrentIndex, endless ? -1 : 2);
    EXPECT_EQ(Viewer().NextMenu->Enabled(), endless);
    EXPECT_EQ(Control().NextBtn.Enabled(), endless);
    EXPECT_TRUE(Viewer().PrevMenu->Enabled() != endless);
    EXPECT_TRUE(Control().PrevBtn.Enabled() != endless);
    if (!endless) continue;
    Viewer().TimerTimer();
    EXPECT_EQ(Viewer().Caption(), "Pixolet [a.bmp : 1/3]");
    EXPECT_TRUE(Running());
    EXPECT_FALSE(Viewer().PrevMenu->Enabled());
    Viewer().SlideShowMenuClick();
    EXPECT_FALSE(Running());
  }
}

TEST_F(SlideShowTest, AListOfOneEntryOrNoneIsRefusedWithoutAWord) {
  for (const int count : {1, 0}) {
    SCOPED_TRACE(count);
    DropPictures(count);
    const std::string caption = Viewer().Caption();
    Viewer().SlideShowMenu->Click();
    EXPECT_FALSE(Running());
    Control().SlideShowBtn.Click();
    EXPECT_FALSE(Running());
    EXPECT_EQ(Viewer().Caption(), caption);
  }
  EXPECT_TRUE(program_.dialogs.messages.empty());
}

TEST_F(SlideShowTest, ManualStepsDuringTheShowAreWhereTheNextTickGoesOn) {
  DropPictures(4);
  Viewer().SlideShowMenuClick();
  Viewer().NextMenuClick();
  Viewer().TimerTimer();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [c.bmp : 3/4]");
  EXPECT_TRUE(Running());
  Viewer().PrevMenuClick();
  Viewer().TimerTimer();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [c.bmp : 3/4]");
  EXPECT_TRUE(Running());
}

TEST_F(SlideShowTest, TheSameButtonStopsTheShowItStarted) {
  DropPictures(2);
  Control().SlideShowBtn.Click();
  EXPECT_TRUE(Running());
  Control().SlideShowBtn.Click();
  EXPECT_FALSE(Running());
  EXPECT_FALSE(Viewer().SlideShowMenu->Checked());
}

// The up-down control's arrows, clicked where a user clicks them.
class IntervalTest : public SlideShowTest {
 protected:
  explicit IntervalTest(const std::string& settings) : SlideShowTest(settings) {}
  void SetUp() override {
    SlideShowTest::SetUp();
    Control().OptBtnClick();  // the interval lies in the lower part
    Control().Show();
    PumpMessages();
  }
  void ClickArrow(bool up) {
    RECT r{};
    ::GetWindowRect(Control().UpDown.Handle(), &r);
    ClickAt({(r.left + r.right) / 2, up ? r.top + 3 : r.bottom - 4});
  }
};

class IntervalAtTheTop : public IntervalTest {
 protected:
  IntervalAtTheTop() : IntervalTest("[SlideShow]\r\nInterval=30000\r\n") {}
};

class IntervalBelowTheRange : public IntervalTest {
 protected:
  IntervalBelowTheRange() : IntervalTest("[SlideShow]\r\nInterval=50\r\n") {}
};

TEST_F(IntervalAtTheTop, TheUpArrowLeavesTheIntervalAsItIs) {
  ClickArrow(true);
  EXPECT_EQ(Control().UpDown.Position(), 30000);
  EXPECT_EQ(Viewer().Timer.Interval(), 30000);
  ClickArrow(false);
  EXPECT_EQ(Control().UpDown.Position(), 29900);
  EXPECT_EQ(Viewer().Timer.Interval(), 29900);
}

// A stored interval the control cannot hold stays the timer's until a click.
TEST_F(IntervalBelowTheRange, TheDownArrowAtTheBottomGivesTheTimerTheControlsValue) {
  EXPECT_EQ(Viewer().Timer.Interval(), 50);
  Control().TimeMemo.SetText("700");  // typed text alone reaches nothing
  EXPECT_EQ(Viewer().Timer.Interval(), 50);
  Control().TimeMemo.SetText("100");
  ClickArrow(false);
  EXPECT_EQ(Control().UpDown.Position(), 100);
  EXPECT_EQ(Viewer().Timer.Interval(), 100);
}

}  // namespace
