#include "ui/Win32Error.h"

namespace ui {

std::string SystemErrorText(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : "Error " + std::to_string(code);
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

static std::string Compose(DWORD code, const std::string& context) {
  std::string text = SystemErrorText(code);
  return context.empty() ? text : text + "\r\n" + context;
}

Win32Error::Win32Error(DWORD code, const std::string& context)
    : std::runtime_error(Compose(code, context)), code_(code) {}

void ThrowLastError(const std::string& context) { throw Win32Error(::GetLastError(), context); }

}  // namespace ui
