#include "plugins/WholeFile.h"

#include <algorithm>

#include "ui/Win32Error.h"

ui::File OpenForReading(const std::string& path) {
  return ui::File(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileBytes ReadWholeFile(const std::string& path, size_t minimum) {
  const ui::File file = OpenForReading(path);
  if (!file) ui::ThrowLastError(path);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size)) ui::ThrowLastError(path);
  // Plug-ins take the length as a 32-bit signed number.
  if (size.QuadPart > INT32_MAX) throw ui::Win32Error(ERROR_FILE_TOO_LARGE, path);
  const auto length = static_cast<DWORD>(size.QuadPart);
  FileBytes bytes{std::vector<char>(std::max<size_t>({length, minimum, 1})), static_cast<int32_t>(length)};
  DWORD read = 0;
  if (!::ReadFile(file.Get(), bytes.buffer.data(), length, &read, nullptr)) ui::ThrowLastError(path);
  if (read != length) throw ui::Win32Error(ERROR_HANDLE_EOF, path);
  return bytes;
}
