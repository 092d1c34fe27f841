#pragma once
// The application object: its title, the message loop with the keyboard
// routing of popup-menu shortcuts, the application-wide cursor override and
// the one place where an escaped exception becomes the error message box.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>

namespace ui {

class ApplicationWindow;
class Form;

enum class CursorOverride { None, Arrow, Hidden };

class Application {
 public:
  static Application& Get();

  const std::string& Title() const { return title_; }
  // Also the text of the program's taskbar entry.
  void SetTitle(std::string title);

  // The window of the taskbar entry (made on first need): the owner of every
  // form, so that the forms minimise and come back together.
  HWND Handle();
  // The taskbar entry shows while the main form does.
  void ShowTaskbarEntry(bool show);
  // Minimises the program: the taskbar entry, and every form with it.
  void Minimize();

  Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* form) { mainForm_ = form; }

  // Shows the main form and runs the message loop until the main form closes.
  int Run();
  // Ends the message loop (the main form has closed).
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message already waiting, then returns.
  void ProcessMessages();
  // What the message loop does with one message, shortcuts first.
  void HandleMessage(MSG& msg);

  CursorOverride Cursor() const { return cursor_; }
  void SetCursor(CursorOverride cursor);
  // Answers WM_SETCURSOR over a client area while an override is in force;
  // false lets the window choose.
  bool ApplyCursorOverride() const;

  // Shows the standard error message box for an exception that a handler let
  // escape. A box already open is not stacked by a second failure.
  void ReportException(std::exception_ptr error);
  static std::string ErrorText(std::exception_ptr error);

 private:
  Application();
  ~Application();
  bool RouteKey(const MSG& msg);

  std::string title_;
  std::unique_ptr<ApplicationWindow> window_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  bool reporting_ = false;
  CursorOverride cursor_ = CursorOverride::None;
};

}  // namespace ui
