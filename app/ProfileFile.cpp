#include "app/ProfileFile.h"

#include <windows.h>

#include "core/ProfileValue.h"
#include "ui/Win32Error.h"

namespace {
constexpr DWORD kValueBuffer = 2048;  // 2047 characters and the terminating NUL
}

std::string ProfileFile::ReadString(const char* section, const char* key,
                                    const std::string& defaultValue) const {
  char buffer[kValueBuffer] = {};
  const DWORD length = ::GetPrivateProfileStringA(section, key, defaultValue.c_str(), buffer,
                                                  kValueBuffer, path_.c_str());
  return std::string(buffer, length);
}

int32_t ProfileFile::ReadInteger(const char* section, const char* key, int32_t defaultValue) const {
  return profile::ReadInt(ReadString(section, key, ""), defaultValue);
}

bool ProfileFile::ReadBool(const char* section, const char* key, bool defaultValue) const {
  return profile::ReadBool(ReadString(section, key, ""), defaultValue);
}

void ProfileFile::WriteString(const char* section, const char* key, const std::string& value) const {
  if (!::WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str())) {
    ui::ThrowLastError(path_);
  }
}

void ProfileFile::WriteInteger(const char* section, const char* key, int32_t value) const {
  WriteString(section, key, profile::FormatInt(value));
}

void ProfileFile::WriteBool(const char* section, const char* key, bool value) const {
  WriteString(section, key, profile::FormatBool(value));
}
