// The display commands through the keys a user presses: every row of the mode
// table and what the window looks like in each mode, centring, Escape, and
// the pointer that a key hides until the third mouse move.
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "UserInput.h"

using namespace testing_support;

namespace {

enum class Mode { Windowed, Sizable, FullScreen };

const char* Name(Mode mode) {
  switch (mode) {
    case Mode::Windowed: return "windowed";
    case Mode::Sizable: return "sizable";
    default: return "full screen";
  }
}

COLORREF ColourOf(HBRUSH brush) {
  LOGBRUSH logBrush{};
  ::GetObjectA(brush, sizeof(logBrush), &logBrush);
  return logBrush.lbColor;
}

// A 300 x 150 picture of 32 bits per pixel: the full-screen fit converts the
// decoded picture to 24 bits, so its format tells whether it was decoded again.
class DisplayModesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.Start();
    picture_ = files_ / "p.bmp";
    WriteFileBytes(picture_, PatternBmp(300, 150, 32));
    other_ = files_ / "q.bmp";
    WriteFileBytes(other_, PatternBmp(300, 150, 32));
    Viewer().WMDropFiles(MakeDrop({picture_}));
  }

  TViewerForm& Viewer() { return *program_.viewer; }
  void PressCtrl(char letter) {
    ::SetForegroundWindow(Viewer().Handle());
    PressChord({VK_CONTROL, static_cast<WORD>(letter)});
  }
  void Command(Mode mode) { PressCtrl(mode == Mode::FullScreen ? 'F' : 'G'); }
  void BackToWindowed() {
    if (Viewer().FullScrMenu->Checked()) Command(Mode::FullScreen);
    if (Viewer().SizableMenu->Checked()) Command(Mode::Sizable);
  }

  void ExpectMode(Mode mode) {
    SCOPED_TRACE(Name(mode));
    TViewerForm& v = Viewer();
    const bool full = mode == Mode::FullScreen;
    const bool sizable = mode == Mode::Sizable;
    EXPECT_EQ(v.FullScrMenu->Checked(), full);
    EXPECT_EQ(v.SizableMenu->Checked(), sizable);
    EXPECT_EQ(v.ViewState, full ? 2 : 1);
    EXPECT_EQ(v.PicImage.Stretch(), sizable);
    EXPECT_EQ(v.PicImage.AlignClient(), sizable);
    EXPECT_EQ(v.GetBorderStyle(), full ? ui::BorderStyle::None : ui::BorderStyle::Sizeable);
    EXPECT_EQ(ColourOf(v.Background()), full ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNFACE));
    if (full) {
      EXPECT_EQ(v.Left(), 0);
      EXPECT_EQ(v.Top(), 0);
      EXPECT_EQ(v.Width(), 1024);  // no frame, no scroll bar
      EXPECT_EQ(v.ClientWidth(), 1024);
      EXPECT_EQ(v.ClientHeight(), 768);
      EXPECT_EQ(v.PicImage.Top(), 128);
      EXPECT_EQ(v.PicImage.Height(), 512);
    } else {
      EXPECT_EQ(v.ClientWidth(), sizable ? 200 : 300);
      EXPECT_EQ(v.ClientHeight(), sizable ? 100 : 150);
      EXPECT_EQ(v.PicImage.Left(), 0);
      EXPECT_EQ(v.PicImage.Top(), 0);
    }
    EXPECT_FALSE(v.StayOnTop());
    EXPECT_TRUE(program_.control->StayOnTop());
    // Above the viewer, where the pointer finds it, not only by its style.
    const POINT controlCentre = CentreOf(program_.control->Handle());
    EXPECT_EQ(ui::Form::Containing(::WindowFromPoint(controlCentre)), program_.control);
  }

  ProgramFixture program_;
  TempDir files_;
  std::string picture_;
  std::string other_;
};

TEST_F(DisplayModesTest, EveryRowOfTheModeTableWithTheKeysOfItsCommands) {
  struct Row {
    Mode from;
    Mode command;
    Mode to;
    ui::PixelFormat decoded;  // 32 bits: decoded again (or never converted)
    ui::CursorOverride pointer;
  };
  using ui::CursorOverride;
  using ui::PixelFormat;
  // Ctrl pressed alone reaches the viewer's key handler and hides the pointer;
  // only leaving full screen by its own command removes the override after it.
  const Row rows[] = {
      {Mode::Windowed, Mode::FullScreen, Mode::FullScreen, PixelFormat::Bits24, CursorOverride::Hidden},
      {Mode::Windowed, Mode::Sizable, Mode::Sizable, PixelFormat::Bits32, CursorOverride::Hidden},
      {Mode::Sizable, Mode::Sizable, Mode::Windowed, PixelFormat::Bits32, CursorOverride::Hidden},
      {Mode::Sizable, Mode::FullScreen, Mode::FullScreen, PixelFormat::Bits24, CursorOverride::Hidden},
      {Mode::FullScreen, Mode::FullScreen, Mode::Windowed, PixelFormat::Bits32, CursorOverride::None},
      {Mode::FullScreen, Mode::Sizable, Mode::Sizable, PixelFormat::Bits24, CursorOverride::Hidden},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(Name(row.from)) + " then the " + Name(row.command) + " command");
    BackToWindowed();
    if (row.from != Mode::Windowed) Command(row.from);
    ExpectMode(row.from);
    ui::Application::Get().SetCursor(ui::CursorOverride::Arrow);
    Command(row.command);
    ExpectMode(row.to);
    EXPECT_EQ(Viewer().SourceBitmap.Format(), row.decoded);
    EXPECT_EQ(ui::Application::Get().Cursor(), row.pointer);
    // Files dropped after the change are still taken.
    EXPECT_TRUE(::GetWindowLongA(Viewer().Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const std::string& next = Viewer().FNameListBox.Item(0) == picture_ ? other_ : picture_;
    ::SendMessageA(Viewer().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({next})), 0);
    EXPECT_EQ(Viewer().FNameListBox.Item(0), next);
    ExpectMode(row.to);
  }
}

