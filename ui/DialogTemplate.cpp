#include "ui/DialogTemplate.h"

namespace ui {

namespace {

constexpr size_t kItemCountWord = 4;  // after style and extended style

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = ::MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                           static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

}  // namespace

DialogTemplate::DialogTemplate(const std::string& caption, short width, short height,
                               const std::string& font, WORD pointSize) {
  AddDword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  AddDword(0);
  for (const short value : {short{0}, short{0}, short{0}, width, height}) words_.push_back(value);
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the standard dialog class
  AddText(caption);
  words_.push_back(pointSize);
  AddText(font);
}

void DialogTemplate::AddItem(WORD windowClass, WORD id, DWORD style, short x, short y, short width,
                             short height, const std::string& text) {
  AlignToDword();
  AddDword(style | WS_CHILD | WS_VISIBLE);
  AddDword(0);
  for (const short value : {x, y, width, height}) words_.push_back(value);
  words_.push_back(id);
  words_.push_back(0xFFFF);
  words_.push_back(windowClass);
  AddText(text);
  words_.push_back(0);  // no creation data
  ++words_[kItemCountWord];
}

void DialogTemplate::AddDword(DWORD value) {
  words_.push_back(LOWORD(value));
  words_.push_back(HIWORD(value));
}

void DialogTemplate::AddText(const std::string& text) {
  for (const wchar_t c : Wide(text)) words_.push_back(c);
  words_.push_back(0);
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2) words_.push_back(0);
}

}  // namespace ui
