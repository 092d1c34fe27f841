#include "core/SaveName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(SaveName, AddsOrReplacesTheExtensionOnlyWhereTheNameLacksOne) {
  struct Case {
    const char* chosen;
    const char* extension;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"C:\\p\\pic", ".bmp", "C:\\p\\pic.bmp"},
      {"C:\\p\\pic.", ".bmp", "C:\\p\\pic.bmp"},
      {"C:\\p\\pic.", ".jpg", "C:\\p\\pic.jpg"},
      {"C:\\p\\pic.txt", ".bmp", std::nullopt},
      {"C:\\p\\pic.jpg", ".bmp", std::nullopt},
      {"C:\\p\\a.b.", ".jpg", "C:\\p\\a.b.jpg"},
      {"C:\\p\\.bmp", ".bmp", std::nullopt},
      // A full stop in the folder is not the name's.
      {"C:\\my.pics\\pic", ".jpg", "C:\\my.pics\\pic.jpg"},
      {"C:pic", ".bmp", "C:pic.bmp"},
      // "表" ends in the byte of a backslash; "ソ" likewise. Neither separates.
      {"C:\\p\\\x95\x5C.x\x83\x5C", ".bmp", std::nullopt},
      {"C:\\p\\\x95\x5C", ".bmp", "C:\\p\\\x95\x5C.bmp"},
      {"C:\\p\\\x95\x5C.", ".jpg", "C:\\p\\\x95\x5C.jpg"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(save_name::WithForcedExtension(c.chosen, c.extension), c.expected) << c.chosen;
  }
}

}  // namespace
