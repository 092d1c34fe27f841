#pragma once
// Thin wrappers, one per kind of control. Each holds its HWND, forwards to the
// messages it wraps, and exposes its events as callback fields that the owning
// form binds in one place.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/Window.h"

namespace ui {

// A shared font by face name and character height in pixels.
HFONT GetFont(const std::string& face, int height, BYTE charset = SHIFTJIS_CHARSET);

struct Place {
  int left, top, width, height;
};

// Events that every control can report.
class Control : public Window {
 public:
  std::function<void(WORD key, bool& consumed)> onKeyDown;
  std::function<void(int x, int y)> onMouseMove;

  void SetFocus() { ::SetFocus(Handle()); }
  bool Focused() const { return ::GetFocus() == Handle(); }

 protected:
  void Create(HWND parent, const char* className, const char* caption, DWORD style, Place place,
              HFONT font, DWORD exStyle = 0);
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class Button : public Control {
 public:
  std::function<void()> onClick;
  void Create(HWND parent, const std::string& caption, Place place, HFONT font, bool tabStop);
  void Click();  // as the user's click: nothing while disabled

 protected:
  void HandleCommand(WORD notifyCode) override;
};

// A drop-down list that cannot be edited.
class ComboBox : public Control {
 public:
  std::function<void()> onChange;
  void Create(HWND parent, Place place, int visibleRows, int itemHeight, HFONT font);
  int Count() const;
  std::string Item(int index) const;
  void Add(const std::string& text);
  void Insert(int index, const std::string& text);
  void Delete(int index);
  void Clear();
  int ItemIndex() const;  // -1 when nothing is selected
  void SetItemIndex(int index);
  // Fills the list in one go, without a repaint per item.
  template <typename Range>
  void Assign(const Range& texts) {
    ::SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    Clear();
    for (const auto& text : texts) Add(text);
    ::SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  }

 protected:
  void HandleCommand(WORD notifyCode) override;
};

class Edit : public Control {
 public:
  void Create(HWND parent, const std::string& text, Place place, HFONT font, DWORD extraStyle);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
};

// Up-down arrows bound to an edit box that shows the position.
class UpDown : public Control {
 public:
  enum class Direction { Up, Down };
  std::function<void(Direction)> onClick;
  void Create(HWND parent, Place place, Edit& buddy, int minimum, int maximum, int increment);
  int Position() const;
  // The position is a 16-bit signed value, kept within the range.
  void SetPosition(int position);
  int Minimum() const;
  int Maximum() const;

 protected:
  LRESULT HandleNotify(NMHDR* header) override;
  void HandleScroll(WORD code) override;

 private:
  Direction lastDirection_ = Direction::Up;
};

class GroupBox : public Control {
 public:
  void Create(HWND parent, const std::string& caption, Place place, HFONT font);
};

// A panel drawn with a raised inner and a lowered outer bevel.
class Panel : public Window {
 public:
  void Create(HWND parent, Place place);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class ListBox : public Control {
 public:
  void Create(HWND parent, Place place, HFONT font, int itemHeight, bool visible);
  int Count() const;
  std::string Item(int index) const;
  void Add(const std::string& text);
  void Insert(int index, const std::string& text);
  void Delete(int index);
  void Clear();
  // First entry equal to `text` without regard to case, or -1.
  int IndexOf(const std::string& text) const;
};

}  // namespace ui
