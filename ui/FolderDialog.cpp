#include "ui/FolderDialog.h"

#include <shlobj.h>

namespace ui {

namespace {

int CALLBACK StartAt(HWND dialog, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED) ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

}  // namespace

bool ShowFolderDialog(HWND owner, std::string& folder) {
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pszDisplayName = display;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = StartAt;
  info.lParam = reinterpret_cast<LPARAM>(folder.c_str());
  PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&info);
  if (!chosen) return false;
  char path[MAX_PATH] = {};
  const bool ok = ::SHGetPathFromIDListA(chosen, path) != FALSE;
  ::CoTaskMemFree(chosen);
  if (ok) folder = path;
  return ok;
}

}  // namespace ui
