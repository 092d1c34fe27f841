// The viewer's loading of list entries and its three intakes, with the test
// plug-ins in the program's plug-in folder and real BMP and JPEG files.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "PluginTestSupport.h"
#include "ProgramFixture.h"
#include "plugins/SpiFunc.h"

using namespace testing_support;
using namespace plugin_testing;

namespace {

// A bottom-up 24-bit BMP file of `width` x `height`, every pixel `bgr`.
std::string Bmp24(int width, int height, const std::string& bgr) {
  const int stride = (width * 3 + 3) & ~3;
  std::string row;
  for (int x = 0; x < width; ++x) row += bgr;
  row.resize(stride, '\0');
  std::string pixels;
  for (int y = 0; y < height; ++y) pixels += row;
  return BmpFile(InfoHeader(width, height, 24), pixels);
}

// A 1-bit BMP of 8 x 2 with a black-and-white palette.
std::string Bmp1() {
  const std::string palette("\0\0\0\0\xFF\xFF\xFF\0", 8);
  const std::string pixels("\xAA\0\0\0\x55\0\0\0", 8);
  return BmpFile(InfoHeader(8, 2, 1, 0, 2, palette), pixels);
}

class LoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CreateDirectoryA(program_.Path("susie").c_str(), nullptr);
    CopyPlugin("tpic", program_.Path("susie\\tpic.spi"));
    CopyPlugin("tarc", program_.Path("susie\\tarc.spi"));
    program_.Start();
    ASSERT_EQ(PluginCount, 2);
  }
  void TearDown() override { ArchiveEntryCount = 0; }

  TViewerForm& Viewer() { return *program_.viewer; }
  TControlForm& Control() { return *program_.control; }
  TestPluginControl& PluginControl(const std::string& fileName) {
    for (int row = 0; row < PluginCount; ++row) {
      if (PluginTable[row].fileName == fileName) return plugin_testing::Control(row);
    }
    throw std::runtime_error("no plug-in " + fileName);
  }

  std::string File(const std::string& name, const std::string& bytes) {
    WriteFileBytes(files_ / name, bytes);
    return files_ / name;
  }
  void Drop(const std::vector<std::string>& paths) { Viewer().WMDropFiles(MakeDrop(paths)); }

  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (int i = 0; i < Viewer().FNameListBox.Count(); ++i) entries.push_back(Viewer().FNameListBox.Item(i));
    return entries;
  }
  std::vector<std::string> Mirror() {
    std::vector<std::string> names;
    for (int i = 0; i < Control().FNameCmbBox.Count(); ++i) names.push_back(Control().FNameCmbBox.Item(i));
    return names;
  }
  bool ShowsErrorPicture() {
    const ui::Bitmap& shown = Viewer().SourceBitmap;
    return shown.Width() == 285 && shown.Height() == 149 && shown.Format() == ui::PixelFormat::Bits24;
  }
  // Files left in the program's temp folder.
  int TempFiles() {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(program_.Path("temp\\*").c_str(), &data);
    int count = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return count;
  }
  std::string ThreeMemberArchive(const std::string& name, const std::string& secondName = "y.tpic") {
    return File(name, ArchiveFile({{"x.tpic", SmallPictureFile()},
                                   {secondName, SmallPictureFile()},
                                   {"z.tpic", PictureFile(InfoHeader(3, 1, 24), std::string(12, '\x40'))}}));
  }

  ProgramFixture program_;
  TempDir files_;
};

