#include "app/Globals.h"

#include <windows.h>

#include "core/SjisText.h"

std::string AppDir;
std::string PluginDir;
bool DebugEnabled = false;
bool GarbagePromptEnabled = true;

namespace {

std::optional<std::string>& FolderOverride() {
  static std::optional<std::string> folder;
  return folder;
}

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string ProgramFolder() {
  return FolderOverride() ? *FolderOverride() : sjis::DirectoryOf(ExecutablePath());
}

void OverrideProgramFolder(std::optional<std::string> folder) { FolderOverride() = std::move(folder); }
