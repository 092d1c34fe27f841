#pragma once
// Writing a whole file so that a failure loses nothing.
#include <cstdint>
#include <span>
#include <string>

namespace ui {

// Writes `bytes` to a new file beside `path` and only then puts it in
// `path`'s place, so that `path` holds either its old contents or all the new
// ones, never part of them, and no partial file is left behind. Throws
// Win32Error (with `path` in its text) when any step fails.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace ui