TEST_F(LoadingTest, DroppedBmpAndJpegShowTheFirstNativelyAtItsOwnSize) {
  const std::string bmp = File("p.bmp", Bmp24(230, 20, "\x10\x20\x30"));
  const std::string jpeg = File("photo.JPG", ReadFileBytes(SamplePicture("01-sunset.jpg")));
  Drop({bmp, jpeg});
  EXPECT_EQ(Entries(), (std::vector<std::string>{bmp, jpeg}));
  EXPECT_EQ(Mirror(), (std::vector<std::string>{"p.bmp", "photo.JPG"}));
  EXPECT_EQ(Viewer().Caption(), "Pixolet [p.bmp : 1/2]");
  EXPECT_EQ(Control().Caption(), "ｺﾝﾄﾛｰﾙ [1/2]");
  EXPECT_EQ(Viewer().SourceBitmap.Width(), 230);
  EXPECT_EQ(Viewer().SourceBitmap.Format(), ui::PixelFormat::Bits24);
  EXPECT_EQ(Viewer().ClientWidth(), 230);
  EXPECT_EQ(Viewer().ClientHeight(), 20);
  EXPECT_EQ(::GetForegroundWindow(), Viewer().Handle());
  EXPECT_EQ(PluginControl("tpic.spi").getPictureCalls, 0u);

  Viewer().NextMenu->Click();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [photo.JPG : 2/2]");
  EXPECT_EQ(Viewer().SourceBitmap.Width(), 800);
  EXPECT_EQ(Viewer().SourceBitmap.Height(), 600);
  EXPECT_FALSE(Viewer().NextMenu->Enabled());
  EXPECT_TRUE(Viewer().PrevMenu->Enabled());
}

TEST_F(LoadingTest, APluginPictureReplacesAOneBitPictureByAFresh24BitOne) {
  Drop({File("one.bmp", Bmp1()), File("two.tpic", SmallPictureFile())});
  EXPECT_EQ(Viewer().SourceBitmap.Format(), ui::PixelFormat::Bits1);
  Viewer().NextMenu->Click();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [two.tpic : 2/2]");
  ASSERT_EQ(Viewer().SourceBitmap.Format(), ui::PixelFormat::Bits24);
  // Top row green then white: a colour, not black and white.
  const uint8_t* top = Viewer().SourceBitmap.ScanLine(0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(top), 6), std::string("\x00\xFF\x00\xFF\xFF\xFF", 6));
}

TEST_F(LoadingTest, WhatCannotBeShownShowsTheErrorPictureAndTheListStaysUsable) {
  struct Case {
    const char* what;
    std::string name;
    std::string bytes;
  };
  const Case cases[] = {
      {"no plug-in knows it", "notes.txt", "plain text"},
      {"a damaged BMP no plug-in takes", "broken.bmp", "BM\x10\0\0\0"},
      {"an icon goes to the plug-ins", "app.ico", std::string("\0\0\1\0\1\0", 6)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Drop({File(c.name, c.bytes), File("ok.bmp", Bmp24(4, 4, "\1\2\3"))});
    EXPECT_TRUE(ShowsErrorPicture());
    EXPECT_EQ(Viewer().Caption(), "Pixolet [Error!! " + c.name + " : 1/2]");
    EXPECT_EQ(Viewer().ClientWidth(), 285);
    ASSERT_TRUE(Viewer().NextMenu->Enabled());
    Viewer().NextMenu->Click();
    EXPECT_EQ(Viewer().Caption(), "Pixolet [ok.bmp : 2/2]");
  }
}

TEST_F(LoadingTest, APluginDecodeErrorShowsTheErrorPicture) {
  PluginControl("tpic.spi").fileModeResult = 2;
  PluginControl("tpic.spi").memoryModeResult = 2;
  Drop({File("bad.tpic", SmallPictureFile())});
  EXPECT_TRUE(ShowsErrorPicture());
  EXPECT_EQ(Viewer().Caption(), "Pixolet [Error!! bad.tpic : 1/1]");
}

TEST_F(LoadingTest, AnArchiveIsReplacedByItsMembersAndEachMemberIsExtractedAndRemoved) {
  const std::string archive = ThreeMemberArchive("a.tarc");
  Drop({archive});
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Arc0[x.tpic]" + archive, "Arc1[y.tpic]" + archive,
                                                 "Arc2[z.tpic]" + archive}));
  EXPECT_EQ(Mirror(), (std::vector<std::string>{"x.tpic", "y.tpic", "z.tpic"}));
  EXPECT_EQ(FileCount, 3);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [x.tpic : 1/3]");
  EXPECT_EQ(Control().Caption(), "ｺﾝﾄﾛｰﾙ [1/3]");
  EXPECT_EQ(Viewer().SourceBitmap.Width(), 2);
  EXPECT_EQ(TempFiles(), 0);

  Viewer().NextMenu->Click();
  Viewer().NextMenu->Click();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [z.tpic : 3/3]");
  EXPECT_EQ(Viewer().SourceBitmap.Width(), 3);
  EXPECT_EQ(FileCount, 3);
  EXPECT_EQ(TempFiles(), 0);
}

