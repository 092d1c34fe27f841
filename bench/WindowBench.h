#pragma once
// What the i686 timer programs that drive the viewer share.
#include <windows.h>
#include <shellapi.h>

#include <string>

// Files dropped from the shell: one path in a DROPFILES block, as the
// viewer's WM_DROPFILES receives it. The receiver releases it.
HDROP MakeDrop(const std::string& path);

// A folder of this name under the system's temporary folder, made when missing.
std::string BenchFolder(const std::string& name);
