#pragma once
// Value rules of the settings file: integers in signed decimal, or hexadecimal after
// "$" or "0x"/"0X"; booleans are integers that are true when not 0.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace profile {

// The integer that `text` wholly is, or nothing.
std::optional<int32_t> ParseInt(std::string_view text);
int32_t ReadInt(std::string_view text, int32_t defaultValue);
bool ReadBool(std::string_view text, bool defaultValue);

std::string FormatInt(int32_t value);
inline std::string FormatBool(bool value) { return value ? "1" : "0"; }

}  // namespace profile