TEST_F(LoadingTest, AnArchiveInTheMiddleOfTheListExpandsWhenItIsReached) {
  const std::string p = File("p.bmp", Bmp24(2, 2, "\0\0\0"));
  const std::string archive = ThreeMemberArchive("a.tarc");
  const std::string q = File("q.bmp", Bmp24(2, 2, "\0\0\0"));
  Drop({p, archive, q});
  EXPECT_EQ(FileCount, 3);
  Viewer().NextMenu->Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{p, "Arc0[x.tpic]" + archive, "Arc1[y.tpic]" + archive,
                                                 "Arc2[z.tpic]" + archive, q}));
  EXPECT_EQ(Mirror(), (std::vector<std::string>{"p.bmp", "x.tpic", "y.tpic", "z.tpic", "q.bmp"}));
  EXPECT_EQ(FileCount, 5);
  EXPECT_EQ(CurrentIndex, 1);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [x.tpic : 2/5]");
  Viewer().PrevMenu->Click();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [p.bmp : 1/5]");
}

TEST_F(LoadingTest, AMemberWhoseNameHoldsABracketIsShown) {
  // The archive's own folder holds a "]" too, so only a file check tells the parts apart.
  const std::string folder = files_ / "set]2";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string archive = folder + "\\a.tarc";
  WriteFileBytes(archive, ArchiveFile({{"x].tpic", SmallPictureFile()}, {"y.tpic", SmallPictureFile()}}));
  Drop({archive});
  EXPECT_EQ(Entries().front(), "Arc0[x].tpic]" + archive);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [x].tpic : 1/2]");
  Viewer().NextMenu->Click();
  Viewer().PrevMenu->Click();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [x].tpic : 1/2]");
  EXPECT_EQ(Viewer().SourceBitmap.Width(), 2);
}

