#include "core/ArchiveList.h"

#include <array>

#include "core/SjisText.h"

namespace archive {

namespace {

uint32_t Word(std::string_view block, size_t offset) {
  const auto* b = reinterpret_cast<const unsigned char*>(block.data() + offset);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// A text field: up to its first NUL, at most its full width.
std::string_view Text(std::string_view block, size_t offset, size_t width) {
  const std::string_view field = block.substr(offset, width);
  return field.substr(0, field.find('\0'));
}

bool HasFolderPart(std::string_view name) {
  return sjis::LastDelimiter(name, "\\/:") != std::string_view::npos;
}

// The system drops trailing dots and blanks, so ". ." or "..." name the
// folder itself or its parent.
bool IsOnlyDotsAndBlanks(std::string_view name) {
  return name.find_first_not_of(". ") == std::string_view::npos;
}

bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  base = base.substr(0, base.find_last_not_of(' ') + 1);
  static constexpr std::array<std::string_view, 7> kDevices = {"CON",    "PRN",     "AUX",   "NUL",
                                                                "CONIN$", "CONOUT$", "CLOCK$"};
  for (const auto device : kDevices) {
    if (sjis::SameText(base, device)) return true;
  }
  const bool numbered = base.size() == 4 && base[3] >= '0' && base[3] <= '9';
  return numbered && (sjis::SameText(base.substr(0, 3), "COM") || sjis::SameText(base.substr(0, 3), "LPT"));
}

}  // namespace

Record ReadRecord(std::string_view block, size_t offset) {
  return Record{Text(block, offset, 8),          Word(block, offset + 8),
                Word(block, offset + 12),        Word(block, offset + 16),
                Word(block, offset + 20),        Text(block, offset + 24, 200),
                Text(block, offset + 224, 200)};
}

bool ContinuesList(std::string_view block, size_t offset, std::string_view firstMethod) {
  if (offset > block.size() || block.size() - offset < kRecordSize) return false;
  const std::string_view method = Text(block, offset, 8);
  return !method.empty() && method == firstMethod;
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && !HasFolderPart(name) && !IsOnlyDotsAndBlanks(name) && !IsDeviceName(name);
}

}  // namespace archive
