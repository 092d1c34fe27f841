#include "ui/Form.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Menu.h"

namespace ui {

namespace {

bool KeyDown(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

bool IsPushButton(HWND hwnd) {
  char name[16] = {};
  ::GetClassNameA(hwnd, name, sizeof(name));
  if (::lstrcmpiA(name, "Button") != 0) return false;
  const LONG type = ::GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Containers such as a panel are no stops of their own: their controls are.
bool CanTakeFocus(HWND hwnd) {
  const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
  if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) return false;
  char name[16] = {};
  ::GetClassNameA(hwnd, name, sizeof(name));
  if (::lstrcmpiA(name, "Static") == 0 || ::lstrcmpiA(name, "msctls_updown32") == 0) return false;
  if (::lstrcmpiA(name, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX) return false;
  return dynamic_cast<Control*>(Window::FromHandle(hwnd)) != nullptr;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// Every control of a form in creation order, depth first: the controls inside
// a panel come where the panel does.
std::vector<HWND> ControlsInOrder(HWND form) {
  std::vector<HWND> order;
  ::EnumChildWindows(form, CollectWindow, reinterpret_cast<LPARAM>(&order));
  return order;
}

}  // namespace

Form* Form::Containing(HWND hwnd) {
  HWND root = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
  return dynamic_cast<Form*>(Window::FromHandle(root));
}

// Every form is owned by the application's window, which alone has a taskbar entry.
void Form::CreateForm(const FormDesign& design) {
  background_ = design.background;
  CreateOwnClass(design.className, design.caption, design.style, design.exStyle, design.left,
                 design.top, design.width, design.height, Application::Get().Handle(), CS_DBLCLKS,
                 nullptr);
}

bool Form::Visible() const { return hiddenWithOwner_ || Window::Visible(); }

void Form::SetVisible(bool visible) {
  if (hiddenWithOwner_) {
    hiddenWithOwner_ = visible;
    return;
  }
  Window::SetVisible(visible);
}

void Form::Show() {
  ::ShowWindow(Handle(), SW_SHOW);
  ::SetForegroundWindow(Handle());
}

void Form::SetMainMenu(MainMenu* menu) {
  mainMenu_ = menu;
  ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
}

void Form::Close() { ::SendMessageA(Handle(), WM_CLOSE, 0, 0); }

// A minimised window sits far off screen; its own place is in the placement,
// counted from the work area's corner for a window with a taskbar entry.
POINT Form::RestoredPosition() const {
  if (!::IsIconic(Handle())) return {Left(), Top()};
  WINDOWPLACEMENT placement{sizeof(placement)};
  ::GetWindowPlacement(Handle(), &placement);
  POINT at{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
  if (!(::GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    at.x += work.left;
    at.y += work.top;
  }
  return at;
}

// Leaving the topmost band first makes the move a real change of z-order,
// which Wine passes on to an X server without a window manager; otherwise a
// window mapped later there stays above a "topmost" one.
void Form::SetStayOnTop(bool onTop) {
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  ::SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
  if (onTop) ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kFlags);
}

namespace {

BOOL CALLBACK RaiseIfStayOnTop(HWND hwnd, LPARAM) {
  Form* form = dynamic_cast<Form*>(Window::FromHandle(hwnd));
  if (form && ::IsWindowVisible(hwnd) && form->StayOnTop()) form->SetStayOnTop(true);
  return TRUE;
}

}  // namespace

// A form the system has just shown may have been mapped above the program's
// stay-on-top forms (an X server without a window manager stacks a newly
// mapped window on top); they are put back above it.
void Form::RaiseStayOnTopForms() const {
  if (!StayOnTop()) ::EnumThreadWindows(::GetCurrentThreadId(), RaiseIfStayOnTop, 0);
}

bool Form::StayOnTop() const { return (::GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void Form::AcceptFiles(bool accept) { ::DragAcceptFiles(Handle(), accept); }

void Form::SetBackground(HBRUSH brush) {
  background_ = brush;
  Invalidate();
}

namespace {
constexpr LONG kSizeableFrame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
}

void Form::SetBorderStyle(BorderStyle style) {
  if (style != GetBorderStyle()) SetBorderStyle(style, Left(), Top(), ClientWidth(), ClientHeight());
}

// Win32 changes a frame without re-creating the window, so the window keeps its
// drop-target registration and its children. Frame, place and size go in one
// move: each move of a top-level window is a round trip to the display server.
void Form::SetBorderStyle(BorderStyle style, int left, int top, int clientWidth, int clientHeight) {
  const LONG old = ::GetWindowLongA(Handle(), GWL_STYLE);
  const LONG fresh = style == BorderStyle::None ? (old & ~kSizeableFrame) : (old | kSizeableFrame);
  ::SetWindowLongA(Handle(), GWL_STYLE, fresh);
  RECT outer{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&outer, fresh, FALSE, ::GetWindowLongA(Handle(), GWL_EXSTYLE));
  // The scroll bars lie inside the frame but outside the client area.
  if (fresh & WS_VSCROLL) outer.right += ::GetSystemMetrics(SM_CXVSCROLL);
  if (fresh & WS_HSCROLL) outer.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
  ::SetWindowPos(Handle(), nullptr, left, top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
}

BorderStyle Form::GetBorderStyle() const {
  return (::GetWindowLongA(Handle(), GWL_STYLE) & WS_THICKFRAME) ? BorderStyle::Sizeable : BorderStyle::None;
}

void Form::SetWindowStateNormal() {
  if (::IsZoomed(Handle()) || ::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
}

bool Form::DoubleBuffered() const {
  return (::GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_COMPOSITED) != 0;
}

void Form::SetDoubleBuffered(bool on) {
  const LONG style = ::GetWindowLongA(Handle(), GWL_EXSTYLE);
  ::SetWindowLongA(Handle(), GWL_EXSTYLE, on ? (style | WS_EX_COMPOSITED) : (style & ~WS_EX_COMPOSITED));
}

bool Form::PreviewKey(WORD key, HWND target) {
  if (popupMenu_ && popupMenu_->DispatchShortcut(key, KeyDown(VK_CONTROL), KeyDown(VK_MENU),
                                                 KeyDown(VK_SHIFT))) {
    return true;
  }
  return MoveFocus(key, target);
}

// Arrow keys on a push button move the focus through the form's controls in
// creation order, tab stops or not; Tab moves it between tab stops.
bool Form::MoveFocus(WORD key, HWND target) {
  if (key == VK_TAB) {
    HWND next = ::GetNextDlgTabItem(Handle(), target, KeyDown(VK_SHIFT));
    if (next) ::SetFocus(next);
    return next != nullptr;
  }
  const bool forward = key == VK_RIGHT || key == VK_DOWN;
  const bool backward = key == VK_LEFT || key == VK_UP;
  if ((!forward && !backward) || target == Handle() || !IsPushButton(target)) return false;
  const std::vector<HWND> order = ControlsInOrder(Handle());
  const size_t count = order.size();
  const size_t at = static_cast<size_t>(std::find(order.begin(), order.end(), target) - order.begin());
  if (at == count) return false;
  for (size_t step = 1; step < count; ++step) {
    const HWND candidate = order[(at + (forward ? step : count - step)) % count];
    if (CanTakeFocus(candidate)) {
      ::SetFocus(candidate);
      break;
    }
  }
  return true;
}

void Form::HandleClose() {
  CloseAction action = CloseAction::Hide;
  FormClose(action);
  if (action == CloseAction::None) return;
  // Closing the main form ends the program whatever the action says.
  if (Application::Get().MainForm() == this) {
    Application::Get().Terminate();
  } else if (action == CloseAction::Hide) {
    SetVisible(false);
  } else {
    DestroyHandle();
  }
}

// SW_PARENTCLOSING and SW_PARENTOPENING: the owner is being minimised or
// restored, and the default handling hides or shows the form, sending a plain
// WM_SHOWWINDOW of its own. Neither is a showing or hiding by the program: no
// show step, and the taskbar entry stays.
LRESULT Form::HandleShowWindow(WPARAM wParam, LPARAM lParam) {
  if (lParam == SW_PARENTCLOSING || lParam == SW_PARENTOPENING) {
    const bool opening = lParam == SW_PARENTOPENING;
    if (opening && !hiddenWithOwner_) return 0;  // hidden by the program meanwhile: it stays hidden
    hiddenWithOwner_ = !opening;
    followingOwner_ = true;
    const LRESULT result = Window::WndProc(WM_SHOWWINDOW, wParam, lParam);
    followingOwner_ = false;
    return result;
  }
  if (!followingOwner_) {
    if (Application::Get().MainForm() == this) Application::Get().ShowTaskbarEntry(wParam != 0);
    if (wParam) FormShow();
  }
  return Window::WndProc(WM_SHOWWINDOW, wParam, lParam);
}

bool Form::OpenPopupMenu(HWND target, LPARAM lParam) {
  if (!popupMenu_) return false;
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (lParam == -1) {  // from the keyboard: no point, so the window's corner
    RECT r{};
    ::GetWindowRect(Handle(), &r);
    at = {r.left, r.top};
  } else {
    // A control's thin edge counts as the control; everything else outside a
    // client area is the frame's.
    const LRESULT hit = ::SendMessageA(target, WM_NCHITTEST, 0, lParam);
    if (hit != HTCLIENT && hit != HTBORDER) return false;
  }
  popupMenu_->Popup(Handle(), at.x, at.y);
  return true;
}

LRESULT Form::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SHOWWINDOW:
      return HandleShowWindow(wParam, lParam);
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) RaiseStayOnTopForms();
      break;
    case WM_SYSCOMMAND:
      // The main form's minimise box minimises the program, every form with it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && Application::Get().MainForm() == this) {
        Application::Get().Minimize();
        return 0;
      }
      break;
    case WM_CLOSE:
      HandleClose();
      return 0;
    case WM_DESTROY:
      FormDestroy();
      return 0;
    case WM_SIZE:
      FormResize();
      break;
    case WM_KEYDOWN:
      FormKeyDown(static_cast<WORD>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      FormMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      FormDblClick();
      return 0;
    case WM_DROPFILES:
      WMDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COMMAND:
      // A choice in the menu bar (lParam 0, notification code 0).
      if (lParam == 0 && HIWORD(wParam) == 0 && mainMenu_) {
        mainMenu_->ExecuteCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lParam == 0) {  // the window's own bar, not a scroll-bar control
        FormScroll(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      // wParam: the window that was clicked, passed up from a control.
      if (OpenPopupMenu(wParam ? reinterpret_cast<HWND>(wParam) : Handle(), lParam)) return 0;
      break;
    case WM_ERASEBKGND:
      if (background_) {
        RECT r{};
        ::GetClientRect(Handle(), &r);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, background_);
        return 1;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // Group boxes and buttons take the form's colour behind their text; the
      // text is drawn opaque so that a group box's frame line stops at its caption.
      if (background_) {
        LOGBRUSH brush{};
        ::GetObjectA(background_, sizeof(brush), &brush);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), brush.lbColor);
        return reinterpret_cast<LRESULT>(background_);
      }
      break;
    default:
      break;
  }
  return Window::WndProc(msg, wParam, lParam);
}

}  // namespace ui
