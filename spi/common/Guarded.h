#pragma once
// No C++ exception may leave a plug-in export: the host is C code to us.
#include <new>

#include "spi/common/SpiResult.h"

namespace spi {

template <typename Body>
int Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kSpiNoMemory;
  } catch (...) {
    return kSpiInternalError;
  }
}

}  // namespace spi
