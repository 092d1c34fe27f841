#pragma once
// The picture control: shows a bitmap at its own size, or stretched to the
// control, and can size itself to its picture or fill its parent's client area.
#include <windows.h>

#include <functional>

#include "ui/Bitmap.h"
#include "ui/Controls.h"
#include "ui/Window.h"

namespace ui {

class PictureControl : public Window {
 public:
  std::function<void(int button, int x, int y)> onMouseDown;  // button: VK_LBUTTON, VK_RBUTTON ...
  std::function<void(int x, int y)> onMouseMove;
  std::function<void(int button, int x, int y)> onMouseUp;
  std::function<void()> onDblClick;
  // While a drag lasts: the pointer is over the visible part of this control.
  std::function<void(int x, int y)> onDragOver;

  void Create(HWND parent, Place place);

  // The control's own bitmap, drawn as it is.
  Bitmap& Picture() { return picture_; }
  // Copies `bitmap` into the control's picture (auto-size then sizes the control).
  void AssignPicture(const Bitmap& bitmap);
  // Call after drawing into Picture() or resizing it.
  void PictureChanged();
  // Call after drawing into this part of Picture() only.
  void PictureChangedAt(const RECT& area) { ::InvalidateRect(Handle(), &area, FALSE); }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool on);
  bool AlignClient() const { return alignClient_; }
  void SetAlignClient(bool on);
  // Keeps the control filling its parent's client area while aligned.
  void ParentResized();

  // Begins a drag of the control at once, without a movement threshold: until
  // the left button is released the pointer is the hand and moves are
  // reported as drag-overs instead of mouse moves. Nothing is dropped.
  void BeginDrag();
  bool Dragging() const { return dragging_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc);
  void FitToPicture();
  void DragTo(int x, int y);
  void EndDrag();

  Bitmap picture_;
  bool autoSize_ = true;
  bool stretch_ = false;
  bool alignClient_ = false;
  bool dragging_ = false;
};

}  // namespace ui
