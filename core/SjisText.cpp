#include "core/SjisText.h"

namespace sjis {

size_t LastDelimiter(std::string_view s, std::string_view delims) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (IsLeadByte(c)) {
      ++i;  // the trail byte is never a delimiter
      continue;
    }
    if (delims.find(static_cast<char>(c)) != std::string_view::npos) found = i;
  }
  return found;
}

std::string FileNamePart(std::string_view path) {
  const size_t at = LastDelimiter(path, "\\:");
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string FolderPart(std::string_view path) {
  const size_t at = LastDelimiter(path, "\\:");
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string ExtensionPart(std::string_view path) {
  const size_t at = LastDelimiter(path, ".\\:");
  if (at == std::string_view::npos || path[at] != '.') return {};
  return std::string(path.substr(at));
}

std::string DirectoryOf(std::string_view path) {
  std::string folder = FolderPart(path);
  // "C:\" and "\" keep their backslash; "C:\x\" loses it.
  const bool isRoot = folder == "\\" || (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\');
  if (!isRoot && folder.size() > 1 && folder.back() == '\\' &&
      LastDelimiter(folder, "\\") == folder.size() - 1) {
    folder.pop_back();
  }
  return folder;
}

static char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      // A double-byte character compares exactly, both of its bytes.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::string TrimBlanks(std::string_view s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= 0x20) ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= 0x20) --last;
  return std::string(s.substr(first, last - first));
}

std::string PadRight(std::string_view s, size_t width) {
  std::string out(s);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

}  // namespace sjis
