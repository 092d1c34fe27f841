#pragma once
// Thin wrappers, one per kind of control. Each holds its HWND, forwards to the
// messages it wraps, and exposes its events as callback fields that the owning
// form binds in one place.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <iterator>
#include <stdexcept>
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
  // A character that a key press typed (WM_CHAR).
  std::function<void(char ch, bool& consumed)> onKeyPress;
  std::function<void(int x, int y)> onMouseMove;

  void SetFocus() { ::SetFocus(Handle()); }
  bool Focused() const { return ::GetFocus() == Handle(); }

 protected:
  void Create(HWND parent, const char* className, const char* caption, DWORD style, Place place,
              HFONT font, DWORD exStyle = 0);
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The item messages of list boxes and combo boxes, which differ only in name.
struct ComboBoxMessages {
  static constexpr UINT kCount = CB_GETCOUNT, kTextLength = CB_GETLBTEXTLEN, kText = CB_GETLBTEXT,
                        kAdd = CB_ADDSTRING, kInsert = CB_INSERTSTRING, kDelete = CB_DELETESTRING,
                        kReset = CB_RESETCONTENT, kInitStorage = CB_INITSTORAGE;
  static constexpr LRESULT kError = CB_ERR;
};
struct ListBoxMessages {
  static constexpr UINT kCount = LB_GETCOUNT, kTextLength = LB_GETTEXTLEN, kText = LB_GETTEXT,
                        kAdd = LB_ADDSTRING, kInsert = LB_INSERTSTRING, kDelete = LB_DELETESTRING,
                        kReset = LB_RESETCONTENT, kInitStorage = LB_INITSTORAGE;
  static constexpr LRESULT kError = LB_ERR;
};

// A control that holds a list of text items.
template <typename Messages>
class ItemList : public Control {
 public:
  int Count() const { return static_cast<int>(Send(Messages::kCount, 0, 0)); }
  std::string Item(int index) const {
    const LRESULT length = Send(Messages::kTextLength, index, 0);
    if (length == Messages::kError || length < 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    Send(Messages::kText, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
  }
  // Throws when the control has no room left for the item.
  void Add(const std::string& text) { Check(Send(Messages::kAdd, 0, reinterpret_cast<LPARAM>(text.c_str()))); }
  void Insert(int index, const std::string& text) {
    Check(Send(Messages::kInsert, index, reinterpret_cast<LPARAM>(text.c_str())));
  }
  void Delete(int index) { Send(Messages::kDelete, index, 0); }
  void Clear() { Send(Messages::kReset, 0, 0); }
  // Fills the list in one go, without a repaint per item.
  template <typename Range>
  void Assign(const Range& texts) {
    Send(WM_SETREDRAW, FALSE, 0);
    Clear();
    size_t bytes = 0;
    for (const auto& text : texts) bytes += text.size() + 1;
    Send(Messages::kInitStorage, std::size(texts), bytes);
    for (const auto& text : texts) Add(text);
    Send(WM_SETREDRAW, TRUE, 0);
    Invalidate();
  }

 protected:
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return ::SendMessageA(Handle(), msg, wParam, lParam); }
  static void Check(LRESULT result);
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
class ComboBox : public ItemList<ComboBoxMessages> {
 public:
  std::function<void()> onChange;
  void Create(HWND parent, Place place, int visibleRows, int itemHeight, HFONT font);
  int ItemIndex() const;  // -1 when nothing is selected
  void SetItemIndex(int index);

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

class ListBox : public ItemList<ListBoxMessages> {
 public:
  void Create(HWND parent, Place place, HFONT font, int itemHeight, bool visible);
  // First entry that names the same file as `text` (case ignored as the file
  // system ignores it), or -1.
  int IndexOf(const std::string& text) const;
};

}  // namespace ui
