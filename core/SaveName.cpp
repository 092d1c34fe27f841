#include "core/SaveName.h"

#include "core/SjisText.h"

namespace save_name {

std::optional<std::string> WithForcedExtension(std::string_view chosen, std::string_view extension) {
  // The extension is empty exactly when the file-name part holds no full stop.
  const std::string current = sjis::ExtensionPart(chosen);
  if (!current.empty() && current != ".") return std::nullopt;
  std::string path(chosen.substr(0, chosen.size() - current.size()));
  path += extension;
  return path;
}

}  // namespace save_name
