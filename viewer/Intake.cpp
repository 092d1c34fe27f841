// The three ways paths come into the file list: files dropped on the viewer
// (or on the control window), the open dialog and the command line.
#include <windows.h>
#include <shellapi.h>

#include "app/Globals.h"
#include "control/Control.h"
#include "core/SjisText.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "ui/Win32Error.h"
#include "viewer/Viewer.h"

namespace {

const char kOpenFilter[] =
    "すべてのﾌｧｲﾙ (*.*)|*.*|すべてのｸﾞﾗﾌｨｯｸﾌｧｲﾙ |*.bmp;*.jpg;*.ico;*.emf;*.wmf;*.gif;*.mag;*.pcd;*.pi;*.pic;"
    "*.p2;*.tif;*.hg;*.q4;*.jpe;*.mki;*.jpeg;*.jpe|ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|ｱｲｺﾝ (*.ico)|*.ico|"
    "ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙ (*.emf)|*.emf|ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf";

// Path i of a drop: at most 259 characters, as a path of the system's limit.
std::string DroppedPath(HDROP drop, UINT index) {
  char path[MAX_PATH] = {};
  ::DragQueryFileA(drop, index, path, sizeof(path));
  return path;
}

}  // namespace

void TViewerForm::SetUpOpenDialog() {
  OpenDialog.filter = kOpenFilter;
  OpenDialog.filterIndex = 1;
  OpenDialog.multiSelect = true;
}

// Relative command-line paths mean the folder the program was started from,
// which stops being the current folder as soon as the window is made.
void TViewerForm::NoteCommandLine() {
  commandLinePaths_.clear();
  for (const std::string& argument : ProgramArguments()) {
    commandLinePaths_.push_back(argument.empty() ? argument : ui::FullPathName(argument));
  }
}

void TViewerForm::BeginIntake() {
  FNameListBox.Clear();
  ControlForm->FNameCmbBox.Clear();
  CurrentIndex = 0;
}

void TViewerForm::ShowNoFile() {
  UpdateNavigation();
  ShowErrorPicture();
  SetViewerCaption("Error!! No File");
}

void TViewerForm::WMDropFiles(HDROP drop) {
  BeginIntake();
  const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  EnableFileCommands();
  for (UINT i = 0; i < count; ++i) AddPath(DroppedPath(drop, i), i == 0);
  ::DragFinish(drop);
  RefillNameMirror();
  SetFileCount(FNameListBox.Count());
  if (FileCount != 0) {
    LoadPicture(FNameListBox.Item(CurrentIndex));
  } else {
    ShowNoFile();
  }
  LayoutPicture(SourceBitmap);
  ::SetForegroundWindow(Handle());
}

void TViewerForm::OpenMenuClick() {
  std::vector<std::string> files;
  if (ui::CurrentDialogs().OpenFiles(Handle(), OpenDialog, files)) {
    BeginIntake();
    for (size_t i = 0; i < files.size(); ++i) AddPath(files[i], i == 0);
    RefillNameMirror();
    SetFileCount(FNameListBox.Count());
    EnableFileCommands();
    const std::string temp = AppDir + "\\temp";
    if (!::SetCurrentDirectoryA(temp.c_str())) ui::ThrowLastError(temp);
    if (FileCount != 0) {
      LoadPicture(FNameListBox.Item(CurrentIndex));
    } else {
      ShowNoFile();
    }
    OpenDialog.initialDir = sjis::DirectoryOf(files.front());
  }
  LayoutPicture(SourceBitmap);
}

void TViewerForm::TakeInCommandLine() {
  if (commandLinePaths_.empty()) return;
  BeginIntake();
  for (size_t i = 0; i < commandLinePaths_.size(); ++i) AddPath(commandLinePaths_[i], i == 0);
  RefillNameMirror();
  SetFileCount(FNameListBox.Count());
  EnableFileCommands();
  LoadPicture(FileCount > 0 ? FNameListBox.Item(CurrentIndex) : std::string("No File"));
}
