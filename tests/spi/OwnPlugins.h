#pragma once
// Our own plug-ins as built beside pixolet.exe, for the tests through our host.
#include <windows.h>

#include <string>

#include "plugins/SpiFunc.h"

namespace spi_testing {

// The "susie" folder of the build, where the plug-ins land beside pixolet.exe.
inline std::string SusieFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string exe = path;
  return exe.substr(0, exe.rfind('\\')) + "\\" + SUSIE_FROM_TESTS + "\\";
}

// The row of PluginTable that holds the plug-in of this file name, or -1.
inline int RowOf(const std::string& fileName) {
  for (int row = 0; row < PluginCount; ++row) {
    if (PluginTable[row].fileName == fileName) return row;
  }
  return -1;
}

// An export of the plug-in in `row`, as a function of the given type.
template <typename Function>
Function Export(int row, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(PluginTable[row].handle, name)));
}

}  // namespace spi_testing
