#include "ui/FilePaths.h"

#include <windows.h>

namespace ui {

std::string FullPathName(const std::string& path) {
  char buffer[MAX_PATH * 2];
  const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return length == 0 || length >= sizeof buffer ? path : std::string(buffer, length);
}

bool IsExistingFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace ui
