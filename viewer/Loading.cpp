// Turning a list entry into the picture the viewer shows: natively for BMP
// and JPEG, otherwise through the plug-ins, which also expand archives into
// the list one entry per member.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "control/Control.h"
#include "core/ArchiveEntryPath.h"
#include "core/ArchiveList.h"
#include "core/SjisText.h"
#include "plugins/SpiFunc.h"
#include "ui/FilePaths.h"
#include "viewer/NativePicture.h"
#include "viewer/Viewer.h"

namespace {

// The first reading of a member entry's archive path that names an existing
// file; a member name may itself hold "]". Nothing when the entry has no "]".
std::optional<std::string> ArchivePathOf(const std::string& entry) {
  const std::vector<std::string> candidates = archive_entry::ArchivePathCandidates(entry);
  if (candidates.empty()) return std::nullopt;
  for (const std::string& candidate : candidates) {
    if (ui::IsExistingFile(candidate)) return candidate;
  }
  return candidates.front();
}

// Removes an extracted member when the load that used it ends, however it ends.
class ExtractedFileRemover {
 public:
  explicit ExtractedFileRemover(std::string path) : path_(std::move(path)) {}
  ~ExtractedFileRemover() {
    if (!path_.empty()) ::DeleteFileA(path_.c_str());
  }
  ExtractedFileRemover(const ExtractedFileRemover&) = delete;
  ExtractedFileRemover& operator=(const ExtractedFileRemover&) = delete;

 private:
  std::string path_;
};

// Marks the nested load of an extracted member for its duration.
class MemberLoadScope {
 public:
  explicit MemberLoadScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~MemberLoadScope() { flag_ = false; }
  MemberLoadScope(const MemberLoadScope&) = delete;
  MemberLoadScope& operator=(const MemberLoadScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TViewerForm::LoadPicture(const std::string& path) {
  const DrawingScope drawing(*this);
  bool decoded = false;
  try {
    decoded = DecodeNativePicture(path, SourceBitmap);
    if (decoded) SetViewerCaption(sjis::FileNamePart(path));
  } catch (const std::exception&) {
    decoded = false;  // a picture too large for memory: the plug-ins may still manage
  }
  if (!decoded) LoadWithPlugins(path);
  UpdateNavigation();
  SetFileCount(FileCount);
  CursorHideCounter = 0;
}

void TViewerForm::ShowErrorPicture() { SourceBitmap.Assign(ErrImage); }

void TViewerForm::ShowLoadError(const std::string& path) {
  ShowErrorPicture();
  SetViewerCaption("Error!! " + sjis::FileNamePart(path));
}

void TViewerForm::LoadWithPlugins(const std::string& entry) {
  if (!entry.empty()) {
    std::string path = entry;
    try {
      LoadThroughPlugins(path);
    } catch (...) {
      // A plug-in fault, an unreadable file, a damaged member entry, a
      // picture that cannot be made: the error picture, never a message box.
      ShowLoadError(path);
    }
  }
  LayoutPicture(SourceBitmap);
}

// `path` becomes the archive's path once a member entry has been read, so
// that a failure names the archive.
void TViewerForm::LoadThroughPlugins(std::string& path) {
  // The rows found here stay loaded until the load is over, even if a
  // plug-in's own message loop lets the user change the plug-in folder.
  const PluginCallScope scope;
  int32_t member = -1;
  if (archive_entry::IsMemberEntry(path)) {
    const std::optional<int32_t> number = archive_entry::MemberNumber(path);
    const std::optional<std::string> archivePath = ArchivePathOf(path);
    if (!number || !archivePath) throw std::invalid_argument("member entry without a member number");
    member = *number;
    path = *archivePath;
  }
  int row = -1;
  bool isArchive = false;
  for (int r = 0; r < PluginCount; ++r) {
    if (PluginIsSupported(r, path, isArchive) == 1) {
      row = r;
      break;
    }
  }
  if (row < 0) {
    ShowLoadError(path);
  } else if (!isArchive) {
    LoadPluginPicture(row, path);
  } else if (loadingMember_) {
    // An archive inside an archive: its members would name a file that is
    // deleted as soon as this load ends, and a self-containing archive would
    // nest without end.
    ShowLoadError(path);
  } else {
    LoadArchiveMember(row, path, member);
  }
}

// A plug-in writes into a fresh 24-bit picture, whatever the last one was.
void TViewerForm::LoadPluginPicture(int row, const std::string& path) {
  SourceBitmap = ui::Bitmap();
  SourceBitmap.SetPixelFormat(ui::PixelFormat::Bits24);
  if (PluginGetPicture(row, path, SourceBitmap) == 0 && !SourceBitmap.Empty()) {
    SetViewerCaption(sjis::FileNamePart(path));
  } else {
    ShowLoadError(path);
  }
}

void TViewerForm::LoadArchiveMember(int row, const std::string& path, int32_t member) {
  // A listing that fails or finds nothing leaves the archive one entry.
  if (!PluginGetArchiveInfo(row, path) || ArchiveEntryCount == 0) {
    ShowLoadError(path);
    return;
  }
  if (member == -1) {
    ReplaceByMembers(path);
    member = 0;
  }
  // The archive may have changed since its members were put in the list.
  if (member >= ArchiveEntryCount) {
    ShowLoadError(path);
    return;
  }
  if (PluginGetFile(row, path, member) != 0) {
    // A plug-in that wrote part of the member before it failed leaves nothing behind.
    const std::string partial = ExtractedMemberPath(member);
    if (!partial.empty()) ::DeleteFileA(partial.c_str());
    ShowLoadError(path);
    return;
  }
  const ExtractedFileRemover extracted(ExtractedFilePath);
  const MemberLoadScope scope(loadingMember_);
  LoadPicture(ExtractedFilePath);
}

// The archive's entry gives way to one entry per member, member 0 current.
void TViewerForm::ReplaceByMembers(const std::string& path) {
  FNameListBox.Delete(CurrentIndex);
  ControlForm->FNameCmbBox.Delete(CurrentIndex);
  for (int32_t k = ArchiveEntryCount - 1; k >= 0; --k) {
    FNameListBox.Insert(CurrentIndex, archive_entry::Format(k, ArchiveEntries[k].name, path));
    ControlForm->FNameCmbBox.Insert(CurrentIndex, ArchiveEntries[k].name);
  }
  SetFileCount(FileCount - 1 + ArchiveEntryCount);
}

// Where a failed extraction may have left part of the member behind.
std::string TViewerForm::ExtractedMemberPath(int32_t member) const {
  const std::string& name = ArchiveEntries[member].name;
  if (!archive::IsPlainFileName(name)) return {};
  return AppDir + "\\temp\\" + name;
}
