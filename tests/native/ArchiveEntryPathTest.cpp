#include "core/ArchiveEntryPath.h"

#include <gtest/gtest.h>

using namespace archive_entry;

TEST(ArchiveEntryPath, FormatsAndReadsBackTheNumberAndTheArchivePath) {
  const std::string entry = Format(2, "z.gif", "D:\\pics\\a.lzh");
  EXPECT_EQ(entry, "Arc2[z.gif]D:\\pics\\a.lzh");
  EXPECT_TRUE(IsMemberEntry(entry));
  EXPECT_EQ(MemberNumber(entry), 2);
  EXPECT_EQ(ArchivePathCandidates(entry), std::vector<std::string>{"D:\\pics\\a.lzh"});
  EXPECT_EQ(MemberNumber(Format(4095, "x", "a")), 4095);
}

TEST(ArchiveEntryPath, OnlyTextsBeginningWithArcInThatCaseAreMembers) {
  EXPECT_FALSE(IsMemberEntry("arc0[x]y"));
  EXPECT_FALSE(IsMemberEntry("Ar"));
  EXPECT_FALSE(IsMemberEntry("C:\\Arc0[x]y"));
  EXPECT_TRUE(IsMemberEntry("Archive.zip"));
}

TEST(ArchiveEntryPath, AMemberNumberIsPlainDecimalDigitsBeforeTheFirstBracket) {
  struct Case {
    const char* entry;
    std::optional<int32_t> number;
  };
  const Case cases[] = {
      {"Arc0[x]a", 0},           {"Arc17[x]a", 17},        {"Archive.zip", std::nullopt},
      {"Arc[x]a", std::nullopt}, {"Arc-1[x]a", std::nullopt}, {"Arc+1[x]a", std::nullopt},
      {"Arc 1[x]a", std::nullopt}, {"Arc2147483647[x]a", 2147483647}, {"Arc2147483648[x]a", std::nullopt},
      {"Arc99999999999[x]a", std::nullopt}, {"Arc1x[x]a", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(MemberNumber(c.entry), c.number) << c.entry;
}

TEST(ArchiveEntryPath, EveryClosingBracketAfterTheNameGivesACandidateFirstOneFirst) {
  EXPECT_EQ(ArchivePathCandidates("Arc0[x].gif]D:\\set]2\\a.zip"),
            (std::vector<std::string>{".gif]D:\\set]2\\a.zip", "D:\\set]2\\a.zip", "2\\a.zip"}));
  EXPECT_TRUE(ArchivePathCandidates("Arc0[x.gif").empty());
  EXPECT_TRUE(ArchivePathCandidates("C:\\a.zip").empty());
  // 0x815D is one double-byte character whose trail byte is "]".
  EXPECT_EQ(ArchivePathCandidates("Arc0[\x81\x5D.gif]D:\\a.zip"), std::vector<std::string>{"D:\\a.zip"});
}
