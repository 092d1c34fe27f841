#pragma once
// The plug-in host: loads Susie plug-ins and asks them to describe, test,
// decode, list and extract files. Also the one writer of diagnostic lines.
#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ui {
class Bitmap;
}

// One loaded plug-in library.
struct PluginRow {
  HMODULE handle = nullptr;
  std::string fileName;  // without folder, for log lines
  bool isArchive = false;
};

extern PluginRow PluginTable[256];
extern int32_t PluginCount;

// A plug-in call that ended in a hardware fault or another structured
// exception instead of returning. The host is healthy again when this is thrown.
class PluginFault : public std::runtime_error {
 public:
  PluginFault(const std::string& exportName, DWORD code);
  DWORD Code() const { return code_; }

 private:
  DWORD code_;
};

// A plug-in handed back data that does not describe itself truthfully
// (a picture whose sizes or colour table do not fit its memory blocks).
class PluginDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Marks a plug-in operation in progress, for as long as it lives. A plug-in
// may run a message loop of its own (a message box without an owner, a
// settings dialog), in which our menus stay live; a reload or unload asked for
// meanwhile waits until the outermost operation has ended, so that no library
// is freed while its code is on the stack. Every operation below holds one; a
// caller may hold one across several operations to keep the rows it walks.
class PluginCallScope {
 public:
  PluginCallScope();
  ~PluginCallScope();
  PluginCallScope(const PluginCallScope&) = delete;
  PluginCallScope& operator=(const PluginCallScope&) = delete;
};

// Loads every "*.spi" library of `folder` (which ends in a backslash).
void LoadPlugins(const std::string& folder);
// Loads one library into the next free row; silently skipped when it fails.
void LoadPlugin(const std::string& path);
// Frees every loaded library: at once, or when the plug-in operation in
// progress has ended.
void UnloadPlugins();
// Logs what a plug-in says about itself and records whether it is an archive plug-in.
void LogPluginInfo(int row);

// The plug-in's answer (1 = supported; 0 when it was not asked). `isArchive`
// always receives the row's archive flag.
int32_t PluginIsSupported(int row, const std::string& path, bool& isArchive);
// 0 when the picture is in `bitmap`; -1 when the row has no GetPicture;
// otherwise the plug-in's error code. Throws PluginFault, PluginDataError or
// ui::Win32Error (file unreadable).
int32_t PluginGetPicture(int row, const std::string& path, ui::Bitmap& bitmap);
// Copies a plug-in's DIB (BITMAPINFO block and pixel block) into `bitmap`.
void DibToBitmap(ui::Bitmap& bitmap, HLOCAL info, HLOCAL bits);
// Handed to plug-ins; always tells them to go on.
int __stdcall PluginProgressCallback(int numerator, int denominator, long userValue);

// Appends a line to the log window while debugging is enabled.
void LogLine(const std::string& text);

// One member of the archive listed last.
struct ArchiveEntry {
  std::string name;
  uint32_t position = 0;
};

extern ArchiveEntry ArchiveEntries[4096];
extern int32_t ArchiveEntryCount;
// The file written by the last successful extraction.
extern std::string ExtractedFilePath;

// Lists an archive into ArchiveEntries: true when the plug-in handed back a
// list (of no members, perhaps). Throws PluginFault.
bool PluginGetArchiveInfo(int row, const std::string& path);
// Extracts member `entry` of the last listing into the temp folder: 0 when it
// is in ExtractedFilePath, -1 when it could not be attempted or every attempt
// faulted, otherwise the plug-in's error code.
int32_t PluginGetFile(int row, const std::string& path, int entry);

// The viewer's "Plug-In ディレクトリを設定" command: lets the user pick a new
// plug-in folder and reloads and describes the plug-ins from it, at once or
// when the plug-in operation in progress has ended.
void ChangePluginFolder(HWND owner);
