#include "spi/axpixolet/ArchiveDetect.h"

#include <cstring>
#include <string>

#include "core/SjisText.h"

namespace spi {

namespace {

bool At(std::span<const uint8_t> head, size_t offset, std::string_view mark) {
  return head.size() >= offset + mark.size() && std::memcmp(head.data() + offset, mark.data(), mark.size()) == 0;
}

// LHA headers carry their method, "-lh5-", "-lzs-" and the like, from byte 2.
bool IsLhaHeader(std::span<const uint8_t> head) {
  return head.size() >= 21 && head[2] == '-' && head[3] == 'l' && (head[4] == 'h' || head[4] == 'z') &&
         head[6] == '-';
}

}  // namespace

bool IsArchive(std::span<const uint8_t> head, std::string_view path) {
  using namespace std::string_view_literals;
  static constexpr std::string_view kMarks[] = {
      "PK\x03\x04"sv,                  // ZIP
      "PK\x05\x06"sv,                  // ZIP without members
      "7z\xBC\xAF\x27\x1C"sv,          // 7z
      "Rar!\x1A\x07\x00"sv,            // RAR 1.5 to 4
      "Rar!\x1A\x07\x01\x00"sv,        // RAR 5
      "MSCF\0\0\0\0"sv,                // CAB
      "\x1F\x8B"sv,                    // gzip: tar.gz
      "BZh"sv,                         // bzip2: tar.bz2
      "\xFD" "7zXZ\0"sv,               // xz: tar.xz
  };
  for (const auto mark : kMarks) {
    if (At(head, 0, mark)) return true;
  }
  if (At(head, 257, "ustar") || IsLhaHeader(head)) return true;
  return sjis::SameText(sjis::ExtensionPart(path), ".iso");
}

}  // namespace spi
