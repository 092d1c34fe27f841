#include "PluginTestSupport.h"
#include "app/Globals.h"
#include "plugins/SpiFunc.h"
#include "ui/Bitmap.h"

using namespace plugin_testing;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

class PictureDecodingTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    LoadBuilt({"tpic", "tarc", "tbare"});
    WriteFileBytes(Path("a.tpic"), SmallPictureFile());
    bitmap_.SetPixelFormat(ui::PixelFormat::Bits24);
  }
  std::string Path(const std::string& name) const { return dir_ / name; }
  COLORREF Pixel(int x, int y) { return ::GetPixel(bitmap_.Dc(), x, y); }

  TempDir dir_;
  ui::Bitmap bitmap_;
};

const char kSeparator[] = "----------------------------------------";

TEST_F(PictureDecodingTest, SupportIsAnsweredAndLoggedAndOnlyExactlyOneCounts) {
  struct Case {
    int32_t answer;
    const char* verdict;
  };
  for (const Case& c : {Case{0, "あり（a.tpic）"}, Case{2, "なし（a.tpic）"}}) {
    ClearLog();
    Control(0).isSupportedAnswer = c.answer;
    bool isArchive = true;
    EXPECT_EQ(PluginIsSupported(0, Path("a.tpic"), isArchive), c.answer ? c.answer : 1);
    EXPECT_FALSE(isArchive);
    EXPECT_EQ(Log(), (std::vector<std::string>{kSeparator, "SPIファイル名 : tpic.spi",
                                               std::string("サポート有無  : ") + c.verdict}));
  }
  EXPECT_EQ(Control(0).isSupportedInMemory, 0u);
}

