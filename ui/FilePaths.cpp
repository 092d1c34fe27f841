#include "ui/FilePaths.h"

#include <windows.h>

#include <optional>

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

namespace {

// The text in UTF-16, or nothing when it is not valid in the code page (a
// conversion would make different bytes alike).
std::optional<std::wstring> Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(length, L'\0');
  ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

// The ordinal comparison with case ignored is the file system's own rule (its
// upper-case table). The locale's linguistic comparison would be wrong here:
// it gives weight to some characters and none to others.
bool SamePathText(const std::string& a, const std::string& b) {
  if (a == b) return true;
  const std::optional<std::wstring> wideA = Wide(a);
  const std::optional<std::wstring> wideB = Wide(b);
  if (!wideA || !wideB) return false;
  return ::CompareStringOrdinal(wideA->data(), static_cast<int>(wideA->size()), wideB->data(),
                                static_cast<int>(wideB->size()), TRUE) == CSTR_EQUAL;
}

}  // namespace ui
