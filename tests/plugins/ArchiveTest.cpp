#include "PluginTestSupport.h"
#include "app/Globals.h"
#include "plugins/SpiFunc.h"

using namespace plugin_testing;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

const char kSeparator[] = "----------------------------------------";

class ArchiveTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    LoadBuilt({"tarc", "tbare"});
    AppDir = app_.Path();
    ::CreateDirectoryA(Temp().c_str(), nullptr);
  }
  std::string Temp() const { return app_ / "temp"; }
  std::string Archive(const std::string& bytes) {
    WriteFileBytes(app_ / "a.tarc", bytes);
    return app_ / "a.tarc";
  }
  std::string ListOf(const std::vector<Member>& members, bool terminated = true) {
    const std::string path = Archive(ArchiveFile(members, terminated));
    PluginGetArchiveInfo(0, path);
    return path;
  }

  TempDir app_;
};

std::vector<Member> Numbered(int count, const std::string& method = "-lh5-") {
  std::vector<Member> members;
  for (int i = 0; i < count; ++i) members.push_back({"m" + std::to_string(i) + ".tpic", "bytes", method});
  return members;
}

TEST_F(ArchiveTest, ListsEveryMemberWithEightLinesEach) {
  ListOf(Numbered(10));
  ASSERT_EQ(ArchiveEntryCount, 10);
  const auto log = Log();
  ASSERT_EQ(log.size(), 2u + 10 * 8);
  EXPECT_EQ(log[0], kSeparator);
  EXPECT_EQ(log[1], "GetArchiveInfo結果 : 0");
  const uint32_t position = 8 + 11 * 428;
  const std::vector<std::string> first = {"-------------",
                                          "圧縮法の種類       : -lh5-",
                                          "ファイル上での位置 : " + std::to_string(position),
                                          "圧縮されたサイズ   : 3",
                                          "元のファイルサイズ : 5",
                                          "ファイルの更新日時 : 1000",
                                          "相対パス           : dir",
                                          "ファイルネーム     : m0.tpic"};
  EXPECT_EQ(std::vector<std::string>(log.begin() + 2, log.begin() + 10), first);
  EXPECT_EQ(log[2 + 9 * 8 + 7], "ファイルネーム     : m9.tpic");
  EXPECT_EQ(ArchiveEntries[0].position, position);
  EXPECT_EQ(ArchiveEntries[9].name, "m9.tpic");
}

TEST_F(ArchiveTest, TheListEndsAtAChangeOfMethodAtTheTerminatorAtTheBlocksEndOrAt4096) {
  struct Case {
    const char* what;
    std::vector<Member> members;
    bool terminated;
    int32_t count;
  };
  std::vector<Member> mixed = Numbered(4);
  mixed[2].method = "-lh6-";
  std::vector<Member> caseOnly = Numbered(2);
  caseOnly[1].method = "-LH5-";
  const Case cases[] = {{"method changes at the third", mixed, true, 2},
                        {"method differs only in case", caseOnly, true, 1},
                        {"first record terminates", {}, true, 0},
                        {"no terminating record", Numbered(3), false, 3},
                        {"5000 members", Numbered(5000), true, 4096}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearLog();
    ListOf(c.members, c.terminated);
    EXPECT_EQ(ArchiveEntryCount, c.count);
    EXPECT_EQ(Log().size(), 2u + 8 * c.count);
  }
  EXPECT_EQ(ArchiveEntries[4095].name, "m4095.tpic");
}

TEST_F(ArchiveTest, FullWidthTextsWithoutNulAreTakenAtTheirWidth) {
  const std::string name(200, 'n');
  std::string list = ArchiveRecord("12345678", 99, name, std::string(200, 'p'));
  list += ArchiveRecord("12345678", 98, "second");
  list += std::string(100, '\0');  // a short, cut-off last record
  PluginGetArchiveInfo(0, Archive(ArchiveWithList(list)));
  ASSERT_EQ(ArchiveEntryCount, 2);
  EXPECT_EQ(ArchiveEntries[0].name, name);
  EXPECT_EQ(Log()[3], "圧縮法の種類       : 12345678");
  EXPECT_EQ(Log()[8], "相対パス           : " + std::string(200, 'p'));
  EXPECT_EQ(ArchiveEntries[1].position, 98u);
}

