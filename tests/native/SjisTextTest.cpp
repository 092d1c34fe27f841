#include "core/SjisText.h"

#include <gtest/gtest.h>

namespace {

// "表" is 0x95 0x5C in Shift-JIS: its trail byte is a backslash.
const std::string kHyou = "表";

TEST(SjisText, TrailBytesAreNeverSeparators) {
  ASSERT_EQ(kHyou, std::string("\x95\x5C"));
  const std::string path = "C:\\" + kHyou + "\\" + kHyou + ".jpg";
  EXPECT_EQ(sjis::FileNamePart(path), kHyou + ".jpg");
  EXPECT_EQ(sjis::FolderPart(path), "C:\\" + kHyou + "\\");
  EXPECT_EQ(sjis::DirectoryOf(path), "C:\\" + kHyou);
  EXPECT_EQ(sjis::FileNamePart("C:\\dir\\" + kHyou), kHyou);
  EXPECT_EQ(sjis::DirectoryOf("C:\\" + kHyou), "C:\\");
}

TEST(SjisText, PathParts) {
  struct Case { const char* path; const char* name; const char* folder; const char* ext; const char* dir; };
  const Case cases[] = {
      {"C:\\pics\\a.jpg", "a.jpg", "C:\\pics\\", ".jpg", "C:\\pics"},
      {"C:\\a.b\\c", "c", "C:\\a.b\\", "", "C:\\a.b"},
      {"D:x.bmp", "x.bmp", "D:", ".bmp", "D:"},
      {"C:\\prog.exe", "prog.exe", "C:\\", ".exe", "C:\\"},
      {"name", "name", "", "", ""},
      {"pic.", "pic.", "", ".", ""},
      {"a.tar.gz", "a.tar.gz", "", ".gz", ""},
      {"\\\\srv\\share\\f", "f", "\\\\srv\\share\\", "", "\\\\srv\\share"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sjis::FileNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(sjis::FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(sjis::ExtensionPart(c.path), c.ext) << c.path;
    EXPECT_EQ(sjis::DirectoryOf(c.path), c.dir) << c.path;
  }
}

TEST(SjisText, SameTextFoldsOnlySingleByteLetters) {
  EXPECT_TRUE(sjis::SameText("C:\\Pics\\A.JPG", "c:\\pics\\a.jpg"));
  EXPECT_FALSE(sjis::SameText("a.jpg", "a.jpeg"));
  // Full-width Ａ (0x82 0x60) and ａ (0x82 0x81) are different characters.
  EXPECT_FALSE(sjis::SameText("Ａ", "ａ"));
  // A trail byte in the letter range must not be folded: ＡA vs Ａa compare by letter.
  EXPECT_TRUE(sjis::SameText("Ａa", "ＡA"));
  EXPECT_FALSE(sjis::SameText("\x82\x61", "\x82\x41"));
  // A lead byte cut off at the end is a byte of its own.
  EXPECT_TRUE(sjis::SameText("a\x85", "A\x85"));
  EXPECT_FALSE(sjis::SameText("a\x85", "a\x86"));
}

TEST(SjisText, TrimAndPad) {
  EXPECT_EQ(sjis::TrimBlanks(" \t Susie Plug-in\r\n "), "Susie Plug-in");
  EXPECT_EQ(sjis::TrimBlanks("\x01\x02"), "");
  EXPECT_EQ(sjis::PadRight("ab", 4), "ab  ");
  EXPECT_EQ(sjis::PadRight("abcdef", 4), "abcdef");
}

}  // namespace
