#pragma once
// The settings file, read and written one key at a time through the system's
// profile functions, with the program's value rules.
#include <cstdint>
#include <string>

class ProfileFile {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  // At most 2047 characters; a missing key gives the default.
  std::string ReadString(const char* section, const char* key, const std::string& defaultValue) const;
  int32_t ReadInteger(const char* section, const char* key, int32_t defaultValue) const;
  bool ReadBool(const char* section, const char* key, bool defaultValue) const;

  // Each write throws ui::Win32Error when the file cannot be written.
  void WriteString(const char* section, const char* key, const std::string& value) const;
  void WriteInteger(const char* section, const char* key, int32_t value) const;
  void WriteBool(const char* section, const char* key, bool value) const;

 private:
  std::string path_;
};