TEST_F(ArchiveTest, AFailedListingLeavesAnEmptyTable) {
  struct Case {
    const char* what;
    int32_t result;
    TestHandleKind handles;
    std::string list;
    size_t lines;
  };
  const Case cases[] = {{"no list", -1, kProperHandles, "", 2},
                        {"unlockable list", 0, kUnlockableHandles, "", 2},
                        {"error code without handle", 5, kNullHandles, "", 2},
                        {"block shorter than a record", 0, kProperHandles, "-lh5-", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ListOf(Numbered(3));
    ASSERT_EQ(ArchiveEntryCount, 3);
    ClearLog();
    Control(0).fileModeResult = c.result;
    Control(0).handleKind = c.handles;
    PluginGetArchiveInfo(0, Archive(ArchiveWithList(c.list)));
    EXPECT_EQ(ArchiveEntryCount, 0);
    EXPECT_EQ(Log().size(), c.lines);
    EXPECT_EQ(Log()[1], "GetArchiveInfo結果 : " + std::to_string(c.result));
    Control(0).fileModeResult = 0;
    Control(0).handleKind = kProperHandles;
  }
  // An error code with a usable list is still listed.
  Control(0).fileModeResult = 5;
  ListOf(Numbered(3));
  EXPECT_EQ(ArchiveEntryCount, 3);
}

TEST_F(ArchiveTest, WithoutGetArchiveInfoNothingIsLoggedAndACrashGoesToTheCaller) {
  ListOf(Numbered(3));
  ClearLog();
  for (const int row : {1, 2, -1}) {
    PluginGetArchiveInfo(row, Archive(ArchiveFile(Numbered(2))));
    EXPECT_EQ(ArchiveEntryCount, 3) << "the previous listing stays";
  }
  EXPECT_EQ(ArchiveEntries[2].name, "m2.tpic");
  EXPECT_TRUE(Log().empty());
  Control(0).faultPlaces = kInArchiveInfo;
  Control(0).faultKind = kAccessViolation;
  EXPECT_THROW(ListOf(Numbered(2)), PluginFault);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(ArchiveEntryCount, 0);
}

class ExtractionTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    archive_ = ListOf({{"one.tpic", std::string("first\0member", 12)}, {"表.tpic", "second"}});
    ClearLog();
  }
  std::vector<std::string> Outcome(const char* status, const std::string& name) const {
    return {kSeparator, std::string("GetFile結果 : ") + status, "ファイル名  : " + name};
  }
  std::string archive_;
};

TEST_F(ExtractionTest, AMemberComesThroughMemoryIntoTheTempFolder) {
  ASSERT_EQ(PluginGetFile(0, archive_, 0), 0);
  EXPECT_EQ(ExtractedFilePath, Temp() + "\\one.tpic");
  EXPECT_EQ(ReadFileBytes(ExtractedFilePath), std::string("first\0member", 12));
  EXPECT_EQ(Control(0).getFileFlag, 256u);
  EXPECT_EQ(Control(0).getFileCalls, 1u);
  EXPECT_EQ(Control(0).progressCalls, 1u);
  EXPECT_EQ(Log(), Outcome("成功", "one.tpic"));
  // The second byte of 表 is a backslash byte, not a folder separator.
  ASSERT_EQ(PluginGetFile(0, archive_, 1), 0);
  EXPECT_EQ(ReadFileBytes(Temp() + "\\表.tpic"), "second");
}

TEST_F(ExtractionTest, AFailureInMemoryFallsBackToTheTempFolder) {
  Control(0).toMemoryResult = 3;
  ASSERT_EQ(PluginGetFile(0, archive_, 0), 0);
  EXPECT_EQ(Control(0).getFileFlag, 0u);
  EXPECT_EQ(std::string(Control(0).getFileDestination), Temp());
  EXPECT_EQ(ExtractedFilePath, Temp() + "\\one.tpic");
  EXPECT_EQ(ReadFileBytes(ExtractedFilePath), std::string("first\0member", 12));
}

