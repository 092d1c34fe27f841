#pragma once
// The answers of a Susie plug-in call, as Susie hosts read them.
#include <cstdint>

namespace spi {

enum SpiResult : int32_t {
  kSpiOk = 0,
  kSpiNotImplemented = -1,
  kSpiCancelled = 1,      // the progress callback asked to stop
  kSpiUnknownFormat = 2,  // not a file of ours
  kSpiBrokenData = 3,     // ours, but damaged or truncated
  kSpiNoMemory = 4,       // too large to hold, or memory ran out
  kSpiMemoryError = 5,    // a memory block could not be locked
  kSpiReadError = 6,      // the file could not be read
  kSpiWriteError = 7,     // an extracted file could not be written
  kSpiInternalError = 8,
};

}  // namespace spi
