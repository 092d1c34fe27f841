#include "ui/FolderDialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/SjisText.h"
#include "ui/DialogTemplate.h"
#include "ui/FilePaths.h"
#include "ui/Handles.h"

namespace ui {

namespace {

constexpr WORD kNoId = 0xFFFF;  // labels that nothing refers to

struct FolderDialogState {
  std::string folder;                     // the folder shown
  std::vector<std::string> folderPaths;   // the folder list's items, in order
  std::vector<std::string> drives;        // the drive list's items, "C:\" ...
};

// "C:\a\b\" and "C:\a\b" are "C:\a\b"; a drive's root keeps its backslash.
std::string WithoutTrailingBackslash(const std::string& folder) {
  if (folder.size() > 3 && sjis::LastDelimiter(folder, "\\") == folder.size() - 1) {
    return folder.substr(0, folder.size() - 1);
  }
  return folder;
}

// The folder itself when it exists, else the nearest one above it, else the current folder.
std::string ExistingFolder(const std::string& start) {
  std::string folder = WithoutTrailingBackslash(FullPathName(start.empty() ? "." : start));
  for (std::string parent; !IsExistingFolder(folder); folder = parent) {
    parent = sjis::DirectoryOf(folder);
    if (parent == folder || parent.empty()) return WithoutTrailingBackslash(FullPathName("."));
  }
  return folder;
}

std::string Join(const std::string& folder, const std::string& name) {
  return sjis::LastDelimiter(folder, "\\") == folder.size() - 1 ? folder + name : folder + "\\" + name;
}

// The names in `folder` that are folders (or files), sorted without regard to case.
std::vector<std::string> Entries(const std::string& folder, bool folders) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const FindHandle search(::FindFirstFileA(Join(folder, "*").c_str(), &found));
  if (!search) return names;
  do {
    const std::string name = found.cFileName;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder == folders && name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(search.Get(), &found));
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) < 0; });
  return names;
}

