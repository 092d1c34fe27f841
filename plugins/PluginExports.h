#pragma once
// How the host reaches the exports of a loaded plug-in.
#include <windows.h>

#include <cstdint>

#include "plugins/FaultGuard.h"
#include "ui/Handles.h"

// An export of a loaded row; null when the row is not in use, has no library,
// or the library lacks the export.
FARPROC FindExport(int row, const char* name);

// The export's result; a fault inside it becomes a PluginFault.
int32_t ResultOrThrow(const char* exportName, const GuardedResult& outcome);

// The memory blocks that one plug-in call wrote into its out-handles, owned
// from the moment the call ends. Real plug-ins hand back valid blocks together
// with an error code (after the progress callback said stop, for example), so
// every non-null handle is freed, whatever the call returned, and a block
// handed back through both handles only once.
class PluginBlocks {
 public:
  PluginBlocks() = default;
  explicit PluginBlocks(HLOCAL first, HLOCAL second = nullptr)
      : first_(first), second_(second != first ? second : nullptr) {}

 private:
  ui::LocalMemory first_;
  ui::LocalMemory second_;
};

// The separator that opens each group of log lines.
inline constexpr char kLogSeparator[] = "----------------------------------------";
