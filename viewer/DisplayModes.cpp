// The three display commands: full screen, the sizable view and centring. The
// check marks of their menu items are the only record of the modes; full
// screen and the sizable view are never both checked.
#include "control/Control.h"
#include "ui/Application.h"
#include "ui/Screen.h"
#include "viewer/LayoutMath.h"
#include "viewer/Viewer.h"

namespace {

// Client width of the picture when the sizable view is switched on.
constexpr int kSizableWidth = 200;

HBRUSH ButtonFace() { return ::GetSysColorBrush(COLOR_BTNFACE); }
HBRUSH Black() { return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)); }

}  // namespace

void TViewerForm::FullScrMenuClick() {
  if (SizableMenu->Checked()) {
    SizableMenu->SetChecked(false);
    PicImage.SetStretch(false);
    PicImage.SetAlignClient(false);
  }
  FullScrMenu->SetChecked(!FullScrMenu->Checked());
  if (FullScrMenu->Checked()) {
    EnterFullScreen();
  } else {
    LeaveFullScreen();
  }
  LayoutPicture(SourceBitmap);
  ReassertWindows();
}

// No decode on the way in: the layout fits the picture already decoded.
void TViewerForm::EnterFullScreen() {
  PicImage.SetAutoSize(false);
  ViewState = 2;
  SetBackground(Black());
  HideScrollBars();  // no bar may take width from the screen
  SetBorderStyle(ui::BorderStyle::None, 0, 0, ui::ScreenWidth(), ui::ScreenHeight());  // at (0, 0)
}

// The entry is decoded again: the full-screen layout converted the decoded
// picture to 24 bits in place, and a zoom showed only part of it.
void TViewerForm::LeaveFullScreen() {
  LoadPicture(FNameListBox.Item(CurrentIndex));
  PicImage.SetAutoSize(true);
  ui::Application::Get().SetCursor(ui::CursorOverride::None);
  SetWindowStateNormal();
  SetBackground(ButtonFace());
  SetBorderStyle(ui::BorderStyle::Sizeable);
  PicImage.SetAlignClient(false);
  PicImage.SetStretch(false);
  PicImage.SetBounds(0, 0, PicImage.Picture().Width(), PicImage.Picture().Height());
  ViewState = 1;
  SetStayOnTop(false);
}

// The frame changes in place here, which keeps the drop registration; it is
// renewed all the same, as a window re-created for its new frame would need.
// The resized viewer may lie above the control window on the screen.
void TViewerForm::ReassertWindows() {
  AcceptFiles(true);
  ControlForm->SetStayOnTop(true);
}

void TViewerForm::SizableMenuClick() {
  if (FullScrMenu->Checked()) LeaveFullScreenForSizable();
  SizableMenu->SetChecked(!SizableMenu->Checked());
  PicImage.SetStretch(SizableMenu->Checked());
  if (SizableMenu->Checked()) {
    const ui::Bitmap& held = PicImage.Picture();
    PicImage.SetBounds(PicImage.Left(), PicImage.Top(), kSizableWidth,
                       layout::SizableClientHeight(held.Width(), held.Height(), kSizableWidth));
    SetClientWidth(PicImage.Width());
    SetClientHeight(PicImage.Height());
    PicImage.SetAlignClient(true);
    SetBorderStyle(ui::BorderStyle::Sizeable);
  } else {
    PicImage.SetAlignClient(false);
    PicImage.SetBounds(PicImage.Left(), PicImage.Top(), PicImage.Picture().Width(), PicImage.Picture().Height());
    SetClientWidth(PicImage.Width());
    SetClientHeight(PicImage.Height());
  }
  LayoutPicture(SourceBitmap);
  AcceptFiles(true);
}

// Leaves full screen without decoding again; the pointer keeps its override.
// Auto-size comes back on as it does on the full-screen command's own way
// out: the windowed view that may follow sizes the window from it.
void TViewerForm::LeaveFullScreenForSizable() {
  FullScrMenu->SetChecked(false);
  PicImage.SetAlignClient(false);
  PicImage.SetStretch(false);
  PicImage.SetAutoSize(true);
  SetWindowStateNormal();
  SetBackground(ButtonFace());
  ViewState = 1;
}

void TViewerForm::CenterMenuClick() {
  CenterMenu->SetChecked(!CenterMenu->Checked());
  if (FullScrMenu->Checked()) return;
  if (CenterMenu->Checked()) {
    CenterOnWorkArea();
  } else {
    SetBounds(0, 0, Width(), Height());
  }
}
