#include "core/ProfileValue.h"

namespace profile {

static int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A sign is part of a decimal number only; hexadecimal is recognised by its
// prefix at the very start, so "-$10" is not a number at all.
std::optional<int32_t> ParseInt(std::string_view text) {
  int base = 10;
  bool negative = false;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Hexadecimal covers the full 32 bits ("$FFFFFFFF" is -1); decimal must fit.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t value = 0;
  for (char c : text) {
    const int digit = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  const auto bits = static_cast<uint32_t>(value);
  return static_cast<int32_t>(negative ? 0u - bits : bits);
}

int32_t ReadInt(std::string_view text, int32_t defaultValue) {
  return ParseInt(text).value_or(defaultValue);
}

bool ReadBool(std::string_view text, bool defaultValue) {
  return ReadInt(text, defaultValue ? 1 : 0) != 0;
}

std::string FormatInt(int32_t value) { return std::to_string(value); }

}  // namespace profile
