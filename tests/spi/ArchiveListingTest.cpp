#include <gtest/gtest.h>

#include "ArchiveFixtures.h"

using namespace spi;
using namespace spi_testing;

namespace {

const std::vector<Entry> kTree = {
    {L"top.png", "top bytes"},
    {L"sub/", ""},
    {L"sub/inner.gif", std::string(5000, 'g')},
    {L"sub/deeper/last.jpg", "last"},
};

// Source files are UTF-8; plain literals become Shift-JIS in this build, u8 ones stay UTF-8.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Expected {
  const char* folder;
  const char* name;
  std::string bytes;
};

void ExpectListing(const std::string& archive, const char* method, const std::vector<Expected>& expected) {
  ArchiveListing listing;
  ASSERT_EQ(List(archive, listing), kSpiOk);
  EXPECT_EQ(listing.method, method);
  ASSERT_EQ(listing.members.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const ArchiveMember& member = listing.members[i];
    SCOPED_TRACE(expected[i].name);
    if (i > 0) {
      EXPECT_GT(member.number, listing.members[i - 1].number);
    }
    EXPECT_EQ(member.name.folder, expected[i].folder);
    EXPECT_EQ(member.name.name, expected[i].name);
    EXPECT_EQ(member.size, expected[i].bytes.size());
    std::string bytes;
    ASSERT_EQ(ExtractFromMemory(archive, member.number, bytes), kSpiOk);
    EXPECT_EQ(bytes, expected[i].bytes);
  }
}

