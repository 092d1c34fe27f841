#include "plugins/PluginExports.h"

#include <cstdio>

#include "plugins/SpiFunc.h"

namespace {

std::string FaultText(const std::string& exportName, DWORD code) {
  char text[96];
  std::snprintf(text, sizeof text, "Plug-in fault 0x%08lX in %s", static_cast<unsigned long>(code),
                exportName.c_str());
  return text;
}

}  // namespace

PluginFault::PluginFault(const std::string& exportName, DWORD code)
    : std::runtime_error(FaultText(exportName, code)), code_(code) {}

FARPROC FindExport(int row, const char* name) {
  if (row < 0 || row >= PluginCount || !PluginTable[row].handle) return nullptr;
  return ::GetProcAddress(PluginTable[row].handle, name);
}

int32_t ResultOrThrow(const char* exportName, const GuardedResult& outcome) {
  if (outcome.faulted) throw PluginFault(exportName, outcome.code);
  return outcome.value;
}

int __stdcall PluginProgressCallback(int, int, long) { return 0; }
