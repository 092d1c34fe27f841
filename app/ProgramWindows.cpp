#include "app/ProgramWindows.h"

#include "control/Control.h"
#include "log/OutPut.h"
#include "ui/Application.h"
#include "viewer/Viewer.h"

// A window that cannot be created ends the construction half-way, and then no
// destructor runs: what is already made is taken down here, and the globals
// that reach it are cleared before anyone (the error report) reads them.
ProgramWindows::ProgramWindows() {
  try {
    viewer = std::make_unique<TViewerForm>();
    ViewerForm = viewer.get();
    ui::Application::Get().SetMainForm(viewer.get());
    control = std::make_unique<TControlForm>();
    ControlForm = control.get();
    output = std::make_unique<TOutputForm>();
    OutputForm = output.get();
  } catch (...) {
    Release();
    throw;
  }
}

ProgramWindows::~ProgramWindows() { Release(); }

// The viewer goes last: its destruction unloads the plug-ins.
void ProgramWindows::Release() {
  output.reset();
  OutputForm = nullptr;
  control.reset();
  ControlForm = nullptr;
  viewer.reset();
  ViewerForm = nullptr;
  ui::Application::Get().SetMainForm(nullptr);
}
