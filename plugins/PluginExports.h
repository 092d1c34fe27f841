#pragma once
// How the host reaches the exports of a loaded plug-in.
#include <windows.h>

#include <cstdint>

// An export of a loaded row; null when the row is not in use, has no library,
// or the library lacks the export.
FARPROC FindExport(int row, const char* name);

// GetPluginInfo of a row: non-zero when the buffer now holds the text for
// `infoNumber`. A missing export or a fault counts as 0.
int32_t CallGetPluginInfo(int row, int infoNumber, char* buffer, int size);
