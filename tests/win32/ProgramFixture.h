#pragma once
// The program's three windows, created as the start-up block creates them, in
// a temporary program folder (optionally with a settings file).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/Globals.h"
#include "app/ProgramWindows.h"
#include "control/Control.h"
#include "log/OutPut.h"
#include "ui/Application.h"
#include "viewer/Viewer.h"

namespace testing_support {

class ProgramFixture {
 public:
  // `arguments` stand for the command line; the test program's own are never
  // taken for pictures.
  explicit ProgramFixture(const std::optional<std::string>& settings = std::nullopt,
                          const std::string& programFolder = {}, std::vector<std::string> arguments = {}) {
    folder_ = programFolder.empty() ? dir_.Path() : programFolder;
    if (settings) WriteFileBytes(folder_ + "\\pixostd.ini", *settings);
    ::GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
    OverrideProgramFolder(folder_);
    OverrideProgramArguments(std::move(arguments));
    ui::Application::Get().SetTitle("Pixolet Std");
    windows_ = std::make_unique<ProgramWindows>();
    viewer = windows_->viewer.get();
    control = windows_->control.get();
    output = windows_->output.get();
  }

  ~ProgramFixture() {
    End();
    ui::Application::Get().SetCursor(ui::CursorOverride::None);
    OverrideProgramFolder(std::nullopt);
    OverrideProgramArguments(std::nullopt);
    ::SetCurrentDirectoryA(savedDirectory_);
    DebugEnabled = false;
    PumpMessages();
  }

  // Destroys the windows, as the end of the program does.
  void End() { windows_.reset(); }
  // The first show, as the message loop's start gives it.
  void Start() { viewer->Show(); }
  // Closes the viewer window (its close box) and returns the settings file.
  std::string CloseAndReadSettings() {
    viewer->Close();
    return ReadFileBytes(Path("pixostd.ini"));
  }
  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
  const std::string& Folder() const { return folder_; }

  ScriptedDialogs dialogs;
  TViewerForm* viewer = nullptr;
  TControlForm* control = nullptr;
  TOutputForm* output = nullptr;

 private:
  std::unique_ptr<ProgramWindows> windows_;
  TempDir dir_;
  std::string folder_;
  char savedDirectory_[MAX_PATH] = {};
  ScreenScope screen_;
};

}  // namespace testing_support