TEST_F(ExtractionTest, OnlyACrashInTheFolderLeadsToTheEmptyDestination) {
  const std::string elsewhere = app_ / "current";
  ::CreateDirectoryA(elsewhere.c_str(), nullptr);
  char saved[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, saved);
  ::SetCurrentDirectoryA(Temp().c_str());
  Control(0).faultKind = kAccessViolation;
  Control(0).faultPlaces = kInGetFileToMemory | kInGetFileToFolder;
  EXPECT_EQ(PluginGetFile(0, archive_, 0), 0);
  EXPECT_EQ(Control(0).getFileCalls, 3u);
  EXPECT_EQ(std::string(Control(0).getFileDestination), "");
  EXPECT_TRUE(FileExists(Temp() + "\\one.tpic"));
  ::SetCurrentDirectoryA(saved);

  Control(0).faultPlaces = 0;
  Control(0).toMemoryResult = 3;
  Control(0).toFolderResult = 6;
  EXPECT_EQ(PluginGetFile(0, archive_, 1), 6);
  EXPECT_EQ(Control(0).getFileCalls, 5u);
}

TEST_F(ExtractionTest, FailingEveryWayKeepsThePreviousExtractedPath) {
  ASSERT_EQ(PluginGetFile(0, archive_, 0), 0);
  ClearLog();
  Control(0).faultKind = kRaisedException;
  Control(0).faultPlaces = kInGetFileToMemory | kInGetFileToFolder | kInGetFileToEmptyDestination;
  EXPECT_EQ(PluginGetFile(0, archive_, 1), -1);
  EXPECT_EQ(ExtractedFilePath, Temp() + "\\one.tpic");
  EXPECT_EQ(Log(), Outcome("失敗", "表.tpic"));
  EXPECT_EQ(PluginGetFile(1, archive_, 0), -1);
  EXPECT_EQ(Log().size(), 3u);
}

TEST_F(ExtractionTest, AMemberThatCannotBeWrittenIsNotReportedAsExtracted) {
  ::CreateDirectoryA((Temp() + "\\one.tpic").c_str(), nullptr);  // in the way of the file
  EXPECT_NE(PluginGetFile(0, archive_, 0), 0);
  EXPECT_EQ(Control(0).getFileCalls, 2u);  // memory, then the folder
  EXPECT_EQ(ExtractedFilePath, "");
  EXPECT_EQ(Log()[1], "GetFile結果 : 失敗");
}

TEST_F(ExtractionTest, AMemberNameWithAFolderPartIsNeverWrittenAnywhere) {
  const std::vector<std::string> names = {"..\\escaped.tpic", "sub\\x.tpic", "../up.tpic", "C:x.tpic",
                                          "..", ". .", "", "CON", "nul.txt", "LPT1"};
  std::vector<Member> members;
  for (const auto& name : names) members.push_back({name, "evil"});
  const std::string archive = ListOf(members);
  ASSERT_EQ(ArchiveEntryCount, static_cast<int32_t>(names.size()));
  ClearLog();
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(PluginGetFile(0, archive, static_cast<int>(i)), -1);
  }
  EXPECT_EQ(PluginGetFile(0, archive, 4096), -1);
  EXPECT_EQ(PluginGetFile(0, archive, -1), -1);
  EXPECT_EQ(Control(0).getFileCalls, 0u);
  EXPECT_FALSE(FileExists(app_ / "escaped.tpic"));
  EXPECT_FALSE(FileExists(app_ / "up.tpic"));
  EXPECT_EQ(Log().size(), 3 * (names.size() + 2));
  EXPECT_EQ(Log()[2], "ファイル名  : ..\\escaped.tpic");
  EXPECT_EQ(ExtractedFilePath, "");
}

}  // namespace