TEST_F(LoadingTest, AListingThatFailsOrIsEmptyLeavesTheArchiveOneEntry) {
  struct Case {
    const char* what;
    int32_t listResult;  // steers GetArchiveInfo
    std::string bytes;
  };
  const Case cases[] = {
      {"listing refused", -1, ArchiveFile({{"x.tpic", SmallPictureFile()}})},
      {"no members", 0, ArchiveFile({})},
  };
  // A listing of another archive first, so that stale rows would be there to misuse.
  Drop({ThreeMemberArchive("other.tarc")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string archive = File("a.tarc", c.bytes);
    const std::string q = File("q.bmp", Bmp24(2, 2, "\0\0\0"));
    PluginControl("tarc.spi").fileModeResult = c.listResult;
    Drop({archive, q});
    EXPECT_EQ(Entries(), (std::vector<std::string>{archive, q}));
    EXPECT_EQ(FileCount, 2);
    EXPECT_TRUE(ShowsErrorPicture());
    EXPECT_EQ(Viewer().Caption(), "Pixolet [Error!! a.tarc : 1/2]");
    PluginControl("tarc.spi").fileModeResult = 0;
  }
}

TEST_F(LoadingTest, AMemberThatCannotBeExtractedOrDecodedShowsTheErrorPictureAndLeavesNothing) {
  const std::string archive = ThreeMemberArchive("a.tarc");
  PluginControl("tarc.spi").toMemoryResult = 5;
  PluginControl("tarc.spi").toFolderResult = 5;
  Drop({archive});
  EXPECT_EQ(FileCount, 3);
  EXPECT_TRUE(ShowsErrorPicture());
  EXPECT_EQ(Viewer().Caption(), "Pixolet [Error!! a.tarc : 1/3]");
  PluginControl("tarc.spi").toMemoryResult = 0;
  PluginControl("tarc.spi").toFolderResult = 0;

  // The picture plug-in crashes on the extracted member.
  PluginControl("tpic.spi").faultPlaces = kInGetPictureFromFile | kInGetPictureFromMemory;
  PluginControl("tpic.spi").faultKind = kAccessViolation;
  Viewer().NextMenu->Click();
  EXPECT_TRUE(ShowsErrorPicture());
  EXPECT_EQ(Viewer().Caption(), "Pixolet [Error!! y.tpic : 2/3]");
  EXPECT_EQ(TempFiles(), 0);

  PluginControl("tpic.spi").faultPlaces = 0;
  Viewer().NextMenu->Click();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [z.tpic : 3/3]");
  EXPECT_EQ(TempFiles(), 0);
}

TEST_F(LoadingTest, AnEmptyFolderDroppedShowsNoFileWithTheFileCommandsEnabled) {
  const std::string empty = files_ / "empty";
  ::CreateDirectoryA(empty.c_str(), nullptr);
  Drop({empty});
  EXPECT_EQ(FileCount, 0);
  EXPECT_TRUE(ShowsErrorPicture());
  EXPECT_EQ(Viewer().Caption(), "Pixolet [Error!! No File : 1/0]");
  EXPECT_TRUE(Viewer().FullScrMenu->Enabled());
  EXPECT_TRUE(Viewer().SaveBmpMenu->Enabled());
  EXPECT_FALSE(Viewer().NextMenu->Enabled());
  EXPECT_FALSE(Viewer().PrevMenu->Enabled());
}

TEST_F(LoadingTest, TheOpenDialogTakesFilesInAndACancelOnlyLaysOutAgain) {
  const std::string a = File("a.bmp", Bmp24(240, 10, "\0\0\xFF"));
  const std::string b = File("b.bmp", Bmp24(250, 10, "\0\xFF\0"));
  program_.dialogs.openAnswers.push_back({a, b});
  ::SetCurrentDirectoryA(files_.Path().c_str());
  Viewer().OpenMenu->Click();
  ASSERT_EQ(program_.dialogs.openRequests.size(), 1u);
  const ui::FileDialogOptions& asked = program_.dialogs.openRequests[0];
  EXPECT_TRUE(asked.multiSelect);
  EXPECT_EQ(asked.filterIndex, 1);
  EXPECT_TRUE(asked.filter.starts_with("すべてのﾌｧｲﾙ (*.*)|*.*|すべてのｸﾞﾗﾌｨｯｸﾌｧｲﾙ |*.bmp;"));
  EXPECT_TRUE(asked.filter.ends_with("|ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf"));
  EXPECT_EQ(Entries(), (std::vector<std::string>{a, b}));
  EXPECT_EQ(Viewer().Caption(), "Pixolet [a.bmp : 1/2]");
  EXPECT_EQ(Viewer().OpenDialog.initialDir, files_.Path());
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_STRCASEEQ(current, program_.Path("temp").c_str());

  // Cancelled: the list and the picture stay, the window is laid out again.
  Viewer().SetClientWidth(10);
  Viewer().OpenMenu->Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{a, b}));
  EXPECT_EQ(Viewer().Caption(), "Pixolet [a.bmp : 1/2]");
  EXPECT_EQ(Viewer().ClientWidth(), 240);
}

