// The slide show: a window timer that runs the next command at each tick,
// started and stopped from the menu or the control window's button.
#include <cstdint>

#include "control/Control.h"
#include "ui/Application.h"
#include "viewer/Viewer.h"

// The check mark is the show's running state. A list of fewer than two
// entries has nothing to show in turn: starting is refused without a word.
void TViewerForm::SlideShowMenuClick() {
  SlideShowMenu->SetChecked(!SlideShowMenu->Checked());
  if (SlideShowMenu->Checked() && FileCount < 2) {
    SlideShowMenu->SetChecked(false);
    return;
  }
  const bool running = SlideShowMenu->Checked();
  ControlForm->SlideShowBtn.SetCaption(running ? "Stop" : "Start");
  Timer.SetEnabled(running);
}

// At the end of the list the show stops; the endless option starts it again
// from before the first entry, so that the last picture keeps its full
// interval and the next tick shows the first.
void TViewerForm::TimerTimer() {
  if (NextMenu->Enabled()) NextMenuClick();
  if (NextMenu->Enabled()) return;
  SlideShowMenuClick();
  // A list that shrank to one entry or none while the show ran cannot restart.
  if (!LoopMenu->Checked() || FileCount < 2) return;
  SetNextEnabled(true);
  SetPrevEnabled(false);
  CurrentIndex = -1;
  SlideShowMenuClick();
}

void TViewerForm::LoopMenuClick() { LoopMenu->SetChecked(!LoopMenu->Checked()); }

void TViewerForm::PicImageProgress(DrawStage stage) {
  if (!SlideShowMenu->Checked()) return;
  if (stage == DrawStage::Start) Timer.SetEnabled(false);
  if (stage == DrawStage::End) Timer.SetEnabled(true);
}

// The position is a 16-bit value of the control; typed text reaches the timer
// only through a click.
void TViewerForm::UpDownClick() { Timer.SetInterval(static_cast<int16_t>(ControlForm->UpDown.Position())); }

TViewerForm::DrawingScope::DrawingScope(TViewerForm& viewer) : viewer_(viewer) {
  if (viewer_.drawingDepth_++ == 0) viewer_.PicImageProgress(DrawStage::Start);
}

// The picture is painted before the timer's period starts over, so the next
// tick is one full interval after it appeared.
TViewerForm::DrawingScope::~DrawingScope() {
  if (--viewer_.drawingDepth_ != 0) return;
  try {
    ::UpdateWindow(viewer_.Handle());
    viewer_.PicImageProgress(DrawStage::End);
  } catch (...) {
    ui::Application::Get().ReportException(std::current_exception());
  }
}
