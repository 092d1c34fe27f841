// The mouse on the viewer: in full screen a rubber band that zooms into the
// region it encloses, elsewhere a drag that scrolls a picture larger than the
// window; and the pointer that a key hid coming back on the third move.
#include <cstdlib>

#include "ui/Application.h"
#include "viewer/LayoutMath.h"
#include "viewer/Viewer.h"

namespace {

// Only the four one-pixel edges of a band change, so only they are repainted.
void InvalidateOutline(ui::PictureControl& control, const RECT& r) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  const RECT edges[] = {{r.left, r.top, r.right, r.top + 1},
                        {r.left, r.bottom - 1, r.right, r.bottom},
                        {r.left, r.top, r.left + 1, r.bottom},
                        {r.right - 1, r.top, r.right, r.bottom}};
  for (const RECT& edge : edges) control.PictureChangedAt(edge);
}

}  // namespace

void TViewerForm::CountMouseMove() {
  ++CursorHideCounter;
  if (CursorHideCounter == 3) {
    ui::Application::Get().SetCursor(ui::CursorOverride::Arrow);
    CursorHideCounter = 0;
  }
}

void TViewerForm::FormMouseMove(int, int) { CountMouseMove(); }

void TViewerForm::PicImageMouseDown(int button, int x, int y) {
  if (button != VK_LBUTTON) return;
  if (FullScrMenu->Checked()) {
    MouseMode = 2;
    SelectionRect = {x, y, x, y};
    SelectionAnchor = {x, y};
  } else {
    DragOrigin = {x, y};
    PicImage.BeginDrag();
  }
}

// x plus the control's left is the pointer in the client area: the picture
// follows the pointer, and the scroll bars clamp what lies beyond their range.
void TViewerForm::PicImageDragOver(int x, int y) {
  const int horizontal = DragOrigin.x - x - PicImage.Left();
  const int vertical = DragOrigin.y - y - PicImage.Top();
  SetScrollPosition(SB_HORZ, horizontal);
  SetScrollPosition(SB_VERT, vertical);
}

void TViewerForm::PicImageMouseMove(int x, int y) {
  CountMouseMove();
  if (!FullScrMenu->Checked() || MouseMode != 2) return;
  DrawSelection();  // erases the band drawn last
  const layout::Rect band = layout::SelectionBand({SelectionAnchor.x, SelectionAnchor.y}, {x, y},
                                                  PicImage.Width(), PicImage.Height());
  SelectionRect = {band.left, band.top, band.right, band.bottom};
  DrawSelection();
}

// Drawn into the displayed picture with the NOT-XOR mix: the black pen inverts
// the outline and the white brush leaves the inside as it is, so drawing the
// same rectangle again gives back every pixel. Right and bottom are exclusive,
// as Rectangle draws them.
void TViewerForm::DrawSelection() {
  ui::Bitmap& picture = PicImage.Picture();
  if (picture.Empty()) return;
  const HDC dc = picture.Dc();
  const int oldMix = ::SetROP2(dc, R2_NOTXORPEN);
  {
    const ui::SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
    const ui::SelectGuard brush(dc, ::GetStockObject(WHITE_BRUSH));
    ::Rectangle(dc, SelectionRect.left, SelectionRect.top, SelectionRect.right, SelectionRect.bottom);
  }
  ::SetROP2(dc, oldMix);
  ::GdiFlush();
  InvalidateOutline(PicImage, SelectionRect);
}

void TViewerForm::PicImageMouseUp(int button, int, int) {
  if (button != VK_LBUTTON || !FullScrMenu->Checked() || MouseMode != 2) return;
  MouseMode = 1;
  DrawSelection();
  ZoomIntoSelection();
}

// The region is cut from the picture as displayed, so a zoom inside a zoom
// magnifies what is on screen; only the region is resampled.
void TViewerForm::ZoomIntoSelection() {
  const int width = std::abs(SelectionRect.right - SelectionRect.left);
  const int height = std::abs(SelectionRect.bottom - SelectionRect.top);
  ui::Bitmap region;
  region.Reset(width, height, ui::PixelFormat::Bits24);
  if (!region.Empty()) {
    ::BitBlt(region.Dc(), 0, 0, width, height, PicImage.Picture().Dc(), SelectionRect.left, SelectionRect.top,
             SRCCOPY);
  }
  if (width > 1 && height > 1) {
    LayoutPicture(region);
    ZoomState = 2;
  } else if (ZoomState == 2) {
    ZoomState = 1;
    LayoutPicture(SourceBitmap);
  } else {
    PicImage.Repaint();  // a layout has repainted already
  }
}
