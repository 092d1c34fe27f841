// Placing a picture on screen for the current display mode.
#include <cstdlib>

#include "ui/Screen.h"
#include "viewer/ImgCtrlBitmap.h"
#include "viewer/LayoutMath.h"
#include "viewer/Viewer.h"

namespace {

struct WorkSize {
  int width;
  int height;
};

// Only the work area's size counts, measured from the screen's origin.
WorkSize ReadWorkArea() {
  const RECT r = ui::WorkArea();
  return {std::abs(r.left - r.right), std::abs(r.bottom - r.top)};
}

}  // namespace

void TViewerForm::LayoutPicture(ui::Bitmap& bitmap) {
  if (FullScrMenu->Checked()) {
    LayoutFullScreen(bitmap);
  } else {
    ResetScroll();
    PicImage.AssignPicture(bitmap);
    const WorkSize work = ReadWorkArea();
    if (SizableMenu->Checked()) {
      SetClientWidth(PicImage.Width());
      SetClientHeight(layout::SizableClientHeight(PicImage.Picture().Width(), PicImage.Picture().Height(),
                                                  PicImage.Width()));
    } else {
      SetClientHeight(PicImage.Height());
      SetClientWidth(PicImage.Width());
    }
    ClampToWorkArea(work.width, work.height);
    UpdateScrollBars();
  }
  if (CenterMenu->Checked()) CenterOnWorkArea();
  MouseMode = 1;
  ZoomState = 1;
}

void TViewerForm::LayoutFullScreen(ui::Bitmap& bitmap) {
  const layout::Placement fit =
      layout::FitToScreen(ui::ScreenWidth(), ui::ScreenHeight(), bitmap.Width(), bitmap.Height());
  PicImage.SetStretch(false);
  PicImage.SetBounds(fit.left, fit.top, fit.width, fit.height);
  // What the bitmap held is overwritten anyway: one of another size is made
  // afresh, nothing of the old one copied over, and one of the same size is
  // kept as it is (a zoom into the whole screen fits into the same size).
  ui::Bitmap& shown = PicImage.Picture();
  if (shown.Width() != fit.width || shown.Height() != fit.height || shown.Format() != ui::PixelFormat::Bits24) {
    shown.Reset(fit.width, fit.height, ui::PixelFormat::Bits24);
  }
  ResampleBilinear(&shown, &bitmap);
  PicImage.Repaint();
}

void TViewerForm::ClampToWorkArea(int workWidth, int workHeight) {
  layout::WindowBox box{Left(), Top(), Width(), Height(), ClientWidth(), ClientHeight()};
  layout::ClampToWorkArea(box, workWidth, workHeight, PicImage.Width(), PicImage.Height());
  SetBounds(box.left, box.top, box.width, box.height);
}

void TViewerForm::CenterOnWorkArea() {
  if (FullScrMenu->Checked()) return;
  const WorkSize work = ReadWorkArea();
  const layout::Point at = layout::CenterInWorkArea(work.width, work.height, Width(), Height());
  SetBounds(at.x, at.y, Width(), Height());
}

// The client area never grows beyond the picture; it may shrink (scroll bars).
void TViewerForm::FormResize() {
  if (ViewState != 1) return;
  PicImage.ParentResized();  // in the sizable view the picture fills the client area
  if (ClientWidth() > PicImage.Width()) SetClientWidth(PicImage.Width());
  if (ClientHeight() > PicImage.Height()) SetClientHeight(PicImage.Height());
  UpdateScrollBars();
}
