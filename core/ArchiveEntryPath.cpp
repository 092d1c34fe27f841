#include "core/ArchiveEntryPath.h"

#include "core/SjisText.h"

namespace archive_entry {

namespace {

constexpr std::string_view kPrefix = "Arc";

// Positions of the single-byte characters `c` in `s`, trail bytes skipped.
std::vector<size_t> Positions(std::string_view s, char c, size_t from) {
  std::vector<size_t> found;
  for (size_t i = from; i < s.size(); ++i) {
    const auto byte = static_cast<unsigned char>(s[i]);
    if (sjis::IsLeadByte(byte)) {
      ++i;
      continue;
    }
    if (s[i] == c) found.push_back(i);
  }
  return found;
}

}  // namespace

std::string Format(int32_t member, std::string_view name, std::string_view archivePath) {
  std::string text(kPrefix);
  text += std::to_string(member);
  text += '[';
  text += name;
  text += ']';
  text += archivePath;
  return text;
}

bool IsMemberEntry(std::string_view entry) { return entry.substr(0, kPrefix.size()) == kPrefix; }

std::optional<int32_t> MemberNumber(std::string_view entry) {
  if (!IsMemberEntry(entry)) return std::nullopt;
  const size_t open = entry.find('[', kPrefix.size());
  if (open == std::string_view::npos) return std::nullopt;
  const std::string_view digits = entry.substr(kPrefix.size(), open - kPrefix.size());
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::vector<std::string> ArchivePathCandidates(std::string_view entry) {
  std::vector<std::string> candidates;
  if (!IsMemberEntry(entry)) return candidates;
  const size_t open = entry.find('[', kPrefix.size());
  if (open == std::string_view::npos) return candidates;
  // The number part is plain digits, so the first "[" is a real one; inside the
  // name a "]" may be the trail byte of a double-byte character only if we
  // ignored lead bytes, hence the Shift-JIS-aware scan.
  for (const size_t close : Positions(entry, ']', open + 1)) {
    candidates.emplace_back(entry.substr(close + 1));
  }
  return candidates;
}

}  // namespace archive_entry
