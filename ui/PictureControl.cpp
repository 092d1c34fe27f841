#include "ui/PictureControl.h"

#include <windowsx.h>

namespace ui {

void PictureControl::Create(HWND parent, Place place) {
  CreateOwnClass("TImage", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, place.left, place.top,
                 place.width, place.height, parent, CS_DBLCLKS, nullptr);
}

void PictureControl::AssignPicture(const Bitmap& bitmap) {
  picture_.Assign(bitmap);
  PictureChanged();
}

void PictureControl::PictureChanged() {
  if (autoSize_ && !alignClient_) FitToPicture();
  Invalidate();
}

void PictureControl::FitToPicture() {
  if (!picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void PictureControl::SetAutoSize(bool on) {
  autoSize_ = on;
  if (on && !alignClient_) FitToPicture();
}

void PictureControl::SetStretch(bool on) {
  stretch_ = on;
  Invalidate();
}

void PictureControl::SetAlignClient(bool on) {
  alignClient_ = on;
  if (on) ParentResized();
}

void PictureControl::ParentResized() {
  if (!alignClient_ || !Handle()) return;
  RECT r{};
  ::GetClientRect(::GetParent(Handle()), &r);
  SetBounds(0, 0, r.right, r.bottom);
  Invalidate();
}

void PictureControl::BeginDrag() {
  ::SetCapture(Handle());
  dragging_ = true;
  ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
}

// A captured window gets no WM_SETCURSOR, so the hand is set on every move.
// Only a point where this control itself is visible is a drag over it: not its
// part hidden outside the parent's client area, not a window above it.
void PictureControl::DragTo(int x, int y) {
  ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
  POINT screen{x, y};
  ::ClientToScreen(Handle(), &screen);
  if (::WindowFromPoint(screen) == Handle() && onDragOver) onDragOver(x, y);
}

void PictureControl::EndDrag() {
  dragging_ = false;
  if (::GetCapture() == Handle()) ::ReleaseCapture();
}

void PictureControl::Paint(HDC dc) {
  RECT r{};
  ::GetClientRect(Handle(), &r);
  if (picture_.Empty()) {
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  if (stretch_) {
    picture_.StretchDraw(dc, r);
    return;
  }
  picture_.Draw(dc, 0, 0);
  // Only the area the picture leaves free is cleared, so nothing flickers.
  const int w = picture_.Width();
  const int h = picture_.Height();
  RECT right{w, 0, r.right, r.bottom};
  RECT below{0, h, w, r.bottom};
  if (right.left < right.right) ::FillRect(dc, &right, ::GetSysColorBrush(COLOR_BTNFACE));
  if (below.top < below.bottom) ::FillRect(dc, &below, ::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT PictureControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(Handle(), &ps);
      Paint(dc);
      ::EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_LBUTTONDOWN:
      // The control follows a left press to its release, also outside itself.
      ::SetCapture(Handle());
      if (onMouseDown) onMouseDown(VK_LBUTTON, x, y);
      break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (onMouseDown) {
        onMouseDown(msg == WM_RBUTTONDOWN ? VK_RBUTTON : VK_MBUTTON, x, y);
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) {
        EndDrag();
        break;
      }
      if (::GetCapture() == Handle()) ::ReleaseCapture();
      if (onMouseUp) onMouseUp(VK_LBUTTON, x, y);
      break;
    case WM_CAPTURECHANGED:
      // Taken away (a menu, another window): the drag is over. Capturing
      // again for ourselves also reports a change, to ourselves.
      if (reinterpret_cast<HWND>(lParam) != Handle()) dragging_ = false;
      break;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (onMouseUp) {
        onMouseUp(msg == WM_RBUTTONUP ? VK_RBUTTON : VK_MBUTTON, x, y);
      }
      break;
    case WM_MOUSEMOVE:
      if (dragging_) {
        DragTo(x, y);
      } else if (onMouseMove) {
        onMouseMove(x, y);
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (onDblClick) onDblClick();
      return 0;
    default:
      break;
  }
  return Window::WndProc(msg, wParam, lParam);
}

}  // namespace ui
