#pragma once
// Hands a decoded picture to the host in the local-memory blocks it frees.
#include <windows.h>

#include "spi/common/Dib.h"
#include "spi/common/SpiResult.h"

namespace spi {

// Fills `info` (BITMAPINFOHEADER, no colour table) and `bits` with new
// local-memory blocks; both stay null unless the answer is kSpiOk.
SpiResult HandOutDib(const Dib& dib, HLOCAL* info, HLOCAL* bits);

}  // namespace spi
