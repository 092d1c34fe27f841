// Filing the current file: into one of the ten sorting folders beside the
// program, into the recycle bin, and opening the sorting folder in the shell.
#include <windows.h>
#include <shellapi.h>

#include "app/Globals.h"
#include "core/ArchiveEntryPath.h"
#include "core/SjisText.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "viewer/Viewer.h"

// The entry follows its file; the picture, the caption and the drop-down list
// show only the file name, which a move keeps, so nothing else changes.
void TViewerForm::FileMove(int folder) {
  const std::optional<std::string> entry = CurrentEntry();
  // An archive member names no file of its own: there is nothing to move.
  if (!entry || archive_entry::IsMemberEntry(*entry)) return;
  const std::string target = AppDir + "\\Img\\" + std::to_string(folder) + "\\" + sjis::FileNamePart(*entry);
  if (ui::IsExistingFile(target)) {
    ui::CurrentDialogs().ShowMessage(Handle(), "同名ファイルが存在します", "Caution", MB_OK);
    return;
  }
  // MoveFileA never replaces: a file that appeared since the check stays, and
  // the move fails. A refused move changes nothing and says nothing.
  if (!::MoveFileA(entry->c_str(), target.c_str())) return;
  FNameListBox.Delete(CurrentIndex);
  FNameListBox.Insert(CurrentIndex, target);
}

// The shell asks first unless the settings say not to; its own dialogs are the
// only messages, and the viewer keeps the entry (showing it again finds no file).
void TViewerForm::RecycleCurrentFile(HWND owner) {
  const std::optional<std::string> entry = CurrentEntry();
  if (!entry || !ui::IsExistingFile(*entry)) return;
  const std::string from = *entry + '\0' + '\0';
  const WORD flags = GarbagePromptEnabled ? FOF_ALLOWUNDO : FOF_ALLOWUNDO | FOF_NOCONFIRMATION;
  ui::CurrentDialogs().ShellFileOperation(owner, FO_DELETE, from, flags);
}

void TViewerForm::OpenSortingFolder(HWND owner) {
  ui::CurrentDialogs().ShellOpen(owner, "open", AppDir + "\\Img", SW_SHOW);
}
