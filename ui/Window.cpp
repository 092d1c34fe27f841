#include "ui/Window.h"

#include <commctrl.h>

#include <stdexcept>
#include <vector>

#include "ui/Application.h"

namespace ui {

namespace {

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

void RegisterOnce(const char* className, UINT classStyle, HBRUSH background, WNDPROC proc) {
  WNDCLASSEXA existing{sizeof(existing)};
  if (::GetClassInfoExA(Instance(), className, &existing)) return;
  WNDCLASSEXA wc{sizeof(wc)};
  wc.style = classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = ::LoadIconA(Instance(), "MAINICON");
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  if (!::RegisterClassExA(&wc)) throw std::runtime_error(std::string("RegisterClass ") + className);
}

}  // namespace

Window::~Window() { DestroyHandle(); }

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
}

void Window::CreateOwnClass(const char* className, const char* caption, DWORD style,
                            DWORD exStyle, int left, int top, int width, int height, HWND parent,
                            UINT classStyle, HBRUSH background) {
  RegisterOnce(className, classStyle, background, &Window::Trampoline);
  // WM_NCCREATE links the object to the handle (lpCreateParams).
  HWND hwnd = ::CreateWindowExA(exStyle, className, caption, style, left, top, width, height,
                                parent, nullptr, Instance(), this);
  if (!hwnd) throw std::runtime_error(std::string("CreateWindow ") + className);
}

void Window::CreateControl(const char* className, const char* caption, DWORD style,
                           DWORD exStyle, int left, int top, int width, int height, HWND parent) {
  hwnd_ = ::CreateWindowExA(exStyle, className, caption, style, left, top, width, height, parent,
                            nullptr, Instance(), nullptr);
  if (!hwnd_) throw std::runtime_error(std::string("CreateWindow ") + className);
  ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  originalProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Trampoline)));
}

LRESULT CALLBACK Window::Trampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  Window* self = FromHandle(hwnd);
  if (!self) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  return self->Dispatch(msg, wParam, lParam);
}

// Our i686 GCC unwinds with DWARF tables, which cannot pass through user32's
// frames: an exception leaving this function would end the program. So every
// message is handled inside a try, and a failure gets the error box and the
// message's default answer.
LRESULT Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  try {
    result = WndProc(msg, wParam, lParam);
  } catch (...) {
    Application::Get().ReportException(std::current_exception());
    result = DefaultProc(msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
  }
  return result;
}

LRESULT Window::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      // Control notifications reach the control's own object.
      if (lParam) {
        if (Window* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
          child->HandleCommand(HIWORD(wParam));
          return 0;
        }
      }
      break;
    case WM_NOTIFY:
      if (Window* child = FromHandle(reinterpret_cast<NMHDR*>(lParam)->hwndFrom)) {
        return child->HandleNotify(reinterpret_cast<NMHDR*>(lParam));
      }
      break;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lParam) {
        if (Window* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
          child->HandleScroll(LOWORD(wParam));
          return 0;
        }
      }
      break;
    case WM_SETCURSOR:
      // Borders, title bar and scroll bars keep the system's cursors (the
      // sizing arrows); the override is for what the window itself shows.
      if (LOWORD(lParam) == HTCLIENT && Application::Get().ApplyCursorOverride()) return TRUE;
      break;
    default:
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (originalProc_) return ::CallWindowProcA(originalProc_, hwnd_, msg, wParam, lParam);
  return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
}

std::string Window::Caption() const {
  const int length = ::GetWindowTextLengthA(hwnd_);
  std::vector<char> text(length + 1);
  const int got = ::GetWindowTextA(hwnd_, text.data(), length + 1);
  return std::string(text.data(), got);
}

void Window::SetCaption(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }

RECT Window::Bounds() const {
  RECT rect{};
  ::GetWindowRect(hwnd_, &rect);
  if (HWND parent = ::GetParent(hwnd_); parent && (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD)) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

int Window::Width() const {
  const RECT r = Bounds();
  return r.right - r.left;
}

int Window::Height() const {
  const RECT r = Bounds();
  return r.bottom - r.top;
}

void Window::SetBounds(int left, int top, int width, int height) {
  ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Window::ClientWidth() const {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  return r.right;
}

int Window::ClientHeight() const {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  return r.bottom;
}

void Window::SetClientWidth(int width) { SetWidth(Width() - ClientWidth() + width); }

void Window::SetClientHeight(int height) { SetHeight(Height() - ClientHeight() + height); }

bool Window::Visible() const { return (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void Window::SetVisible(bool visible) {
  if (visible == Visible()) return;
  ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }

void Window::SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled); }

void Window::SetFont(HFONT font) { ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void Window::Invalidate() { ::InvalidateRect(hwnd_, nullptr, TRUE); }

void Window::Repaint() {
  ::InvalidateRect(hwnd_, nullptr, TRUE);
  ::UpdateWindow(hwnd_);
}

void Window::DestroyHandle() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

}  // namespace ui