// Seen from a big picture with scroll bars: they must not survive into full
// screen, and the sizable view starts 200 pixels wide all the same.
TEST_F(DisplayModesTest, ScrollBarsOfABigPictureGoWithTheWindowedView) {
  WriteFileBytes(picture_, PatternBmp(1500, 1000, 24));
  Viewer().WMDropFiles(MakeDrop({picture_}));
  ASSERT_TRUE(::GetWindowLongA(Viewer().Handle(), GWL_STYLE) & WS_HSCROLL);
  Command(Mode::FullScreen);
  EXPECT_EQ(Viewer().Width(), 1024);
  EXPECT_EQ(Viewer().ClientWidth(), 1024);
  EXPECT_EQ(Viewer().ClientHeight(), 768);
  Command(Mode::FullScreen);
  Command(Mode::Sizable);
  EXPECT_EQ(Viewer().ClientWidth(), 200);
  EXPECT_EQ(Viewer().ClientHeight(), 133);  // 1000 / 1500 x 200
  EXPECT_FALSE(::GetWindowLongA(Viewer().Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

// Full screen switches auto-size off; the way out through the sizable view
// switches it on again, or the windowed view would keep the old size.
TEST_F(DisplayModesTest, AfterFullScreenAndTheSizableViewTheWindowedViewFitsEachNewPicture) {
  Command(Mode::FullScreen);
  Command(Mode::Sizable);
  Command(Mode::Sizable);
  ExpectMode(Mode::Windowed);
  WriteFileBytes(other_, PatternBmp(410, 90));
  Viewer().WMDropFiles(MakeDrop({other_}));
  EXPECT_EQ(Viewer().ClientWidth(), 410);
  EXPECT_EQ(Viewer().ClientHeight(), 90);
}

TEST_F(DisplayModesTest, EscapeInFullScreenOnlyHidesThePointer) {
  Command(Mode::FullScreen);
  ui::Application::Get().SetCursor(ui::CursorOverride::Arrow);
  PressChord({VK_ESCAPE});
  ExpectMode(Mode::FullScreen);
  EXPECT_EQ(ui::Application::Get().Cursor(), ui::CursorOverride::Hidden);
}

TEST_F(DisplayModesTest, TheCentreCommandMovesOnlyAWindowThatIsNotFullScreen) {
  TViewerForm& v = Viewer();
  v.SetBounds(10, 20, v.Width(), v.Height());
  const int width = v.Width();
  const int height = v.Height();
  PressCtrl('C');
  EXPECT_TRUE(v.CenterMenu->Checked());
  EXPECT_EQ(v.Left(), (1024 - width) / 2);
  EXPECT_EQ(v.Top(), (768 - height) / 2);
  PressCtrl('C');
  EXPECT_FALSE(v.CenterMenu->Checked());
  EXPECT_EQ(v.Left(), 0);
  EXPECT_EQ(v.Top(), 0);
  EXPECT_EQ(v.Width(), width);
  EXPECT_EQ(v.Height(), height);

  Command(Mode::FullScreen);
  for (const bool checked : {true, false}) {
    PressCtrl('C');
    EXPECT_EQ(v.CenterMenu->Checked(), checked);
    ExpectMode(Mode::FullScreen);
    EXPECT_EQ(v.PicImage.Left(), 0);
  }
  // Centred while the mark is on, from the layout on the way out.
  PressCtrl('C');
  Command(Mode::FullScreen);
  EXPECT_EQ(v.Left(), (1024 - v.Width()) / 2);
  EXPECT_EQ(v.Top(), (768 - v.Height()) / 2);
}

TEST_F(DisplayModesTest, APointerHiddenByAKeyComesBackOnTheThirdMoveCountedSinceTheLastDecode) {
  ui::Application& app = ui::Application::Get();
  auto move = [&](HWND window) { ::SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); };
  const HWND form = Viewer().Handle();
  const HWND picture = Viewer().PicImage.Handle();
  // Moves over the window and over its picture count alike.
  for (HWND third : {form, picture}) {
    CursorHideCounter = 0;
    ::SendMessageA(form, WM_KEYDOWN, 'A', 0);
    move(form);
    move(picture);
    EXPECT_EQ(app.Cursor(), ui::CursorOverride::Hidden);
    move(third);
    EXPECT_EQ(app.Cursor(), ui::CursorOverride::Arrow);
  }
  // A key does not restart the count; a decode does.
  move(form);
  move(form);
  ::SendMessageA(form, WM_KEYDOWN, 'A', 0);
  Viewer().LoadPicture(picture_);
  move(form);
  move(form);
  EXPECT_EQ(app.Cursor(), ui::CursorOverride::Hidden);
  move(form);
  EXPECT_EQ(app.Cursor(), ui::CursorOverride::Arrow);
  // The control window's keys hide it too.
  ::SendMessageA(program_.control->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(app.Cursor(), ui::CursorOverride::Hidden);
}

}  // namespace
