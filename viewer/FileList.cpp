// The file list: taking paths and folders in, the captions that show the
// position, and the enabling of the commands that depend on it.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "control/Control.h"
#include "core/Captions.h"
#include "core/SjisText.h"
#include "ui/FilePaths.h"
#include "ui/Handles.h"
#include "viewer/Viewer.h"

namespace {

bool IsDotEntry(const char* name) {
  return (name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.' && name[2] == '\0');
}

}  // namespace

// A folder is known by its volume and file index, so that a link or junction
// that leads back to a folder already scanned is recognised under any name.
std::string TViewerForm::FolderIdentity(const std::string& folder) {
  ui::File handle(::CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle && ::GetFileInformationByHandle(handle.Get(), &info)) {
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
  }
  std::string text = ui::FullPathName(folder);
  ::CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

void TViewerForm::AddPath(const std::string& path, bool isFirst) {
  if (ui::IsExistingFolder(path)) {
    ScanFolder(path + "\\");
    return;
  }
  if (!AddAllFiles->Checked()) {
    FNameListBox.Add(path);
    return;
  }
  if (!isFirst) return;
  const std::string folder = sjis::FolderPart(path);
  if (!ui::IsExistingFolder(folder)) return;
  ScanFolder(folder);
  const int found = FNameListBox.IndexOf(path);
  CurrentIndex = found < 0 ? 0 : found;
}

void TViewerForm::ScanFolder(const std::string& folder) {
  // Only a folder that is already being descended is a loop (a link back to an
  // ancestor); a folder named again, or reached again another way, is listed again.
  const std::string identity = FolderIdentity(folder);
  if (std::find(descending_.begin(), descending_.end(), identity) != descending_.end()) return;
  descending_.push_back(identity);
  const struct Ascend {
    std::vector<std::string>& chain;
    ~Ascend() { chain.pop_back(); }
  } ascend{descending_};
  WIN32_FIND_DATAA data;
  {
    ui::FindHandle find(::FindFirstFileA((folder + "*.*").c_str(), &data));
    if (!find) return;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) FNameListBox.Add(folder + data.cFileName);
    } while (::FindNextFileA(find.Get(), &data));
  }
  if (!SearchSubDir->Checked()) return;
  ui::FindHandle find(::FindFirstFileA((folder + "*.*").c_str(), &data));
  if (!find) return;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(data.cFileName)) {
      ScanFolder(folder + data.cFileName + "\\");
    }
  } while (::FindNextFileA(find.Get(), &data));
}

void TViewerForm::RefillNameMirror() {
  const int count = FNameListBox.Count();
  std::vector<std::string> names;
  names.reserve(count);
  for (int i = 0; i < count; ++i) names.push_back(sjis::FileNamePart(FNameListBox.Item(i)));
  ControlForm->FNameCmbBox.Assign(names);
}

void TViewerForm::SetViewerCaption(const std::string& text) {
  SetCaption(ViewerCaptionText(text, CurrentIndex, FileCount));
}

void TViewerForm::SetFileCount(int32_t count) {
  FileCount = count;
  ControlForm->SetCaption(ControlCaptionText(CurrentIndex, FileCount));
}

void TViewerForm::EnableFileCommands() {
  for (ui::MenuItem* item : {SaveBmpMenu, SaveJpgMenu, MoveMenu, FullScrMenu, SizableMenu, SlideShowMenu}) {
    item->SetEnabled(true);
  }
  ControlForm->MoveBtn.SetEnabled(true);
  ControlForm->SlideShowBtn.SetEnabled(true);
}

void TViewerForm::SetNextEnabled(bool enabled) {
  NextMenu->SetEnabled(enabled);
  ControlForm->NextBtn.SetEnabled(enabled);
}

void TViewerForm::SetPrevEnabled(bool enabled) {
  PrevMenu->SetEnabled(enabled);
  ControlForm->PrevBtn.SetEnabled(enabled);
}

// Equalities, not ranges: next is disabled only at exactly the last entry,
// previous only at exactly the first.
void TViewerForm::UpdateNavigation() {
  ControlForm->FNameCmbBox.SetItemIndex(CurrentIndex);
  SetNextEnabled(true);
  SetPrevEnabled(true);
  if (FileCount - 1 == CurrentIndex) SetNextEnabled(false);
  if (FileCount == 0) {
    SetNextEnabled(false);
    ControlForm->MoveBtn.SetEnabled(false);
  }
  if (CurrentIndex == 0) SetPrevEnabled(false);
  if (CenterMenu->Checked()) CenterOnWorkArea();
}

std::optional<std::string> TViewerForm::CurrentEntry() const {
  if (CurrentIndex < 0 || CurrentIndex >= FNameListBox.Count()) return std::nullopt;
  return FNameListBox.Item(CurrentIndex);
}
