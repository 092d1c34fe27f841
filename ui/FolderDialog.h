#pragma once
// The modal folder-selection dialog: a drive list, a folder list and the
// files of the folder shown, with OK and Cancel. It never changes the
// process's current folder.
#include <windows.h>

#include <string>

namespace ui {

// The dialog's caption and the identifiers of its lists, for tests that drive it.
inline constexpr char kFolderDialogCaption[] = "フォルダの選択";
enum FolderDialogItem {
  kFolderPathText = 100,  // the folder shown
  kFolderList = 101,      // its ancestors and sub-folders; double-click opens one
  kFileList = 102,        // its files, for information
  kDriveList = 103,       // choosing a drive shows its root
};

// Shows the dialog starting at `folder` (or the nearest folder above it that
// exists); on OK stores the folder shown, without a trailing backslash except
// at a drive's root, and returns true.
bool ShowFolderDialog(HWND owner, std::string& folder);

}  // namespace ui
