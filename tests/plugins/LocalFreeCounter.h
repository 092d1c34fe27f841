#pragma once
// Counts the test program's own LocalFree calls, handle by handle, while one
// object lives: the program's import of LocalFree is pointed at a counter
// that forwards to the real function. Frees made inside plug-ins (other
// modules, other imports) are not seen.
#include <windows.h>

#include <cstddef>

namespace plugin_testing {

class LocalFreeCounter {
 public:
  LocalFreeCounter();
  ~LocalFreeCounter();
  LocalFreeCounter(const LocalFreeCounter&) = delete;
  LocalFreeCounter& operator=(const LocalFreeCounter&) = delete;

  // How often `handle` was freed.
  int Count(HLOCAL handle) const;
  // All frees of non-null handles.
  size_t Total() const;
  void Clear();
};

}  // namespace plugin_testing
