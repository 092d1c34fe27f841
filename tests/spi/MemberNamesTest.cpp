#include <gtest/gtest.h>

#include "spi/axpixolet/MemberNames.h"

using namespace spi;

namespace {

// Literals are Shift-JIS bytes in this build; wide literals are the archive's Unicode.
TEST(MemberNames, PathsSplitIntoFolderAndNameInShiftJis) {
  struct Case {
    std::wstring path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {L"a.png", "", "a.png"},
      {L"sub/dir/a.png", "sub\\dir\\", "a.png"},
      {L"sub\\a.png", "sub\\", "a.png"},
      {L"/abs//./../x/a.png", "abs\\x\\", "a.png"},  // never a way out of a folder
      {L"日本語/表示.png", "日本語\\", "表示.png"},  // 表 ends in byte 0x5C
      {L"a:b*c?.png", "", "a_b_c_~7.png"},
      {L"CON.png", "", "CON~7.png"},
      {L"com1", "", "com1~7"},
      {L"console.png", "", "console.png"},
      {L"한국어.jpg", "", "___~7.jpg"},
      {L"caf\u00E9.png", "", "caf_~7.png"},
  };
  for (const Case& c : cases) {
    const auto member = ShiftJisName(c.path, 7);
    ASSERT_TRUE(member.has_value());
    EXPECT_EQ(member->folder, c.folder);
    EXPECT_EQ(member->name, c.name);
  }
  for (const std::wstring path : {L"", L"folder/", L"a/..", L"./", L"a/."}) EXPECT_FALSE(ShiftJisName(path, 1)) << path.size();
}

TEST(MemberNames, LongNamesAreCutAtACharacterBoundaryKeepingTheExtension) {
  std::wstring longName(150, L'表');
  const auto member = ShiftJisName(longName + L".jpeg", 12345);
  ASSERT_TRUE(member.has_value());
  const std::string& name = member->name;
  EXPECT_LE(name.size(), kMaxNameBytes);
  EXPECT_EQ(name.substr(name.size() - 11), "~12345.jpeg");
  EXPECT_EQ((name.size() - 11) % 2, 0u);  // whole double-byte characters only
  EXPECT_EQ(name.substr(0, 2), "表");

  std::wstring deep;
  for (int i = 0; i < 30; ++i) deep += L"folder" + std::to_wstring(i) + L"/";
  const auto nested = ShiftJisName(deep + L"a.png", 1);
  ASSERT_TRUE(nested.has_value());
  EXPECT_LE(nested->folder.size(), kMaxNameBytes);
  EXPECT_EQ(nested->folder.substr(nested->folder.size() - 9), "folder29\\");
}

}  // namespace
