#pragma once
// Every message box, common dialog and shell call of the program goes through
// this interface, so that tests can answer from a script and see what was asked.
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

struct FileDialogOptions {
  std::string title;
  std::string filter;      // "description|pattern|description|pattern"
  std::string defaultExt;  // without the full stop
  std::string initialDir;
  std::string fileName;    // in: offered name; out: the chosen file (first one)
  int filterIndex = 1;     // 1-based, kept across calls as the user leaves it
  bool multiSelect = false;
  bool overwritePrompt = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual int ShowMessage(HWND owner, const std::string& text, const std::string& caption,
                          UINT type) = 0;
  // True when the user chose at least one file; `files` gets every chosen path.
  virtual bool OpenFiles(HWND owner, FileDialogOptions& options,
                         std::vector<std::string>& files) = 0;
  // True when the user confirmed a name; it is left in options.fileName.
  virtual bool SaveFile(HWND owner, FileDialogOptions& options) = 0;
  // True on OK; `folder` goes in as the start and comes out as the choice.
  virtual bool SelectFolder(HWND owner, std::string& folder) = 0;
  // The shell's file operation (SHFileOperationA) on `from`, a list of paths
  // each ended by a NUL, the list by a second one; no destination. Returns the
  // shell's result (0 on success).
  virtual int ShellFileOperation(HWND owner, UINT operation, const std::string& from, WORD flags) = 0;
  // The shell's ShellExecuteA with `verb` on `file`, without parameters or working folder.
  virtual void ShellOpen(HWND owner, const std::string& verb, const std::string& file, int show) = 0;
};

// The dialogs in force: the system's unless a test has put its own in place.
Dialogs& CurrentDialogs();
// Puts `dialogs` in place (nullptr gives the system's back). Not owned.
void SetDialogs(Dialogs* dialogs);

}  // namespace ui
