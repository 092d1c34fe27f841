#pragma once
// The program's three windows, created in their order (viewer, control, log)
// and destroyed in the reverse order, with the globals that reach them.
#include <memory>

class TViewerForm;
class TControlForm;
class TOutputForm;

class ProgramWindows {
 public:
  ProgramWindows();
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  std::unique_ptr<TViewerForm> viewer;
  std::unique_ptr<TControlForm> control;
  std::unique_ptr<TOutputForm> output;

 private:
  void Release();
};
