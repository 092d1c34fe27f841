#include "ui/Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <vector>

#include "ui/FilePaths.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Win32Error.h"

namespace ui {

HFONT GetFont(const std::string& face, int height, BYTE charset) {
  static std::map<std::string, GdiFont> fonts;
  const std::string key = face + "/" + std::to_string(height) + "/" + std::to_string(charset);
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second.Get();
  // A negative height asks for the character height rather than the cell height.
  HFONT font = ::CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  return fonts.emplace(key, GdiFont(font)).first->second.Get();
}

template <typename Messages>
void ItemList<Messages>::Check(LRESULT result) {
  // CB_ERRSPACE and LB_ERRSPACE: the control ran out of memory.
  if (result < 0) throw std::runtime_error("Out of memory for a list item");
}
template class ItemList<ComboBoxMessages>;
template class ItemList<ListBoxMessages>;

void Control::Create(HWND parent, const char* className, const char* caption, DWORD style,
                     Place place, HFONT font, DWORD exStyle) {
  CreateControl(className, caption, WS_CHILD | WS_VISIBLE | style, exStyle, place.left, place.top,
                place.width, place.height, parent);
  if (font) SetFont(font);
}

LRESULT Control::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
      if (onKeyDown) {
        bool consumed = false;
        onKeyDown(static_cast<WORD>(wParam), consumed);
        if (consumed) return 0;
      }
      break;
    case WM_CHAR:
      if (onKeyPress) {
        bool consumed = false;
        onKeyPress(static_cast<char>(wParam), consumed);
        if (consumed) return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (onMouseMove) onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_CONTEXTMENU:
      // The form's popup menu comes before a control's own (an edit box has
      // one), which would otherwise answer the click itself.
      if (Form* form = Form::Containing(Handle()); form && form->OpenPopupMenu(Handle(), lParam)) return 0;
      break;
    default:
      break;
  }
  return Window::WndProc(msg, wParam, lParam);
}

void Button::Create(HWND parent, const std::string& caption, Place place, HFONT font, bool tabStop) {
  Control::Create(parent, "BUTTON", caption.c_str(), BS_PUSHBUTTON | (tabStop ? WS_TABSTOP : 0),
                  place, font);
}

void Button::Click() {
  if (Enabled() && onClick) onClick();
}

void Button::HandleCommand(WORD notifyCode) {
  if (notifyCode == BN_CLICKED && onClick) onClick();
}

void ComboBox::Create(HWND parent, Place place, int visibleRows, int itemHeight, HFONT font) {
  // The height given to a drop-down list is that of the list when it is open.
  Place dropped = place;
  dropped.height = place.height + visibleRows * itemHeight + 2;
  Control::Create(parent, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, dropped, font);
  ::SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, itemHeight);
}

int ComboBox::ItemIndex() const {
  const LRESULT index = ::SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void ComboBox::SetItemIndex(int index) { ::SendMessageA(Handle(), CB_SETCURSEL, index, 0); }

void ComboBox::HandleCommand(WORD notifyCode) {
  if (notifyCode == CBN_SELCHANGE && onChange) onChange();
}

void Edit::Create(HWND parent, const std::string& text, Place place, HFONT font, DWORD extraStyle) {
  Control::Create(parent, "EDIT", text.c_str(), ES_AUTOHSCROLL | extraStyle, place, font,
                  WS_EX_CLIENTEDGE);
}

void UpDown::Create(HWND parent, Place place, Edit& buddy, int minimum, int maximum, int increment) {
  Control::Create(parent, UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS,
                  place, nullptr);
  ::SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy.Handle()), 0);
  ::SendMessageA(Handle(), UDM_SETRANGE32, minimum, maximum);
  UDACCEL accel{0, static_cast<UINT>(increment)};
  ::SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

int UpDown::Position() const {
  return static_cast<int>(::SendMessageA(Handle(), UDM_GETPOS32, 0, 0));
}

int UpDown::Minimum() const {
  int low = 0;
  ::SendMessageA(Handle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), 0);
  return low;
}

int UpDown::Maximum() const {
  int high = 0;
  ::SendMessageA(Handle(), UDM_GETRANGE32, 0, reinterpret_cast<LPARAM>(&high));
  return high;
}

void UpDown::SetPosition(int position) {
  int value = static_cast<int16_t>(position);
  value = std::max(Minimum(), std::min(Maximum(), value));
  ::SendMessageA(Handle(), UDM_SETPOS32, 0, value);
}

LRESULT UpDown::HandleNotify(NMHDR* header) {
  if (header->code == UDN_DELTAPOS) {
    lastDirection_ = reinterpret_cast<NMUPDOWN*>(header)->iDelta > 0 ? Direction::Up : Direction::Down;
  }
  return 0;
}

// The control reports a finished click as a scroll message to its parent.
void UpDown::HandleScroll(WORD code) {
  if (code == SB_THUMBPOSITION && onClick) onClick(lastDirection_);
}

void GroupBox::Create(HWND parent, const std::string& caption, Place place, HFONT font) {
  Control::Create(parent, "BUTTON", caption.c_str(), BS_GROUPBOX, place, font);
}

void Panel::Create(HWND parent, Place place) {
  // Its controls are its children; the bevel is drawn around them, never over them.
  CreateOwnClass("TPanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, place.left, place.top,
                 place.width, place.height, parent, 0, ::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT Panel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Handle(), &ps);
    RECT r{};
    ::GetClientRect(Handle(), &r);
    ::DrawEdge(dc, &r, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
    ::EndPaint(Handle(), &ps);
    return 0;
  }
  return Window::WndProc(msg, wParam, lParam);
}

void ListBox::Create(HWND parent, Place place, HFONT font, int itemHeight, bool visible) {
  CreateControl("LISTBOX", "",
                WS_CHILD | (visible ? WS_VISIBLE : 0) | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT |
                    LBS_NOTIFY,
                WS_EX_CLIENTEDGE, place.left, place.top, place.width, place.height, parent);
  if (font) SetFont(font);
  if (itemHeight > 0) ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight);
}

int ListBox::IndexOf(const std::string& text) const {
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    if (SamePathText(Item(i), text)) return i;
  }
  return -1;
}

}  // namespace ui
