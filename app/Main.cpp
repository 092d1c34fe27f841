// The start-up block: the application object, the three windows in their
// order, and the message loop until the viewer window closes.
#include <windows.h>
#include <commctrl.h>

#include "app/ProgramWindows.h"
#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&controls);
  ui::Application& app = ui::Application::Get();
  app.SetTitle("Pixolet Std");
  try {
    ProgramWindows windows;
    app.Run();
  } catch (...) {
    app.ReportException(std::current_exception());
    return 1;
  }
  return 0;
}
