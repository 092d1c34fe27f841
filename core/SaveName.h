#pragma once
// The name a picture is saved under, from the name chosen in the save dialog.
#include <optional>
#include <string>
#include <string_view>

namespace save_name {

// When the chosen file name has no full stop, or the path ends in a bare full
// stop, the path with `extension` (".bmp", ".jpg") in place of its extension
// (added when it has none); otherwise nothing: the name is used as chosen.
std::optional<std::string> WithForcedExtension(std::string_view chosen, std::string_view extension);

}  // namespace save_name