TEST_F(PictureDecodingTest, ARowThatIsNotAskedStillGivesItsArchiveFlag) {
  bool isArchive = false;
  EXPECT_EQ(PluginIsSupported(1, Path("a.tpic"), isArchive), 0);  // asked: not its magic
  EXPECT_TRUE(isArchive);
  ClearLog();
  for (const int row : {2, 3, -1, 256}) {
    isArchive = true;
    EXPECT_EQ(PluginIsSupported(row, Path("a.tpic"), isArchive), 0);
    EXPECT_FALSE(isArchive);
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(PictureDecodingTest, ACrashOnTheFileHandleIsRetriedWithTheBytesInAtLeast2048ZeroFilledBytes) {
  const std::string head = std::string(kPictureMagic, 4) + std::string(96, 'x');
  WriteFileBytes(Path("small.tpic"), head);
  ::SetFileAttributesA(Path("small.tpic").c_str(), FILE_ATTRIBUTE_READONLY);
  Control(0).faultPlaces = kInIsSupportedByHandle;
  Control(0).faultKind = kAccessViolation;
  bool isArchive = true;
  EXPECT_EQ(PluginIsSupported(0, Path("small.tpic"), isArchive), 1);
  EXPECT_EQ(Control(0).isSupportedByHandle, 1u);
  EXPECT_EQ(Control(0).isSupportedInMemory, 1u);
  const auto* seen = reinterpret_cast<const char*>(Control(0).isSupportedBuffer);
  EXPECT_EQ(std::string(seen, 100), head);
  EXPECT_EQ(std::string(seen + 100, 1948), std::string(1948, '\0'));
  EXPECT_EQ(Log().back(), "サポート有無  : あり（small.tpic）");
}

TEST_F(PictureDecodingTest, CrashingTwiceOrAnUnreadableFileAnswersZeroWithoutSupportLines) {
  Control(0).faultKind = kAccessViolation;
  bool isArchive = false;
  Control(0).faultPlaces = kInIsSupportedByHandle | kInIsSupportedInMemory;
  EXPECT_EQ(PluginIsSupported(0, Path("a.tpic"), isArchive), 0);
  Control(0).faultPlaces = kInIsSupportedByHandle;
  EXPECT_EQ(PluginIsSupported(0, Path("missing.tpic"), isArchive), 0);
  EXPECT_TRUE(Log().empty());
}

TEST_F(PictureDecodingTest, DecodesFromTheFileAndLogsTheHandles) {
  ASSERT_EQ(PluginGetPicture(0, Path("a.tpic"), bitmap_), 0);
  EXPECT_EQ(bitmap_.Width(), 2);
  EXPECT_EQ(bitmap_.Height(), 2);
  EXPECT_EQ(Pixel(0, 1), RGB(0, 0, 255));
  EXPECT_EQ(Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(Pixel(1, 0), RGB(255, 255, 255));
  EXPECT_EQ(Control(0).getPictureFlag, 0u);
  EXPECT_EQ(Control(0).getPictureCalls, 1u);
  EXPECT_EQ(Control(0).progressCalls, 1u);
  const auto log = Log();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0], kSeparator);
  EXPECT_EQ(log[1].rfind("BitmapDataハンドル : ", 0), 0u);
  EXPECT_GT(std::stoul(log[1].substr(21)), 0u);
  EXPECT_EQ(log[2].rfind("BITMAPINFO構造体   : ", 0), 0u);
  EXPECT_EQ(log[3], "GetPicture結果     : 成功");
  EXPECT_EQ(log[4], "ファイル名         : a.tpic");
}

TEST_F(PictureDecodingTest, AFailureFromTheFileIsRetriedFromMemoryWithTheWholeFile) {
  Control(0).fileModeResult = 2;
  ASSERT_EQ(PluginGetPicture(0, Path("a.tpic"), bitmap_), 0);
  EXPECT_EQ(Control(0).getPictureFlag, 1u);
  EXPECT_EQ(Control(0).getPictureLength, static_cast<int32_t>(SmallPictureFile().size()));
  EXPECT_EQ(Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(Log()[3], "GetPicture結果     : 成功");

  WriteFileBytes(Path("empty.tpic"), "");
  ::SetFileAttributesA(Path("empty.tpic").c_str(), FILE_ATTRIBUTE_READONLY);
  ClearLog();
  EXPECT_EQ(PluginGetPicture(0, Path("empty.tpic"), bitmap_), 2);
  EXPECT_EQ(Control(0).getPictureFlag, 1u);
  EXPECT_EQ(Control(0).getPictureLength, 0);
  EXPECT_EQ(Log(), (std::vector<std::string>{"GetPicture結果     : 失敗", "ファイル名         : empty.tpic"}));
  EXPECT_EQ(bitmap_.Width(), 2);  // left as it was
}

TEST_F(PictureDecodingTest, MissingExportsAnswerWithoutAskingOrLogging) {
  bool isArchive = true;
  EXPECT_EQ(PluginIsSupported(2, Path("a.tpic"), isArchive), 0);
  EXPECT_EQ(PluginGetPicture(2, Path("a.tpic"), bitmap_), -1);
  EXPECT_EQ(PluginGetPicture(7, Path("a.tpic"), bitmap_), -1);
  EXPECT_TRUE(Log().empty());
  EXPECT_TRUE(bitmap_.Empty());
}

TEST_F(PictureDecodingTest, ACrashOrAnUnreadableFileGoesToTheCallerWithoutResultLines) {
  Control(0).faultPlaces = kInGetPictureFromMemory;
  Control(0).faultKind = kIllegalInstruction;
  Control(0).fileModeResult = 2;
  EXPECT_THROW(PluginGetPicture(0, Path("a.tpic"), bitmap_), PluginFault);
  EXPECT_THROW(PluginGetPicture(0, Path("missing.tpic"), bitmap_), std::exception);
  EXPECT_TRUE(Log().empty());
  EXPECT_TRUE(bitmap_.Empty());
}

TEST_F(PictureDecodingTest, HandlesThatCannotBeLockedLeaveTheBitmapAlone) {
  for (const auto kind : {kUnlockableHandles, kNullHandles}) {
    Control(0).handleKind = kind;
    EXPECT_EQ(PluginGetPicture(0, Path("a.tpic"), bitmap_), 0);
    EXPECT_TRUE(bitmap_.Empty());
  }
}

}  // namespace
