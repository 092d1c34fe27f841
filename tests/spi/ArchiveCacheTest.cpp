#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ArchiveFixtures.h"
#include "spi/axpixolet/ArchiveCache.h"

using namespace spi;
using namespace spi_testing;

namespace {

class ArchiveCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder();
    path_ = (folder_ / "pictures.7z").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void Write(const std::vector<Entry>& entries) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << WriteArchive("7zip", "", entries);
  }
  std::string Extract(uint32_t number, const Progress& progress = {}) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(cache_.Extract(path_, number, progress, bytes), kSpiOk) << number;
    return std::string(bytes.begin(), bytes.end());
  }

  std::filesystem::path folder_;
  std::string path_;
  ArchiveCache cache_;
};

std::vector<Entry> Members(const std::string& tag, int count) {
  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i) entries.push_back({L"p" + std::to_wstring(i) + L".png", tag + std::to_string(i)});
  return entries;
}

TEST_F(ArchiveCacheTest, MembersComeOutRightInAnyOrder) {
  const auto members = Members("x", 6);
  Write(members);
  for (const uint32_t number : {0u, 1u, 2u, 5u, 3u, 3u, 0u, 4u}) EXPECT_EQ(Extract(number), members[number].bytes);
}

TEST_F(ArchiveCacheTest, AChangedArchiveIsReadAgain) {
  Write(Members("old", 3));
  std::shared_ptr<const ArchiveListing> listing;
  ASSERT_EQ(cache_.List(path_, 0, listing), kSpiOk);
  EXPECT_EQ(listing->members.size(), 3u);
  EXPECT_EQ(Extract(0), "old0");
  Write(Members("newer", 4));
  // The time stamp may not have moved within the same second; the size has.
  ASSERT_EQ(cache_.List(path_, 0, listing), kSpiOk);
  EXPECT_EQ(listing->members.size(), 4u);
  EXPECT_EQ(Extract(1), "newer1");
  std::filesystem::remove(path_);
  EXPECT_EQ(cache_.List(path_, 0, listing), kSpiReadError);
}

TEST_F(ArchiveCacheTest, AStoppedExtractionLeavesNothingBehindThatSpoilsTheNext) {
  Write(Members("m", 3));
  std::vector<uint8_t> bytes;
  const Progress stop = [](int32_t, int32_t) { return false; };
  EXPECT_EQ(cache_.Extract(path_, 1, stop, bytes), kSpiCancelled);
  EXPECT_EQ(Extract(1), "m1");
  EXPECT_EQ(Extract(2), "m2");
}

}  // namespace
