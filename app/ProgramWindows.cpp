#include "app/ProgramWindows.h"

#include "control/Control.h"
#include "log/OutPut.h"
#include "ui/Application.h"
#include "viewer/Viewer.h"

ProgramWindows::ProgramWindows() {
  viewer = std::make_unique<TViewerForm>();
  ViewerForm = viewer.get();
  ui::Application::Get().SetMainForm(viewer.get());
  control = std::make_unique<TControlForm>();
  ControlForm = control.get();
  output = std::make_unique<TOutputForm>();
  OutputForm = output.get();
}

// The viewer goes last: its destruction unloads the plug-ins.
ProgramWindows::~ProgramWindows() {
  output.reset();
  OutputForm = nullptr;
  control.reset();
  ControlForm = nullptr;
  viewer.reset();
  ViewerForm = nullptr;
  ui::Application::Get().SetMainForm(nullptr);
}
