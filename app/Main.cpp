// The start-up block: the application object, the three windows in their
// order, and the message loop until the viewer window closes.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "control/Control.h"
#include "log/OutPut.h"
#include "ui/Application.h"
#include "viewer/Viewer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&controls);
  ui::Application& app = ui::Application::Get();
  app.SetTitle("Pixolet Std");
  try {
    auto viewer = std::make_unique<TViewerForm>();
    ViewerForm = viewer.get();
    app.SetMainForm(viewer.get());
    auto control = std::make_unique<TControlForm>();
    ControlForm = control.get();
    auto output = std::make_unique<TOutputForm>();
    OutputForm = output.get();
    app.Run();
    // Destroyed in the reverse order of creation; the viewer unloads the plug-ins last.
    output.reset();
    OutputForm = nullptr;
    control.reset();
    ControlForm = nullptr;
    viewer.reset();
    ViewerForm = nullptr;
  } catch (...) {
    app.ReportException(std::current_exception());
    return 1;
  }
  return 0;
}
