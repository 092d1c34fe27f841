// axpixolet.spi as a host sees it: archives listed and members extracted
// through our own host, then shown by ifpixolet.spi; and the parts of the
// interface that our host does not use, called directly.
#include <cstring>

#include "ArchiveFixtures.h"
#include "OwnPlugins.h"
#include "PictureFixtures.h"
#include "PluginTestSupport.h"
#include "app/Globals.h"
#include "plugins/SpiFunc.h"
#include "spi/common/SpiTypes.h"
#include "ui/Bitmap.h"

using namespace plugin_testing;
using namespace spi_testing;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

using GetArchiveInfoFunction = int(__stdcall*)(const char*, long, unsigned, HLOCAL*);
using GetFileInfoFunction = int(__stdcall*)(const char*, long, const char*, unsigned, spi::ArchiveFileInfo*);
using GetFileFunction = int(__stdcall*)(const char*, long, char*, unsigned, spi::SpiProgressCallback, long);

class ArchivePluginTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    LoadPlugins(SusieFolder());
    archiveRow_ = RowOf("axpixolet.spi");
    pictureRow_ = RowOf("ifpixolet.spi");
    ASSERT_GE(archiveRow_, 0);
    ASSERT_GE(pictureRow_, 0);
    for (int row = 0; row < PluginCount; ++row) LogPluginInfo(row);
    ClearLog();
    AppDir = app_.Path();
    ::CreateDirectoryA((app_ / "temp").c_str(), nullptr);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    WriteFileBytes(app_ / name, bytes);
    return app_ / name;
  }
  template <typename Function>
  Function Export(const char* name) {
    return spi_testing::Export<Function>(archiveRow_, name);
  }

  int archiveRow_ = -1;
  int pictureRow_ = -1;
  TempDir app_;
};

const std::string kPng = EncodePng(Gradient(6, 4));
const std::string kGif = EncodeGif(3, 2, {{0, 0, 0}, {255, 255, 255}}, {GifFrame{0, 0, 3, 2, {0, 1, 0, 1, 0, 1}}});

// Shift-JIS names as DOS-era tools stored them, "表" ending in byte 0x5C.
const std::string kSjisPng = "\x95\x5c\x8e\xa6.png";                          // 表示.png
const std::string kSjisGif = "\x89\xe6\x91\x9c\\\x83\x5c\x83\x74\x83\x67.gif";  // 画像\ソフト.gif

TEST_F(ArchivePluginTest, TheHostTakesItForAnArchivePlugin) {
  EXPECT_TRUE(PluginTable[archiveRow_].isArchive);
  bool isArchive = false;
  EXPECT_EQ(PluginIsSupported(archiveRow_, Write("a.zip", HandMadeZip({{"a.png", kPng}})), isArchive), 1);
  EXPECT_TRUE(isArchive);
  EXPECT_EQ(PluginIsSupported(archiveRow_, Write("p.png", kPng), isArchive), 0);
}

TEST_F(ArchivePluginTest, ZipAnd7zMembersAreListedInShiftJisExtractedAndShown) {
  const std::string archives[] = {
      HandMadeZip({{kSjisPng, kPng, true}, {"folder/", ""}, {kSjisGif, kGif}}),  // stored and deflated
      WriteArchive("7zip", "", {{L"表示.png", kPng}, {L"画像/", ""}, {L"画像/ソフト.gif", kGif}}),
  };
  for (const std::string& archive : archives) {
    const std::string path = Write("pictures.arc", archive);
    PluginGetArchiveInfo(archiveRow_, path);
    ASSERT_EQ(ArchiveEntryCount, 2);
    EXPECT_EQ(ArchiveEntries[0].name, "表示.png");
    EXPECT_EQ(ArchiveEntries[1].name, "ソフト.gif");
    const std::string pictures[] = {kPng, kGif};
    for (int entry = 0; entry < 2; ++entry) {
      ASSERT_EQ(PluginGetFile(archiveRow_, path, entry), 0);
      EXPECT_EQ(ExtractedFilePath, app_ / ("temp\\" + ArchiveEntries[entry].name));
      EXPECT_EQ(ReadFileBytes(ExtractedFilePath), pictures[entry]);
      ui::Bitmap bitmap;
      bitmap.SetPixelFormat(ui::PixelFormat::Bits24);
      EXPECT_EQ(PluginGetPicture(pictureRow_, ExtractedFilePath, bitmap), 0);
      EXPECT_EQ(bitmap.Width(), entry == 0 ? 6 : 3);
    }
  }
}

