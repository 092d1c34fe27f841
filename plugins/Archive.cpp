// Listing an archive through an archive plug-in and extracting its members
// into the temp folder.
#include <string>

#include "app/Globals.h"
#include "core/ArchiveList.h"
#include "plugins/PluginExports.h"
#include "plugins/SpiFunc.h"
#include "ui/Handles.h"

ArchiveEntry ArchiveEntries[4096];
int32_t ArchiveEntryCount = 0;
std::string ExtractedFilePath;

namespace {

constexpr size_t kMaxEntries = std::size(ArchiveEntries);
constexpr uint32_t kToFolder = 0;
constexpr uint32_t kToMemory = 256;
const char kMemberSeparator[] = "-------------";

std::string TempFolder() { return AppDir + "\\temp"; }

void LogAndStore(const archive::Record& record) {
  LogLine(kMemberSeparator);
  LogLine("圧縮法の種類       : " + std::string(record.method));
  LogLine("ファイル上での位置 : " + std::to_string(record.position));
  LogLine("圧縮されたサイズ   : " + std::to_string(record.compressedSize));
  LogLine("元のファイルサイズ : " + std::to_string(record.originalSize));
  LogLine("ファイルの更新日時 : " + std::to_string(record.timeStamp));
  LogLine("相対パス           : " + std::string(record.path));
  LogLine("ファイルネーム     : " + std::string(record.name));
  ArchiveEntries[ArchiveEntryCount++] = ArchiveEntry{std::string(record.name), record.position};
}

// Writes a memory block to `target` in one write. A file that cannot be
// created or wholly written counts as a failed extraction, and what was
// written of it is removed.
bool WriteBlock(HLOCAL block, const std::string& target) {
  const SIZE_T size = ::LocalSize(block);
  const ui::LocalLockGuard lock(block);
  if (size > 0 && !lock.Ptr()) return false;
  ui::File file(::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool whole = size == 0 || (::WriteFile(file.Get(), lock.Ptr(), size, &written, nullptr) && written == size);
  file.Reset();
  if (!whole) ::DeleteFileA(target.c_str());
  return whole;
}

bool ExtractToMemory(FARPROC getFile, const std::string& path, uint32_t position,
                     const std::string& target) {
  HLOCAL block = nullptr;
  const GuardedResult outcome =
      CallGuardedWith(getFile, path.c_str(), position, &block, kToMemory, &PluginProgressCallback, 0);
  const PluginBlocks owner(block);
  if (outcome.faulted || outcome.value != 0) return false;
  return WriteBlock(block, target);
}

// The two disk-output attempts: into the temp folder, and, only when that
// crashed, into a destination left to the plug-in.
int32_t ExtractToFolder(FARPROC getFile, const std::string& path, uint32_t position) {
  std::string folder = TempFolder();
  const GuardedResult intoTemp =
      CallGuardedWith(getFile, path.c_str(), position, folder.data(), kToFolder, &PluginProgressCallback, 0);
  if (!intoTemp.faulted) return intoTemp.value;
  char nowhere[1] = {};
  const GuardedResult anywhere =
      CallGuardedWith(getFile, path.c_str(), position, nowhere, kToFolder, &PluginProgressCallback, 0);
  return anywhere.faulted ? -1 : anywhere.value;
}

const ArchiveEntry* EntryAt(int entry) {
  return entry >= 0 && static_cast<size_t>(entry) < kMaxEntries ? &ArchiveEntries[entry] : nullptr;
}

}  // namespace

bool PluginGetArchiveInfo(int row, const std::string& path) {
  const PluginCallScope scope;
  const FARPROC getArchiveInfo = FindExport(row, "GetArchiveInfo");
  if (!getArchiveInfo) return false;
  // A listing that fails leaves no members of another archive behind.
  ArchiveEntryCount = 0;
  HLOCAL list = nullptr;
  const GuardedResult outcome = CallGuardedWith(getArchiveInfo, path.c_str(), 0, 0, &list);
  const PluginBlocks owner(list);
  const int32_t result = ResultOrThrow("GetArchiveInfo", outcome);
  LogLine(kLogSeparator);
  LogLine("GetArchiveInfo結果 : " + std::to_string(result));
  if (result == -1) return false;
  const ui::LocalLockGuard lock(list);
  if (!lock.Ptr()) return false;
  const std::string_view block(static_cast<const char*>(lock.Ptr()), ::LocalSize(list));
  archive::WalkList(block, kMaxEntries, LogAndStore);
  return true;
}

int32_t PluginGetFile(int row, const std::string& path, int entry) {
  const PluginCallScope scope;
  const FARPROC getFile = FindExport(row, "GetFile");
  if (!getFile) return -1;
  const ArchiveEntry* member = EntryAt(entry);
  const std::string name = member ? member->name : std::string();
  const std::string target = TempFolder() + "\\" + name;
  int32_t result = -1;
  // A name with a folder part could put the member anywhere; it is not extracted.
  if (archive::IsPlainFileName(name)) {
    result = ExtractToMemory(getFile, path, member->position, target)
                 ? 0
                 : ExtractToFolder(getFile, path, member->position);
  }
  if (result == 0) ExtractedFilePath = target;
  LogLine(kLogSeparator);
  LogLine("GetFile結果 : " + std::string(result == 0 ? "成功" : "失敗"));
  LogLine("ファイル名  : " + name);
  return result;
}
