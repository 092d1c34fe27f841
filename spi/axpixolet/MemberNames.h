#pragma once
// Archive member paths as Susie hosts get them: Shift-JIS (code page 932)
// whatever the archive stored, split into the folder and the bare name, and
// safe to use as a Windows file name in any folder.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace spi {

// Both fields of a list record hold at most this many bytes before their NUL.
constexpr size_t kMaxNameBytes = 199;

struct MemberName {
  std::string folder;  // "" or "a\b\" (a trailing backslash: folder + name is the member's path)
  std::string name;
};

// Shift-JIS of `text`; a character without a Shift-JIS form becomes '_' and sets `lossy`.
std::string ToShiftJis(std::wstring_view text, bool& lossy);

// Splits an archive's path at '/' and '\' and converts it. Characters that
// Shift-JIS or Windows file names cannot hold become '_'; a name changed that
// way, cut to fit, or equal to a device name gets "~" and the member's number
// before its extension, so that it stays distinct from the others. None for
// a path without a file name.
std::optional<MemberName> ShiftJisName(std::wstring_view path, uint32_t number);

}  // namespace spi
