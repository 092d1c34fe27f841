#pragma once
// The plug-in side of the host's progress callback, free of Win32.
#include <cstdint>
#include <functional>

namespace spi {

// Told how far a long call has come; answers false when the caller wants it to stop.
using Progress = std::function<bool(int32_t done, int32_t total)>;

// True when there is no callback or it lets the work go on.
inline bool GoOn(const Progress& progress, int32_t done, int32_t total) {
  return !progress || progress(done, total);
}

}  // namespace spi
