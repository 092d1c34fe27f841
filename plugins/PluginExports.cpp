#include "plugins/PluginExports.h"

#include "plugins/SpiFunc.h"

namespace {

using GetPluginInfoFunction = int(__stdcall*)(int infoNumber, char* buffer, int size);

}  // namespace

FARPROC FindExport(int row, const char* name) {
  if (row < 0 || row >= PluginCount || !PluginTable[row].handle) return nullptr;
  return ::GetProcAddress(PluginTable[row].handle, name);
}

int32_t CallGetPluginInfo(int row, int infoNumber, char* buffer, int size) {
  const auto function = reinterpret_cast<GetPluginInfoFunction>(reinterpret_cast<void*>(FindExport(row, "GetPluginInfo")));
  return function ? function(infoNumber, buffer, size) : 0;
}
