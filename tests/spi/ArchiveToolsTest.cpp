// Archives made by Debian's own archivers, as users' archives are made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ArchiveFixtures.h"

using namespace spi;
using namespace spi_testing;

namespace {

class ArchiveToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder();
    std::filesystem::create_directories(folder_ / "in" / "sub");
    std::ofstream(folder_ / "in" / "a.png", std::ios::binary) << std::string(4000, 'a');
    std::ofstream(folder_ / "in" / "sub" / "b.gif", std::ios::binary) << "bee";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Make(const std::string& command, const std::string& archive) {
    const std::string line = "cd '" + (folder_ / "in").string() + "' && " + command + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(line.c_str()), 0) << command;
    std::ifstream in(folder_ / archive, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path folder_;
};

TEST_F(ArchiveToolsTest, ArchivesOfDebiansToolsListAndExtract) {
  struct Case {
    const char* command;
    const char* archive;
    const char* method;
  };
  const Case cases[] = {
      {"zip -q -r -n .gif ../t.zip a.png sub", "t.zip", "ZIP"},  // a.png deflated, b.gif stored
      {"zip -q -r -fz ../t64.zip a.png sub", "t64.zip", "ZIP"},  // ZIP64 records
      {"7z a -ms=on -m0=lzma2 ../t.7z a.png sub", "t.7z", "7z"},
      {"7z a -m0=lzma ../t1.7z a.png sub", "t1.7z", "7z"},
      {"tar -cJf ../t.txz a.png sub", "t.txz", "tar.xz"},
      {"gcab -c -z ../t.cab a.png sub/b.gif", "t.cab", "CAB"},
      {"genisoimage -quiet -J -o ../t.iso .", "t.iso", "ISO9660"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    const std::string archive = Make(c.command, c.archive);
    ArchiveListing listing;
    ASSERT_EQ(List(archive, listing), kSpiOk);
    EXPECT_EQ(listing.method, c.method);
    ASSERT_EQ(listing.members.size(), 2u);
    for (const ArchiveMember& member : listing.members) {
      std::string bytes;
      ASSERT_EQ(ExtractFromMemory(archive, member.number, bytes), kSpiOk);
      if (member.name.name == "a.png") {
        EXPECT_EQ(bytes, std::string(4000, 'a'));
        EXPECT_EQ(member.name.folder, "");
      } else {
        EXPECT_EQ(member.name.name, "b.gif");
        EXPECT_EQ(member.name.folder, "sub\\");
        EXPECT_EQ(bytes, "bee");
      }
    }
  }
}

}  // namespace
