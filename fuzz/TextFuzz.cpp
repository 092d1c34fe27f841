// Settings values and Shift-JIS paths: any text parses or gives the default,
// numbers read back as written, and a path splits into parts that join again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/ProfileValue.h"
#include "core/SjisText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto value = profile::ParseInt(text)) {
    if (profile::ParseInt(profile::FormatInt(*value)) != value) std::abort();
  }
  const std::string folder = sjis::FolderPart(text);
  const std::string name = sjis::FileNamePart(text);
  if (folder + name != text) std::abort();
  const std::string extension = sjis::ExtensionPart(text);
  if (extension.size() > name.size() || name.compare(name.size() - extension.size(), std::string::npos, extension) != 0) {
    std::abort();
  }
  if (!sjis::SameText(text, text)) std::abort();
  return 0;
}
