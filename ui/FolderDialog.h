#pragma once
// The modal folder-selection dialog.
#include <windows.h>

#include <string>

namespace ui {

// Shows the dialog starting at `folder`; on OK stores the chosen folder there
// and returns true.
bool ShowFolderDialog(HWND owner, std::string& folder);

}  // namespace ui
