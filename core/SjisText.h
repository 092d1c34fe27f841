#pragma once
// Shift-JIS (code page 932) aware text and path helpers. The second byte of a
// double-byte character can be 0x5C ('\\') or ':', so no scan may look at a
// trail byte as if it were a character of its own.
#include <cstdint>
#include <string>
#include <string_view>

namespace sjis {

// First byte of a double-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Position of the last single-byte character of `s` that is one of `delims`,
// or npos.
size_t LastDelimiter(std::string_view s, std::string_view delims);

// The text after the last backslash or colon.
std::string FileNamePart(std::string_view path);
// The text up to and including the last backslash or colon.
std::string FolderPart(std::string_view path);
// The file-name part from its last full stop on ("" when it has none).
std::string ExtensionPart(std::string_view path);
// The folder of a path without its trailing backslash, except at a drive's
// root ("C:\\"), where the backslash stays.
std::string DirectoryOf(std::string_view path);

// Compares without regard to the case of single-byte letters.
bool SameText(std::string_view a, std::string_view b);
// Removes leading and trailing blanks and control characters (bytes <= 0x20).
std::string TrimBlanks(std::string_view s);
// Left-justified label padded with spaces to `width` bytes.
std::string PadRight(std::string_view s, size_t width);

}  // namespace sjis
