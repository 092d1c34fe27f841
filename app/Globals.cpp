#include "app/Globals.h"

#include <windows.h>

#include <cstdlib>

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

std::optional<std::vector<std::string>>& ArgumentsOverride() {
  static std::optional<std::vector<std::string>> arguments;
  return arguments;
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

// The C runtime has split the command line already, by the ANSI code page.
std::vector<std::string> ProgramArguments() {
  if (ArgumentsOverride()) return *ArgumentsOverride();
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
  return arguments;
}

void OverrideProgramArguments(std::optional<std::vector<std::string>> arguments) {
  ArgumentsOverride() = std::move(arguments);
}
