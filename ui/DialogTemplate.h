#pragma once
// An in-memory dialog template (DLGTEMPLATE and its items), built in code so
// that a small dialog needs no resource script.
#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class DialogTemplate {
 public:
  // Texts are Shift-JIS; a template holds them as UTF-16.
  DialogTemplate(const std::string& caption, short width, short height, const std::string& font,
                 WORD pointSize);
  // `windowClass` is one of the predefined class atoms (0x0080 button ... 0x0085 combo box).
  void AddItem(WORD windowClass, WORD id, DWORD style, short x, short y, short width, short height,
               const std::string& text = {});
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  static constexpr WORD kButton = 0x0080;
  static constexpr WORD kStatic = 0x0082;
  static constexpr WORD kListBox = 0x0083;
  static constexpr WORD kComboBox = 0x0085;

 private:
  void AddDword(DWORD value);
  void AddText(const std::string& text);
  void AlignToDword();

  std::vector<WORD> words_;
};

}  // namespace ui
