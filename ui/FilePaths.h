#pragma once
// Small questions about paths that only the system can answer.
#include <string>

namespace ui {

// The full path that the system makes of `path` (relative to the current
// folder), or `path` itself when it cannot.
std::string FullPathName(const std::string& path);
bool IsExistingFile(const std::string& path);
bool IsExistingFolder(const std::string& path);
// Whether two names are the same to the file system: letters of every script
// (full-width Latin, Greek, Cyrillic, ...) match without regard to case,
// nothing else is folded. Text that is not valid in the code page matches
// only itself, byte for byte.
bool SamePathText(const std::string& a, const std::string& b);

}  // namespace ui