TEST(ArchiveListing, EachFormatListsItsFilesWithFoldersApartAndExtractsThem) {
  const std::vector<Expected> tree = {{"", "top.png", "top bytes"},
                                      {"sub\\", "inner.gif", std::string(5000, 'g')},
                                      {"sub\\deeper\\", "last.jpg", "last"}};
  struct Case {
    const char* format;
    const char* filter;
    const char* method;
  };
  const Case cases[] = {
      {"zip", "", "ZIP"},        {"7zip", "", "7z"},           {"ustar", "", "tar"},
      {"ustar", "gzip", "tar.gz"}, {"ustar", "bzip2", "tar.bz2"}, {"ustar", "xz", "tar.xz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.filter);
    ExpectListing(WriteArchive(c.format, c.filter, kTree), c.method, tree);
  }
}

TEST(ArchiveListing, RarArchivesOfBothVersionsListAndExtract) {
  ArchiveListing listing;
  const std::string rar4 = RarSample("rar_compress_normal");
  ASSERT_EQ(List(rar4, listing), kSpiOk);
  EXPECT_EQ(listing.method, "RAR");
  ASSERT_EQ(listing.members.size(), 3u);  // a symbolic link and two folders left out
  const std::pair<const char*, size_t> rar4Members[] = {{"LibarchiveAddingTest.html", 20111}, {"test.txt", 20},
                                                        {"LibarchiveAddingTest.html", 20111}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(listing.members[i].name.name, rar4Members[i].first);
    std::string bytes;
    ASSERT_EQ(ExtractFromMemory(rar4, listing.members[i].number, bytes), kSpiOk);
    EXPECT_EQ(bytes.size(), rar4Members[i].second);
  }
  EXPECT_EQ(listing.members[1].name.folder, "testdir\\");
  std::string text;
  ASSERT_EQ(ExtractFromMemory(rar4, listing.members[1].number, text), kSpiOk);
  EXPECT_EQ(text, "test text document\r\n");

  const std::string rar5 = RarSample("rar5_multiple_files_solid");
  ASSERT_EQ(List(rar5, listing), kSpiOk);
  EXPECT_EQ(listing.method, "RAR5");
  ASSERT_EQ(listing.members.size(), 4u);
  for (const ArchiveMember& member : listing.members) {
    std::string bytes;
    ASSERT_EQ(ExtractFromMemory(rar5, member.number, bytes), kSpiOk);
    EXPECT_EQ(bytes.size(), 4096u);
  }

  const std::string encrypted = RarSample("rar_encryption_data");
  ASSERT_EQ(List(encrypted, listing), kSpiOk);
  ASSERT_FALSE(listing.members.empty());
  EXPECT_TRUE(listing.members[0].encrypted);
  std::string bytes;
  EXPECT_EQ(ExtractFromMemory(encrypted, listing.members[0].number, bytes), kSpiUnknownFormat);
}

TEST(ArchiveListing, OneMethodForEveryMemberOfAZipThatMixesStoredAndDeflated) {
  const std::string zip = HandMadeZip({{"a.png", "stored", true}, {"b.png", std::string(3000, 'b')},
                                       {"c.png", "stored too", true}});
  ExpectListing(zip, "ZIP",
                {{"", "a.png", "stored"}, {"", "b.png", std::string(3000, 'b')}, {"", "c.png", "stored too"}});
}

TEST(ArchiveListing, NamesComeOutInShiftJisWhateverTheArchiveStored) {
  const std::vector<Entry> japanese = {{L"日本語/表示.png", "p"}};
  const std::string shiftJisName = "\x93\xfa\x96\x7b\x8c\xea\\\x95\x5c\x8e\xa6.png";  // as DOS tools wrote it
  const std::string archives[] = {
      HandMadeZip({{Utf8(u8"日本語/表示.png"), "p", true, -1, false, true}}),  // flagged UTF-8
      HandMadeZip({{shiftJisName, "p", true}}),  // unflagged Shift-JIS
      WriteArchive("7zip", "", japanese),  // UTF-16
      HandMadeLha({{shiftJisName, "p"}}),
      WriteArchive("pax", "", japanese),  // UTF-8 in pax headers
      WriteArchive("zip", "", japanese, "zip:hdrcharset=CP932"),
  };
  for (const std::string& archive : archives) {
    SCOPED_TRACE(archive.substr(0, 4));
    ArchiveListing listing;
    ASSERT_EQ(List(archive, listing), kSpiOk) << listing.method;
    ASSERT_EQ(listing.members.size(), 1u) << listing.method;
    EXPECT_EQ(listing.members[0].name.folder, "日本語\\") << listing.method;
    EXPECT_EQ(listing.members[0].name.name, "表示.png") << listing.method;
  }
}

TEST(ArchiveListing, NamesWithoutAShiftJisFormStayDistinctAndExtractable) {
  const std::string zip = HandMadeZip({{Utf8(u8"한.png"), "first", true, -1, false, true},
                                       {Utf8(u8"국.png"), "second", true, -1, false, true}});
  ArchiveListing listing;
  ASSERT_EQ(List(zip, listing), kSpiOk);
  ASSERT_EQ(listing.members.size(), 2u);
  EXPECT_NE(listing.members[0].name.name, listing.members[1].name.name);
  std::string bytes;
  ASSERT_EQ(ExtractFromMemory(zip, listing.members[1].number, bytes), kSpiOk);
  EXPECT_EQ(bytes, "second");
}

TEST(ArchiveListing, SizesThatLieAndEncryptedMembersAreRefused) {
  const std::string bomb(1 << 20, 'z');  // deflates to about a kilobyte
  const std::string zip = HandMadeZip({{"ok.png", "fine"},
                                       {"bomb.png", bomb, false, 100},
                                       {"secret.png", "hidden", true, -1, true},
                                       {"huge.png", "x", true, kMaxMemberBytes + 1}});
  ArchiveListing listing;
  ASSERT_EQ(List(zip, listing), kSpiOk);
  ASSERT_EQ(listing.members.size(), 4u);
  EXPECT_TRUE(listing.members[2].encrypted);
  struct Case {
    uint32_t number;
    SpiResult result;
  };
  for (const Case& c : {Case{0, kSpiOk}, Case{1, kSpiBrokenData}, Case{2, kSpiUnknownFormat}, Case{3, kSpiNoMemory}}) {
    std::string bytes;
    EXPECT_EQ(ExtractFromMemory(zip, c.number, bytes), c.result) << c.number;
  }
}

TEST(ArchiveListing, DamagedArchivesListWhatCanBeReadAndNothingElse) {
  const std::string tar = WriteArchive("ustar", "", {{L"a.png", std::string(2000, 'a')}, {L"b.png", "b"}});
  ArchiveListing listing;
  EXPECT_EQ(List(tar.substr(0, 1024), listing), kSpiOk);  // cut inside the second member's header
  EXPECT_EQ(listing.members.size(), 1u);
  EXPECT_EQ(List("PK\x03\x04 not really a zip", listing), kSpiBrokenData);
  EXPECT_EQ(List("plain text, no archive at all", listing), kSpiUnknownFormat);
  std::string bytes;
  EXPECT_EQ(ExtractFromMemory(tar, 5, bytes), kSpiBrokenData);  // no such member
  EXPECT_EQ(ExtractFromMemory(WriteArchive("zip", "", kTree), 1, bytes), kSpiBrokenData);  // a folder
}

}  // namespace
