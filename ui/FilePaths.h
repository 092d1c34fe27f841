#pragma once
// Small questions about paths that only the system can answer.
#include <string>

namespace ui {

// The full path that the system makes of `path` (relative to the current
// folder), or `path` itself when it cannot.
std::string FullPathName(const std::string& path);
bool IsExistingFile(const std::string& path);
bool IsExistingFolder(const std::string& path);

}  // namespace ui
