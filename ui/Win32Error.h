#pragma once
// A failed Win32 call, carrying the system's own text for the error.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace ui {

class Win32Error : public std::runtime_error {
 public:
  explicit Win32Error(DWORD code, const std::string& context = {});
  DWORD Code() const { return code_; }

 private:
  DWORD code_;
};

// The system's message for an error code, without the trailing line break.
std::string SystemErrorText(DWORD code);

// Throws Win32Error with the calling thread's last error.
[[noreturn]] void ThrowLastError(const std::string& context = {});

}  // namespace ui
