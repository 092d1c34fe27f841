#include "ui/Application.h"

#include <system_error>

#include "ui/ApplicationWindow.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"

namespace ui {

Application& Application::Get() {
  static Application app;
  return app;
}

Application::Application() = default;
Application::~Application() = default;

void Application::SetTitle(std::string title) {
  title_ = std::move(title);
  if (window_) window_->SetCaption(title_);
}

HWND Application::Handle() {
  if (!window_) window_ = std::make_unique<ApplicationWindow>(title_);
  return window_->Handle();
}

// SW_SHOWNA: showing the entry must not take the activation from the form.
void Application::ShowTaskbarEntry(bool show) { ::ShowWindow(Handle(), show ? SW_SHOWNA : SW_HIDE); }

void Application::Minimize() { ::ShowWindow(Handle(), SW_MINIMIZE); }

int Application::Run() {
  terminated_ = false;
  if (mainForm_) mainForm_->Show();
  MSG msg;
  while (!terminated_ && ::GetMessageA(&msg, nullptr, 0, 0) > 0) HandleMessage(msg);
  return 0;
}

void Application::Terminate() {
  terminated_ = true;
  ::PostQuitMessage(0);
}

void Application::ProcessMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    HandleMessage(msg);
  }
}

void Application::HandleMessage(MSG& msg) {
  if (RouteKey(msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageA(&msg);
}

// Keys go to the form that holds the focused window before that window sees
// them: first the shortcuts of the form's popup menu, then the form's own
// focus moves (arrow keys on a push button, Tab).
bool Application::RouteKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  Form* form = Form::Containing(msg.hwnd);
  if (!form) return false;
  bool handled = false;
  try {
    handled = form->PreviewKey(static_cast<WORD>(msg.wParam), msg.hwnd);
  } catch (...) {
    ReportException(std::current_exception());
    handled = true;
  }
  return handled;
}

void Application::SetCursor(CursorOverride cursor) {
  cursor_ = cursor;
  if (cursor_ != CursorOverride::None) ApplyCursorOverride();
}

bool Application::ApplyCursorOverride() const {
  switch (cursor_) {
    case CursorOverride::Hidden:
      ::SetCursor(nullptr);
      return true;
    case CursorOverride::Arrow:
      ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
      return true;
    default:
      return false;
  }
}

std::string Application::ErrorText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

void Application::ReportException(std::exception_ptr error) {
  if (reporting_) return;
  reporting_ = true;
  HWND owner = mainForm_ ? mainForm_->Handle() : nullptr;
  try {
    CurrentDialogs().ShowMessage(owner, ErrorText(error), title_, MB_OK | MB_ICONERROR);
  } catch (...) {
    // The box itself failed; there is nobody left to tell.
  }
  reporting_ = false;
}

}  // namespace ui