TEST_F(LoadingTest, DoubleClicksAndArrowKeysStepWithinTheList) {
  Drop({File("1.bmp", Bmp24(2, 2, "\0\0\0")), File("2.bmp", Bmp24(3, 2, "\0\0\0"))});
  ::SendMessageA(Viewer().PicImage.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ(CurrentIndex, 1);
  // On the last entry a double click does not wrap, and Up only hides the pointer.
  ::SendMessageA(Viewer().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
  ui::Application::Get().SetCursor(ui::CursorOverride::Arrow);
  ::SendMessageA(Viewer().Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(CurrentIndex, 1);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [2.bmp : 2/2]");
  EXPECT_EQ(ui::Application::Get().Cursor(), ui::CursorOverride::Hidden);
  ::SendMessageA(Viewer().Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(CurrentIndex, 0);
  ::SendMessageA(Viewer().Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(CurrentIndex, 1);
  // No double click steps while a selection is being dragged.
  Viewer().PrevMenu->Click();
  Viewer().MouseMode = 2;
  Viewer().PicImageDblClick();
  EXPECT_EQ(CurrentIndex, 0);
  Viewer().MouseMode = 1;
}

TEST_F(LoadingTest, ADropOnTheControlWindowReplacesTheList) {
  Drop({File("1.bmp", Bmp24(2, 2, "\0\0\0"))});
  const std::string two = File("2.bmp", Bmp24(3, 2, "\0\0\0"));
  ::SendMessageA(Control().Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({two})), 0);
  EXPECT_EQ(Entries(), (std::vector<std::string>{two}));
  EXPECT_EQ(Viewer().Caption(), "Pixolet [2.bmp : 1/1]");
}

// The command line is read while the window is made, before the temp folder
// becomes the current one.
class CommandLineTest : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& arguments) {
    ::GetCurrentDirectoryA(MAX_PATH, startFolder_);
    ::SetCurrentDirectoryA(files_.Path().c_str());
    program_ = std::make_unique<ProgramFixture>(std::nullopt, std::string(), arguments);
    program_->Start();
  }
  void TearDown() override {
    program_.reset();
    ::SetCurrentDirectoryA(startFolder_);  // the folder can go only when no longer current
  }

  char startFolder_[MAX_PATH] = {};
  TempDir files_;
  std::unique_ptr<ProgramFixture> program_;
};

TEST_F(CommandLineTest, RelativePathsMeanTheFolderTheProgramWasStartedFrom) {
  WriteFileBytes(files_ / "p.bmp", Bmp24(160, 40, "\x80\x80\x80"));
  WriteFileBytes(files_ / "Archive.bmp", Bmp24(7, 5, "\x80\x80\x80"));
  Start({"p.bmp", "Archive.bmp"});
  TViewerForm& viewer = *program_->viewer;
  ASSERT_EQ(viewer.FNameListBox.Count(), 2);
  EXPECT_EQ(viewer.FNameListBox.Item(0), files_ / "p.bmp");
  EXPECT_EQ(viewer.FNameListBox.Item(1), files_ / "Archive.bmp");
  EXPECT_EQ(viewer.Caption(), "Pixolet [p.bmp : 1/2]");
  EXPECT_EQ(viewer.ClientWidth(), 160);
  EXPECT_EQ(viewer.ClientHeight(), 40);
  EXPECT_TRUE(viewer.NextMenu->Enabled());
  viewer.NextMenu->Click();
  // Not mistaken for an archive member although its name begins with "Arc".
  EXPECT_EQ(viewer.Caption(), "Pixolet [Archive.bmp : 2/2]");
  EXPECT_EQ(viewer.SourceBitmap.Width(), 7);
}

TEST_F(CommandLineTest, NothingTakenInShowsNoFile) {
  ::CreateDirectoryA((files_ / "empty").c_str(), nullptr);
  Start({"empty"});
  EXPECT_EQ(program_->viewer->Caption(), "Pixolet [Error!! No File : 1/0]");
  EXPECT_EQ(program_->viewer->SourceBitmap.Width(), 285);
  EXPECT_TRUE(program_->viewer->FullScrMenu->Enabled());
}

TEST_F(CommandLineTest, WithoutArgumentsTheViewerStartsEmpty) {
  Start({});
  EXPECT_EQ(program_->viewer->Caption(), "Pixolet");
  EXPECT_EQ(FileCount, 0);
  EXPECT_FALSE(program_->viewer->FullScrMenu->Enabled());
}

}  // namespace

namespace {

// A plug-in that runs a message loop of its own while the show's next picture
// loads: a tick that fell due meanwhile must not step on inside the load.
TEST_F(LoadingTest, NoSlideShowTickIsHandledInsideALoad) {
  Drop({File("a.tpic", SmallPictureFile()), File("b.tpic", SmallPictureFile()), File("c.tpic", SmallPictureFile())});
  Viewer().Timer.SetInterval(10);
  Viewer().SlideShowMenuClick();
  ASSERT_TRUE(Viewer().Timer.Enabled());
  PluginControl("tpic.spi").postTarget = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Viewer().Handle()));
  PluginControl("tpic.spi").postMessage = WM_NULL;
  ::Sleep(60);  // the timer is due
  Viewer().NextMenuClick();
  EXPECT_EQ(CurrentIndex, 1);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [b.tpic : 2/3]");
  // The show goes on after the load.
  EXPECT_TRUE(Viewer().Timer.Enabled());
  Viewer().SlideShowMenuClick();
  PluginControl("tpic.spi").postTarget = 0;
}

}  // namespace
