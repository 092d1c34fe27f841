#include "spi/axpixolet/MemberNames.h"

#include <array>
#include <cwctype>
#include <vector>

#include "core/SjisText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace spi {

#ifdef _WIN32
std::string ToShiftJis(std::wstring_view text, bool& lossy) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int size = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, "_", &usedDefault);
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), size, "_", &usedDefault);
  lossy = lossy || usedDefault;
  return out;
}
#else
// One character at a time, so that each one without a form is replaced alone.
std::string ToShiftJis(std::wstring_view text, bool& lossy) {
  iconv_t converter = iconv_open("CP932", "WCHAR_T");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    lossy = lossy || !text.empty();
    return std::string(text.size(), '_');
  }
  std::string out;
  for (wchar_t c : text) {
    char* in = reinterpret_cast<char*>(&c);
    size_t inLeft = sizeof c;
    char bytes[8];
    char* to = bytes;
    size_t toLeft = sizeof bytes;
    if (iconv(converter, &in, &inLeft, &to, &toLeft) == static_cast<size_t>(-1)) {
      out += '_';
      lossy = true;
    } else {
      out.append(bytes, to);
    }
  }
  iconv_close(converter);
  return out;
}
#endif

namespace {

bool ForbiddenInFileNames(wchar_t c) {
  return c < 0x20 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos;
}

// Windows opens a device for these names whatever the extension.
bool IsDeviceName(std::string_view name) {
  const std::string_view stem = name.substr(0, name.find('.'));
  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const auto device : kDevices) {
    if (sjis::SameText(stem, device)) return true;
  }
  return stem.size() == 4 && (sjis::SameText(stem.substr(0, 3), "COM") || sjis::SameText(stem.substr(0, 3), "LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

// The longest head of `text` of at most `bytes` bytes that does not split a double-byte character.
std::string_view CutSjis(std::string_view text, size_t bytes) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t step = sjis::IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + step > bytes) break;
    end += step;
  }
  return text.substr(0, end);
}

std::string Component(std::wstring_view part, bool& lossy) {
  std::wstring clean(part);
  for (wchar_t& c : clean) {
    if (ForbiddenInFileNames(c)) c = L'_', lossy = true;
  }
  return ToShiftJis(clean, lossy);
}

// "stem~number.ext", cut to fit the record's field.
std::string Numbered(const std::string& name, uint32_t number) {
  const size_t dot = name.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot > 0 && name.size() - dot <= 16;
  const std::string extension = hasExtension ? name.substr(dot) : "";
  const std::string stem = hasExtension ? name.substr(0, dot) : name;
  std::string mark = "~";
  mark += std::to_string(number);
  return std::string(CutSjis(stem, kMaxNameBytes - mark.size() - extension.size())) + mark + extension;
}

}  // namespace

std::optional<MemberName> ShiftJisName(std::wstring_view path, uint32_t number) {
  std::vector<std::wstring_view> parts;
  std::wstring_view last;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != L'/' && path[i] != L'\\') continue;
    last = path.substr(start, i - start);
    if (!last.empty() && last != L"." && last != L"..") parts.push_back(last);
    start = i + 1;
  }
  // A path ending in a separator, "." or ".." names a folder.
  if (parts.empty() || parts.back().data() != last.data()) return std::nullopt;
  MemberName member;
  bool lossy = false;
  member.name = Component(parts.back(), lossy);
  if (lossy || member.name.size() > kMaxNameBytes || IsDeviceName(member.name)) {
    member.name = Numbered(member.name, number);
  }
  std::vector<std::string> folders;
  for (size_t i = 0; i + 1 < parts.size(); ++i) folders.push_back(Component(parts[i], lossy) + "\\");
  // A folder too deep for the field keeps its innermost levels.
  size_t length = 0, first = folders.size();
  while (first > 0 && length + folders[first - 1].size() <= kMaxNameBytes) length += folders[--first].size();
  for (size_t i = first; i < folders.size(); ++i) member.folder += folders[i];
  return member;
}

}  // namespace spi
