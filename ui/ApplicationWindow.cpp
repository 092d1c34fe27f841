#include "ui/ApplicationWindow.h"

#include "ui/Application.h"
#include "ui/Form.h"

namespace ui {

// Zero-sized: only its taskbar entry is ever seen. A captioned popup with a
// minimise box is what the taskbar offers to minimise, restore and close.
ApplicationWindow::ApplicationWindow(const std::string& title) {
  CreateOwnClass("PixoletApplication", title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                 ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
}

ApplicationWindow::~ApplicationWindow() { DestroyHandle(); }

// Keyboard focus belongs to the main form; this window only stands for it.
void ApplicationWindow::ActivateMainForm() {
  Form* main = Application::Get().MainForm();
  if (main && ::IsWindowVisible(main->Handle()) && ::IsWindowEnabled(main->Handle())) {
    ::SetFocus(main->Handle());
  }
}

LRESULT ApplicationWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      // The forms go and come back with the taskbar entry. The window system
      // remembers which of them were visible.
      if (wParam == SIZE_MINIMIZED) {
        ::ShowOwnedPopups(Handle(), FALSE);
      } else if (wParam == SIZE_RESTORED) {
        ::ShowOwnedPopups(Handle(), TRUE);
        ActivateMainForm();
      }
      return 0;
    case WM_SETFOCUS:
      if (!::IsIconic(Handle())) ActivateMainForm();
      return 0;
    case WM_CLOSE:
      // Closing the taskbar entry closes the program, as the main form's close box does.
      if (Form* main = Application::Get().MainForm()) main->Close();
      return 0;
    default:
      break;
  }
  return Window::WndProc(msg, wParam, lParam);
}

}  // namespace ui
