// Real mouse input on the program's windows: SendInput at a control's centre,
// so that the window system's hit testing decides which window gets it.
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "UserInput.h"

using namespace testing_support;

namespace {

TEST(Mouse, EveryButtonOfTheControlWindowTakesAClickAtItsCentre) {
  ProgramFixture program("[Control]\r\nOption=1\r\n");
  program.Start();
  TControlForm& control = *program.control;
  for (ui::Button* button : {&control.PrevBtn, &control.NextBtn, &control.OptBtn, &control.SlideShowBtn,
                             &control.MoveBtn, &control.FolderOpenBtn}) {
    button->SetEnabled(true);
    int clicks = 0;
    button->onClick = [&] { ++clicks; };
    const POINT centre = CentreOf(button->Handle());
    EXPECT_EQ(::WindowFromPoint(centre), button->Handle()) << button->Caption();
    ClickAt(centre);
    EXPECT_EQ(clicks, 1) << button->Caption();
  }
}

// The navigation buttons choose the viewer's commands: a disabled command does
// nothing, whatever state the button itself is in.
TEST(Mouse, NavigationButtonsRunTheViewersCommandsOnlyWhileTheyAreEnabled) {
  ProgramFixture program;
  program.Start();
  TViewerForm& viewer = *program.viewer;
  TControlForm& control = *program.control;
  struct Case {
    ui::Button* button;
    ui::MenuItem* command;
  };
  for (const Case& c : {Case{&control.NextBtn, viewer.NextMenu}, Case{&control.PrevBtn, viewer.PrevMenu}}) {
    int runs = 0;
    c.command->onClick = [&] { ++runs; };
    c.button->SetEnabled(true);
    c.command->SetEnabled(false);
    ClickAt(CentreOf(c.button->Handle()));
    EXPECT_EQ(runs, 0) << c.button->Caption();
    c.command->SetEnabled(true);
    ClickAt(CentreOf(c.button->Handle()));
    EXPECT_EQ(runs, 1) << c.button->Caption();
  }
}

TEST(Mouse, PopupMenu1ItemsStepThroughTheNavigationButtonsCommands) {
  ProgramFixture program;
  program.Start();
  TViewerForm& viewer = *program.viewer;
  TControlForm& control = *program.control;
  int nexts = 0;
  int prevs = 0;
  viewer.NextMenu->onClick = [&] { ++nexts; };
  viewer.PrevMenu->onClick = [&] { ++prevs; };
  ui::MenuItem* const items[] = {control.next1, control.next21, control.prev11, control.prev21};
  for (ui::MenuItem* item : items) item->Click();
  EXPECT_EQ(nexts, 0);
  EXPECT_EQ(prevs, 0);
  viewer.NextMenu->SetEnabled(true);
  viewer.PrevMenu->SetEnabled(true);
  for (ui::MenuItem* item : items) item->Click();
  EXPECT_EQ(nexts, 2);
  EXPECT_EQ(prevs, 2);
}

TEST(Mouse, RightClickAnywhereInTheControlWindowOpensTheViewersPopupMenu) {
  ProgramFixture program("[Control]\r\nOption=1\r\n");
  program.Start();
  TControlForm& control = *program.control;
  const HMENU popup = program.viewer->PopupMenu.Handle();
  for (HWND target : {control.TimeMemo.Handle(), control.NextBtn.Handle(), control.FNameCmbBox.Handle(),
                      control.OptPanel.Handle(), control.MoveBtn.Handle()}) {
    EXPECT_EQ(MenuOpenedBy([&] { ClickAt(CentreOf(target), true); }), popup) << target;
  }
  RECT client{};
  ::GetClientRect(control.Handle(), &client);
  POINT background{client.right - 2, 2};
  ::ClientToScreen(control.Handle(), &background);
  EXPECT_EQ(MenuOpenedBy([&] { ClickAt(background, true); }), popup);
  // From the keyboard (Shift+F10): the message carries no point.
  EXPECT_EQ(MenuOpenedBy([&] {
              ::SendMessageA(control.TimeMemo.Handle(), WM_CONTEXTMENU,
                             reinterpret_cast<WPARAM>(control.TimeMemo.Handle()), MAKELPARAM(-1, -1));
            }),
            popup);
}

// A point in a window's frame, found by the window's own hit test.
POINT PointWhere(HWND window, LRESULT hit) {
  RECT r{};
  ::GetWindowRect(window, &r);
  for (int y = r.top; y < r.bottom; y += 2) {
    for (int x = r.left; x < r.right; x += 2) {
      if (::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit) return {x, y};
    }
  }
  ADD_FAILURE() << "no point with hit code " << hit;
  return {r.left, r.top};
}

TEST(Mouse, RightClicksOnTitleBarsAndScrollBarsKeepTheSystemsBehaviour) {
  ProgramFixture program;
  program.Start();
  const HMENU popup = program.viewer->PopupMenu.Handle();
  const HWND viewer = program.viewer->Handle();
  ::ShowScrollBar(viewer, SB_BOTH, TRUE);
  for (const LRESULT hit : {LRESULT{HTCAPTION}, LRESULT{HTVSCROLL}, LRESULT{HTHSCROLL}}) {
    const POINT at = PointWhere(viewer, hit);
    EXPECT_NE(MenuOpenedBy([&] { ClickAt(at, true); }), popup) << "hit " << hit;
  }
  const POINT controlCaption = PointWhere(program.control->Handle(), HTCAPTION);
  EXPECT_NE(MenuOpenedBy([&] { ClickAt(controlCaption, true); }), popup);
  // The client area still opens it.
  EXPECT_EQ(MenuOpenedBy([&] { ClickAt(CentreOf(program.viewer->PicImage.Handle()), true); }), popup);
}

}  // namespace
