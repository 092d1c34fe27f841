// The viewer window's own scroll bars: they appear when the picture control is
// larger than the client area and move the picture while the thumb is dragged.
#include <algorithm>

#include "viewer/Viewer.h"

namespace {
constexpr int kLineStep = 16;
}

int TViewerForm::ScrollPosition(int bar) const { return ::GetScrollPos(Handle(), bar); }

void TViewerForm::SetScrollPosition(int bar, int position) {
  SCROLLINFO info{sizeof(info), SIF_POS};
  info.nPos = position;
  ::SetScrollInfo(Handle(), bar, &info, TRUE);  // the bar clamps to its range
  ScrollPictureIntoPlace();
}

void TViewerForm::ResetScroll() {
  SetScrollPosition(SB_HORZ, 0);
  SetScrollPosition(SB_VERT, 0);
}

// A page as large as the client area: the bar hides itself once the picture fits.
void TViewerForm::UpdateScrollBars() {
  const bool scrollable = !FullScrMenu->Checked() && !PicImage.AlignClient();
  for (int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE};
    info.nMax = scrollable ? (bar == SB_HORZ ? PicImage.Width() : PicImage.Height()) - 1 : 0;
    info.nPage = scrollable ? (bar == SB_HORZ ? ClientWidth() : ClientHeight()) : 1;
    ::SetScrollInfo(Handle(), bar, &info, TRUE);
  }
  ScrollPictureIntoPlace();
}

// Both bars go in one change of the frame; setting their ranges one by one
// would change it once for each, and each change costs a repaint.
void TViewerForm::HideScrollBars() {
  ::ShowScrollBar(Handle(), SB_BOTH, FALSE);
  UpdateScrollBars();
}

void TViewerForm::ScrollPictureIntoPlace() {
  if (FullScrMenu->Checked() || PicImage.AlignClient()) return;
  const int left = -ScrollPosition(SB_HORZ);
  const int top = -ScrollPosition(SB_VERT);
  if (PicImage.Left() != left || PicImage.Top() != top) {
    PicImage.SetBounds(left, top, PicImage.Width(), PicImage.Height());
  }
}

void TViewerForm::FormScroll(int bar, WORD code) {
  SCROLLINFO info{sizeof(info), SIF_ALL};
  ::GetScrollInfo(Handle(), bar, &info);
  int position = info.nPos;
  switch (code) {
    case SB_LINEUP: position -= kLineStep; break;
    case SB_LINEDOWN: position += kLineStep; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:  // follows the thumb while it is dragged
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
  }
  SetScrollPosition(bar, position);
}
