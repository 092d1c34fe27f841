// The viewer window's creation, first show, close and destruction: the
// program's working folders and its settings file.
#include <windows.h>

#include "app/Globals.h"
#include "control/Control.h"
#include "log/OutPut.h"
#include "plugins/SpiFunc.h"
#include "ui/Application.h"
#include "ui/FilePaths.h"
#include "ui/Win32Error.h"
#include "viewer/Viewer.h"

namespace {

void CreateFolderIfMissing(const std::string& path) {
  if (ui::IsExistingFolder(path)) return;
  if (!::CreateDirectoryA(path.c_str(), nullptr)) ui::ThrowLastError(path);
}

}  // namespace

void TViewerForm::FormCreate() {
  FileCount = 0;
  CurrentIndex = 0;
  ViewState = 0;
  DebugEnabled = false;
  CursorHideCounter = 0;
  MouseMode = 1;
  ZoomState = 1;
  AppDir = ProgramFolder();
  PicImage.AssignPicture(ui::Bitmap());
  SourceBitmap = ui::Bitmap();
  CreateWorkingFolders();
  AcceptFiles(true);
  SetDoubleBuffered(true);
  if (!::SetCurrentDirectoryA((AppDir + "\\" + "temp").c_str())) ui::ThrowLastError(AppDir + "\\temp");
}

// Img, Img\0 ... Img\9 and temp; the first that cannot be made stops the rest.
void TViewerForm::CreateWorkingFolders() {
  CreateFolderIfMissing(AppDir + "\\Img");
  for (int n = 0; n <= 9; ++n) CreateFolderIfMissing(AppDir + "\\Img\\" + std::to_string(n));
  CreateFolderIfMissing(AppDir + "\\" + "temp");
}

std::string TViewerForm::SettingsPath() const { return AppDir + "\\" + "pixostd.ini"; }

void TViewerForm::FormShow() {
  if (ViewState != 0) return;
  ControlForm->SetClientHeight(55);
  ReadSettings();
  for (int row = 0; row < PluginCount; ++row) LogPluginInfo(row);
  TakeInCommandLine();
  SetClientHeight(PicImage.Height());
  SetClientWidth(PicImage.Width());
  LayoutPicture(SourceBitmap);
  ViewState = 1;
  ui::Application::Get().SetCursor(ui::CursorOverride::Arrow);
  ControlForm->SetVisible(controlVisibleSetting_);
  OutputForm->SetVisible(DebugEnabled);
}

void TViewerForm::FormClose(ui::CloseAction& action) {
  const bool controlVisible = ControlForm->Visible();
  ControlForm->SetVisible(false);
  SetVisible(false);
  OutputForm->SetVisible(false);
  try {
    WriteSettings(controlVisible);
  } catch (const ui::Win32Error&) {
    // A settings file that cannot be written ends the writing; the program still ends.
    action = ui::CloseAction::Free;
  }
}

// The application's window outlives the forms it owns, so it is still there
// to be shown.
void TViewerForm::FormDestroy() {
  UnloadPlugins();
  AcceptFiles(false);
  ::ShowWindow(ui::Application::Get().Handle(), SW_SHOW);
  SourceBitmap = ui::Bitmap();
}