// The folder and its ancestors, from the drive's root down.
std::vector<std::string> Ancestors(const std::string& folder) {
  std::vector<std::string> chain = {folder};
  for (std::string parent = sjis::DirectoryOf(folder); !parent.empty() && parent != chain.back();
       parent = sjis::DirectoryOf(parent)) {
    chain.push_back(parent);
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

void AddFolderItem(HWND list, FolderDialogState& state, const std::string& path, size_t depth) {
  const std::string name = sjis::FileNamePart(path).empty() ? path : sjis::FileNamePart(path);
  ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((std::string(depth * 2, ' ') + name).c_str()));
  state.folderPaths.push_back(path);
}

void FillFolders(HWND dialog, FolderDialogState& state) {
  const HWND list = ::GetDlgItem(dialog, kFolderList);
  ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
  state.folderPaths.clear();
  const std::vector<std::string> chain = Ancestors(state.folder);
  for (size_t i = 0; i < chain.size(); ++i) AddFolderItem(list, state, chain[i], i);
  for (const auto& name : Entries(state.folder, true)) AddFolderItem(list, state, Join(state.folder, name), chain.size());
  ::SendMessageA(list, LB_SETCURSEL, chain.size() - 1, 0);
}

void FillFiles(HWND dialog, const FolderDialogState& state) {
  const HWND list = ::GetDlgItem(dialog, kFileList);
  ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const auto& name : Entries(state.folder, false)) {
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void SelectDrive(HWND dialog, const FolderDialogState& state) {
  const std::string root = state.folder.substr(0, 3);
  for (size_t i = 0; i < state.drives.size(); ++i) {
    if (sjis::SameText(state.drives[i], root)) ::SendDlgItemMessageA(dialog, kDriveList, CB_SETCURSEL, i, 0);
  }
}

void Show(HWND dialog, FolderDialogState& state, const std::string& folder) {
  state.folder = folder;
  ::SetDlgItemTextA(dialog, kFolderPathText, folder.c_str());
  FillFolders(dialog, state);
  FillFiles(dialog, state);
  SelectDrive(dialog, state);
}

void FillDrives(HWND dialog, FolderDialogState& state) {
  char buffer[512] = {};
  ::GetLogicalDriveStringsA(sizeof buffer - 1, buffer);
  for (const char* drive = buffer; *drive; drive += std::strlen(drive) + 1) {
    state.drives.push_back(drive);
    const std::string label = std::string(drive, 2);
    ::SendDlgItemMessageA(dialog, kDriveList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
  }
}

void OpenSelectedFolder(HWND dialog, FolderDialogState& state) {
  const LRESULT index = ::SendDlgItemMessageA(dialog, kFolderList, LB_GETCURSEL, 0, 0);
  if (index >= 0 && static_cast<size_t>(index) < state.folderPaths.size()) Show(dialog, state, state.folderPaths[index]);
}

void OpenSelectedDrive(HWND dialog, FolderDialogState& state) {
  const LRESULT index = ::SendDlgItemMessageA(dialog, kDriveList, CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= state.drives.size()) return;
  if (IsExistingFolder(state.drives[index])) {
    Show(dialog, state, state.drives[index]);
  } else {
    ::MessageBeep(MB_ICONWARNING);  // an empty drive: stay where we are
    SelectDrive(dialog, state);
  }
}

// Enter in the folder list opens the selected folder rather than closing the dialog.
bool OkMeansOpen(HWND dialog, const FolderDialogState& state) {
  if (::GetFocus() != ::GetDlgItem(dialog, kFolderList)) return false;
  const LRESULT index = ::SendDlgItemMessageA(dialog, kFolderList, LB_GETCURSEL, 0, 0);
  return index >= 0 && static_cast<size_t>(index) < state.folderPaths.size() &&
         state.folderPaths[index] != state.folder;
}

void Command(HWND dialog, FolderDialogState& state, WORD id, WORD code) {
  if (id == kFolderList && code == LBN_DBLCLK) OpenSelectedFolder(dialog, state);
  if (id == kDriveList && code == CBN_SELCHANGE) OpenSelectedDrive(dialog, state);
  if (id == IDOK && OkMeansOpen(dialog, state)) return OpenSelectedFolder(dialog, state);
  if (id == IDOK || id == IDCANCEL) ::EndDialog(dialog, id);
}

INT_PTR CALLBACK FolderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto& state = *reinterpret_cast<FolderDialogState*>(lParam);
    FillDrives(dialog, state);
    Show(dialog, state, state.folder);
    return TRUE;
  }
  auto* state = reinterpret_cast<FolderDialogState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
  if (message != WM_COMMAND || !state) return FALSE;
  Command(dialog, *state, LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

DialogTemplate FolderDialogTemplate() {
  DialogTemplate dialog(kFolderDialogCaption, 240, 178, "ＭＳ Ｐゴシック", 9);
  const DWORD list = WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT;
  dialog.AddItem(DialogTemplate::kStatic, kNoId, SS_LEFT, 7, 6, 226, 9, "フォルダ名:");
  dialog.AddItem(DialogTemplate::kStatic, kFolderPathText, SS_LEFT | SS_PATHELLIPSIS | SS_SUNKEN, 7, 16, 226, 11);
  dialog.AddItem(DialogTemplate::kStatic, kNoId, SS_LEFT, 7, 32, 110, 9, "フォルダ:");
  dialog.AddItem(DialogTemplate::kListBox, kFolderList, list | LBS_NOTIFY, 7, 42, 110, 100);
  dialog.AddItem(DialogTemplate::kStatic, kNoId, SS_LEFT, 123, 32, 110, 9, "ファイル:");
  dialog.AddItem(DialogTemplate::kListBox, kFileList, list | LBS_NOSEL, 123, 42, 110, 100);
  dialog.AddItem(DialogTemplate::kStatic, kNoId, SS_LEFT, 7, 146, 110, 9, "ドライブ:");
  dialog.AddItem(DialogTemplate::kComboBox, kDriveList, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 7, 156, 110, 120);
  dialog.AddItem(DialogTemplate::kButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 123, 156, 52, 14, "OK");
  dialog.AddItem(DialogTemplate::kButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 181, 156, 52, 14, "キャンセル");
  return dialog;
}

}  // namespace

bool ShowFolderDialog(HWND owner, std::string& folder) {
  FolderDialogState state;
  state.folder = ExistingFolder(folder);
  const DialogTemplate dialog = FolderDialogTemplate();
  const INT_PTR answer = ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), dialog.Get(), owner,
                                                   FolderDialogProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return false;
  folder = state.folder;
  return true;
}

}  // namespace ui
