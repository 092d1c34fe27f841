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

  void Create(HWND parent, Place place);

  // The control's own bitmap, drawn as it is.
  Bitmap& Picture() { return picture_; }
  // Copies `bitmap` into the control's picture (auto-size then sizes the control).
  void AssignPicture(const Bitmap& bitmap);
  // Call after drawing into Picture() or resizing it.
  void PictureChanged();

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool on);
  bool AlignClient() const { return alignClient_; }
  void SetAlignClient(bool on);
  // Keeps the control filling its parent's client area while aligned.
  void ParentResized();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc);
  void FitToPicture();

  Bitmap picture_;
  bool autoSize_ = true;
  bool stretch_ = false;
  bool alignClient_ = false;
};

}  // namespace ui