TEST_F(ArchivePluginTest, DiskOutputWritesTheBareNameIntoTheFolderGiven) {
  const std::string path = Write("a.zip", HandMadeZip({{"../../outside/evil.png", "evil"}}));
  TempDir target;
  std::string folder = target.Path();
  ASSERT_EQ(Export<GetFileFunction>("GetFile")(path.c_str(), 0, folder.data(), 0, nullptr, 0), 0);
  EXPECT_EQ(ReadFileBytes(target / "evil.png"), "evil");
  EXPECT_FALSE(FileExists(app_ / "outside\\evil.png"));
}

int __stdcall Stop(int, int, long) { return 1; }

TEST_F(ArchivePluginTest, RefusalsAnswerTheirCodesAndLeaveNothing) {
  const std::string path = Write("a.zip", HandMadeZip({{"a.png", kPng}, {"s.png", "x", true, -1, true}}));
  const auto getFile = Export<GetFileFunction>("GetFile");
  std::string folder = (app_ / "temp");
  struct Case {
    const char* what;
    long position;
    unsigned flag;
    spi::SpiProgressCallback progress;
    int result;
  };
  const Case cases[] = {
      {"stopped by the host", 0, 0, Stop, 1},
      {"stopped, to memory", 0, 0x100, Stop, 1},
      {"encrypted", 1, 0, nullptr, 2},
      {"no such member", 7, 0, nullptr, 3},
      {"from memory", 0, 1, nullptr, -1},
  };
  for (const Case& c : cases) {
    HLOCAL block = nullptr;
    char* destination = (c.flag & 0x100) ? reinterpret_cast<char*>(&block) : folder.data();
    EXPECT_EQ(getFile(path.c_str(), c.position, destination, c.flag, c.progress, 0), c.result) << c.what;
    EXPECT_EQ(block, nullptr) << c.what;
  }
  EXPECT_FALSE(FileExists(app_ / "temp\\a.png"));
  EXPECT_FALSE(FileExists(app_ / "temp\\s.png"));
  HLOCAL list = reinterpret_cast<HLOCAL>(1);
  EXPECT_EQ(Export<GetArchiveInfoFunction>("GetArchiveInfo")(Write("n.zip", "no archive").c_str(), 0, 0, &list), 2);
  EXPECT_EQ(list, nullptr);
}

TEST_F(ArchivePluginTest, FileInfoAndListingFromMemory) {
  const std::string zip = HandMadeZip({{"a.png", "aa"}, {"Sub/B.gif", "bbb"}});
  const std::string path = Write("a.zip", zip);
  const auto getFileInfo = Export<GetFileInfoFunction>("GetFileInfo");
  spi::ArchiveFileInfo info{};
  ASSERT_EQ(getFileInfo(path.c_str(), 0, "Sub\\B.gif", 0, &info), 0);
  EXPECT_STREQ(info.fileName, "B.gif");
  EXPECT_STREQ(info.path, "Sub\\");
  EXPECT_EQ(info.originalSize, 3u);
  EXPECT_EQ(getFileInfo(path.c_str(), 0, "sub\\b.GIF", 0, &info), 3);
  EXPECT_EQ(getFileInfo(path.c_str(), 0, "sub\\b.GIF", 0x80, &info), 0);

  HLOCAL list = nullptr;
  ASSERT_EQ(Export<GetArchiveInfoFunction>("GetArchiveInfo")(zip.data(), static_cast<long>(zip.size()), 1, &list), 0);
  const auto* records = static_cast<const spi::ArchiveFileInfo*>(::LocalLock(list));
  EXPECT_STREQ(reinterpret_cast<const char*>(records[0].method), "ZIP");
  EXPECT_STREQ(records[1].fileName, "B.gif");
  EXPECT_EQ(records[2].method[0], 0);  // the end
  EXPECT_EQ(::LocalSize(list), 3 * sizeof(spi::ArchiveFileInfo));
  ::LocalUnlock(list);
  ::LocalFree(list);
}

}  // namespace
