// The table of loaded plug-ins: loading, unloading and describing them.
#include <cstring>
#include <exception>
#include <utility>

#include "app/Globals.h"
#include "core/SjisText.h"
#include "plugins/PluginExports.h"
#include "plugins/SpiFunc.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "ui/Handles.h"

PluginRow PluginTable[256];
int32_t PluginCount = 0;

namespace {

constexpr int32_t kMaxPlugins = 256;
constexpr DWORD kDirectoryBit = FILE_ATTRIBUTE_DIRECTORY;
constexpr int kInfoBufferSize = 1024;
constexpr int kFormatPairs = 11;

template <typename Function>
FARPROC AsFarProc(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

// Library initialisation and finalisation are plug-in code too: the guard
// contains a crash in them and keeps our floating-point control words (a
// library that sets 53-bit precision when it loads would change our layout
// arithmetic).
HMODULE GuardedLoad(const std::string& fullPath, DWORD flags, bool& crashed) {
  const GuardedResult outcome =
      CallGuardedWith(AsFarProc(&::LoadLibraryExA), fullPath.c_str(), static_cast<HANDLE>(nullptr), flags);
  crashed = outcome.faulted;
  return crashed ? nullptr : reinterpret_cast<HMODULE>(static_cast<uintptr_t>(static_cast<uint32_t>(outcome.value)));
}

void GuardedFree(HMODULE module) { CallGuardedWith(AsFarProc(&::FreeLibrary), module); }

// Libraries that a plug-in needs are looked for beside it, in the program's
// folder and in the system folders, never in the current folder (the temp
// folder, or wherever a picture came from), so that a stray DLL there cannot
// stand in for one of them. Systems without the search flags get the older
// altered search path, with the current folder taken out of it.
HMODULE LoadPluginLibrary(const std::string& path) {
  const std::string fullPath = ui::FullPathName(path);
  const DWORD searchBesideAndSystem = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
  bool crashed = false;
  if (HMODULE module = GuardedLoad(fullPath, searchBesideAndSystem, crashed)) return module;
  if (crashed || ::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  ::SetDllDirectoryA("");
  return GuardedLoad(fullPath, LOAD_WITH_ALTERED_SEARCH_PATH, crashed);
}

// The text a plug-in left in the buffer, up to its NUL or the buffer's end.
std::string BufferText(const char* buffer) {
  return std::string(buffer, ::strnlen(buffer, kInfoBufferSize));
}

// Asks one plug-in for its texts. A plug-in that crashed once is not asked
// again: whatever state the crash left it in, its later answers mean nothing.
class InfoReader {
 public:
  explicit InfoReader(FARPROC getPluginInfo) : getPluginInfo_(getPluginInfo) {}
  bool Ask(int infoNumber) {
    if (crashed_) return false;
    const GuardedResult outcome = CallGuardedWith(getPluginInfo_, infoNumber, buffer_, kInfoBufferSize);
    crashed_ = outcome.faulted;
    return !crashed_ && outcome.value != 0;
  }
  std::string Text() const { return BufferText(buffer_); }

 private:
  FARPROC getPluginInfo_;
  bool crashed_ = false;
  char buffer_[kInfoBufferSize] = {};
};

void LogApiVersion(InfoReader& reader, PluginRow& row) {
  if (!reader.Ask(0)) return;
  const std::string version = reader.Text();
  LogLine(kLogSeparator);
  LogLine("APIバージョン : " + version);
  row.isArchive = version != "00IN";
}

void LogFormats(InfoReader& reader) {
  std::string line = "ファイル形式  : ";
  for (int k = 0; k < kFormatPairs; ++k) {
    if (reader.Ask(2 * k + 2)) line += reader.Text();
    if (reader.Ask(2 * k + 3)) line += ": " + reader.Text() + "; ";
  }
  LogLine(line);
}

// Plug-in operations in progress, nested through plug-ins' own message loops.
int callDepth = 0;

enum class TableChange { None, Unload, Reload };
// The last reload or unload asked for while an operation was in progress.
TableChange pendingChange = TableChange::None;

void FreeLibraries() {
  for (int32_t i = 0; i < PluginCount; ++i) {
    if (PluginTable[i].handle) GuardedFree(PluginTable[i].handle);
    // A freed handle may soon name another library; no call may reach it.
    PluginTable[i].handle = nullptr;
  }
}

void ReloadFromPluginDir() {
  FreeLibraries();
  LoadPlugins(PluginDir);
  for (int32_t row = 0; row < PluginCount; ++row) LogPluginInfo(row);
}

// Runs at the end of the outermost operation, itself inside a scope: a change
// asked for by the plug-ins it calls waits for it and runs right after.
void RunPendingChange() {
  const TableChange change = std::exchange(pendingChange, TableChange::None);
  if (change == TableChange::None) return;
  const PluginCallScope scope;
  try {
    if (change == TableChange::Unload) FreeLibraries();
    if (change == TableChange::Reload) ReloadFromPluginDir();
  } catch (...) {
    // Nothing is left on the stack to take it: the end of a scope cannot throw.
    ui::Application::Get().ReportException(std::current_exception());
  }
}

// Asks for a change and makes it at once unless an operation is in progress.
void RequestChange(TableChange change) {
  pendingChange = change;
  const PluginCallScope scope;
}

}  // namespace

PluginCallScope::PluginCallScope() { ++callDepth; }

PluginCallScope::~PluginCallScope() {
  if (--callDepth == 0) RunPendingChange();
}

void LoadPlugins(const std::string& folder) {
  PluginCount = 0;
  WIN32_FIND_DATAA found;
  ui::FindHandle search(::FindFirstFileA((folder + "*.spi").c_str(), &found));
  if (!search) return;
  do {
    if (!(found.dwFileAttributes & kDirectoryBit)) LoadPlugin(folder + found.cFileName);
  } while (::FindNextFileA(search.Get(), &found));
}

void LoadPlugin(const std::string& path) {
  if (PluginCount >= kMaxPlugins || !ui::IsExistingFile(path)) return;
  const PluginCallScope scope;
  PluginRow& row = PluginTable[PluginCount];
  row.handle = LoadPluginLibrary(path);
  if (!row.handle) return;
  row.fileName = sjis::FileNamePart(path);
  // A new occupant starts as a picture plug-in, as every row does at start-up,
  // rather than inheriting the flag of the plug-in that used the row before.
  row.isArchive = false;
  ++PluginCount;
}

void UnloadPlugins() { RequestChange(TableChange::Unload); }

void LogPluginInfo(int row) {
  const PluginCallScope scope;
  const FARPROC getPluginInfo = FindExport(row, "GetPluginInfo");
  if (!getPluginInfo) {
    if (row >= 0 && row < PluginCount) PluginTable[row].isArchive = false;
    return;
  }
  InfoReader reader(getPluginInfo);
  LogApiVersion(reader, PluginTable[row]);
  if (reader.Ask(1)) LogLine("Plug-in名     : " + sjis::TrimBlanks(reader.Text()));
  LogFormats(reader);
}

void ChangePluginFolder(HWND owner) {
  std::string folder = PluginDir;
  if (!ui::CurrentDialogs().SelectFolder(owner, folder)) return;
  PluginDir = folder + "\\";
  RequestChange(TableChange::Reload);
}
