// Filing the current file and saving what is displayed, with the dialogs and
// the shell scripted and real files on disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../native/CodecSupport.h"
#include "ProgramFixture.h"
#include "UserInput.h"
#include "codecs/BmpWriter.h"

using namespace testing_support;

namespace {

// A 24-bit BMP whose every pixel differs in all three channels, red and blue
// running opposite ways, so that swapped channels or rows cannot pass.
std::string GradientBmp(int width, int height) {
  const size_t stride = codecs::DibStride(width, codecs::PixelLayout::Bits24);
  std::vector<uint8_t> rows(stride * height), file;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &rows[y * stride + x * 3];
      p[0] = uint8_t(255 - x * 255 / width);  // blue
      p[1] = uint8_t(y * 255 / height);       // green
      p[2] = uint8_t(x * 255 / width);        // red
    }
  }
  codecs::EncodeBmp({width, height, codecs::PixelLayout::Bits24, {}}, {rows.data(), ptrdiff_t(stride)}, file);
  return std::string(file.begin(), file.end());
}

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  return names;
}

class FilingTest : public ::testing::Test {
 protected:
  explicit FilingTest(const std::optional<std::string>& settings = std::nullopt) : program_(settings) {}
  void SetUp() override { program_.Start(); }

  TViewerForm& Viewer() { return *program_.viewer; }
  TControlForm& Control() { return *program_.control; }
  ScriptedDialogs& Dialogs() { return program_.dialogs; }

  // Pictures of these names, 40 x 30, dropped on the viewer.
  std::vector<std::string> Drop(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) {
      paths.push_back(files_ / name);
      WriteFileBytes(paths.back(), GradientBmp(40, 30));
    }
    Viewer().WMDropFiles(MakeDrop(paths));
    return paths;
  }
  std::string Entry() { return Viewer().FNameListBox.Item(CurrentIndex); }
  std::string SortingFolder(int n) { return program_.Path("Img\\" + std::to_string(n)); }

  ProgramFixture program_;
  TempDir files_;
};

TEST_F(FilingTest, ADigitKeyMovesTheFileIntoItsSortingFolderAndTheEntryFollows) {
  const std::string original = Drop({"a.bmp", "b.bmp"})[0];
  const std::string bytes = ReadFileBytes(original);
  PressKey(Viewer().Handle(), '3');
  const std::string inThree = SortingFolder(3) + "\\a.bmp";
  EXPECT_FALSE(FileExists(original));
  EXPECT_EQ(ReadFileBytes(inThree), bytes);
  EXPECT_EQ(Entry(), inThree);
  EXPECT_EQ(Viewer().Caption(), "Pixolet [a.bmp : 1/2]");
  EXPECT_EQ(Control().FNameCmbBox.Item(0), "a.bmp");
  EXPECT_EQ(FileCount, 2);

  PressKey(Viewer().Handle(), '5');
  const std::string inFive = SortingFolder(5) + "\\a.bmp";
  EXPECT_FALSE(FileExists(inThree));
  EXPECT_EQ(ReadFileBytes(inFive), bytes);
  EXPECT_EQ(Entry(), inFive);
  // Showing it again decodes it from there.
  Viewer().NextMenuClick();
  Viewer().PrevMenuClick();
  EXPECT_EQ(Viewer().Caption(), "Pixolet [a.bmp : 1/2]");
  EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(FilingTest, ANameTakenInTheSortingFolderLeavesBothFilesAsTheyWere) {
  const std::string original = Drop({"a.bmp"})[0];
  const std::string bytes = ReadFileBytes(original);
  const std::string taken = SortingFolder(3) + "\\a.bmp";
  WriteFileBytes(taken, "already here");
  PressKey(Viewer().Handle(), '3');
  ASSERT_EQ(Dialogs().messages.size(), 1u);
  EXPECT_EQ(Dialogs().messages[0].text, "同名ファイルが存在します");
  EXPECT_EQ(Dialogs().messages[0].caption, "Caution");
  EXPECT_EQ(Dialogs().messages[0].type, UINT(MB_OK));
  EXPECT_EQ(ReadFileBytes(original), bytes);
  EXPECT_EQ(ReadFileBytes(taken), "already here");
  EXPECT_EQ(Entry(), original);
}

TEST_F(FilingTest, WithoutACurrentFileTheFilingCommandsDoNothing) {
  const std::string stray = files_ / "x.bmp";
  WriteFileBytes(stray, GradientBmp(4, 4));
  // Before any intake the move menu is disabled; the keys are not its.
  PressKey(Viewer().Handle(), '3');
  Control().MoveBtnClick();
  struct Case {
    const char* what;
    std::vector<std::string> dropped;
    int index;
  };
  const Case cases[] = {
      {"an empty list", {}, 0},
      {"the endless restart", {"a.bmp", "b.bmp"}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Drop(c.dropped);
    CurrentIndex = c.index;
    PressKey(Viewer().Handle(), '3');
    Control().MoveBtnClick();
  }
  // An archive member names no file: neither moved nor recycled, even where
  // the sorting folder holds a file of the archive's name.
  Drop({"a.bmp"});
  const std::string archive = files_ / "pics.lzh";
  WriteFileBytes(archive, "archive");
  WriteFileBytes(SortingFolder(3) + "\\pics.lzh", "other");
  Viewer().FNameListBox.Delete(0);
  Viewer().FNameListBox.Insert(0, "Arc0[a.bmp]" + archive);
  CurrentIndex = 0;
  PressKey(Viewer().Handle(), '3');
  Control().MoveBtnClick();

  EXPECT_TRUE(FilesIn(SortingFolder(3)) == std::vector<std::string>{"pics.lzh"});
  EXPECT_TRUE(Dialogs().messages.empty());
  EXPECT_TRUE(Dialogs().fileOperations.empty());
  EXPECT_TRUE(FileExists(stray));
  EXPECT_TRUE(FileExists(archive));
}

class RecycleTest : public FilingTest, public ::testing::WithParamInterface<bool> {
 protected:
  RecycleTest() : FilingTest(std::string("[Others]\r\nGarbagePrompt=") + (GetParam() ? "1" : "0") + "\r\n") {}
};

TEST_P(RecycleTest, TheShellIsAskedToRecycleTheCurrentFileAskingFirstAsTheSettingSays) {
  const std::vector<std::string> paths = Drop({"a.bmp", "b.bmp"});
  Viewer().NextMenuClick();
  Control().MoveBtn.Click();
  ASSERT_EQ(Dialogs().fileOperations.size(), 1u);
  const ScriptedDialogs::FileOperation& op = Dialogs().fileOperations[0];
  EXPECT_EQ(op.owner, Control().Handle());
  EXPECT_EQ(op.operation, UINT(FO_DELETE));
  EXPECT_EQ(op.from, paths[1] + std::string(2, '\0'));
  EXPECT_EQ(op.flags, GetParam() ? FOF_ALLOWUNDO : FOF_ALLOWUNDO | FOF_NOCONFIRMATION);
  // The entry stays; a file that is gone already is not asked about.
  EXPECT_EQ(Entry(), paths[1]);
  ::DeleteFileA(paths[1].c_str());
  Control().MoveBtn.Click();
  EXPECT_EQ(Dialogs().fileOperations.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Prompt, RecycleTest, ::testing::Bool());

TEST_F(FilingTest, TheFolderButtonOpensTheSortingRootInTheShell) {
  Control().FolderOpenBtn.Click();
  ASSERT_EQ(Dialogs().executions.size(), 1u);
  EXPECT_EQ(Dialogs().executions[0].owner, Control().Handle());
  EXPECT_EQ(Dialogs().executions[0].verb, "open");
  EXPECT_EQ(Dialogs().executions[0].file, program_.Path("Img"));
  EXPECT_EQ(Dialogs().executions[0].show, SW_SHOW);
}

// Saving: what the dialog offers, the names the files get, and their contents.
class SavingTest : public FilingTest {
 protected:
  void SetUp() override {
    FilingTest::SetUp();
    Drop({"a.bmp"});
  }
  // Answers the next save dialog with `name` (nothing: cancel) and presses
  // the format's shortcut, Ctrl+W or Alt+W, through the message loop's routing.
  void Save(bool asBmp, const std::optional<std::string>& name) {
    Dialogs().saveAnswers.push_back(name);
    if (asBmp) {
      PressKey(Viewer().Handle(), 'W', true);
      return;
    }
    // Alt+W arrives as a system key.
    BYTE state[256] = {};
    state[VK_MENU] = 0x80;
    ::SetKeyboardState(state);
    MSG msg{Viewer().Handle(), WM_SYSKEYDOWN, 'W', 0};
    ui::Application::Get().HandleMessage(msg);
    BYTE none[256] = {};
    ::SetKeyboardState(none);
  }
  // The displayed picture as B-G-R rows.
  codec_test::BgrPicture Displayed() {
    ui::Bitmap rows;
    ui::Bitmap& shown = Viewer().PicImage.Picture();
    rows.Reset(shown.Width(), shown.Height(), ui::PixelFormat::Bits24);
    shown.Draw(rows.Dc(), 0, 0);
    ::GdiFlush();
    codec_test::BgrPicture p{rows.Width(), rows.Height(), size_t(rows.Stride()), {}};
    for (int y = 0; y < rows.Height(); ++y) p.rows.insert(p.rows.end(), rows.ScanLine(y), rows.ScanLine(y) + p.stride);
    return p;
  }
  TempDir out_;
};

TEST_F(SavingTest, TheDialogIsSetUpForTheFormatAndStartsWhereTheLastSaveWent) {
  Save(true, out_ / "one.bmp");
  Save(false, out_ / "two.jpg");
  Save(true, std::nullopt);
  ASSERT_EQ(Dialogs().saveRequests.size(), 3u);
  const ui::FileDialogOptions& bmp = Dialogs().saveRequests[0];
  EXPECT_EQ(bmp.title, "名前を付けてBITMAPで保存");
  EXPECT_EQ(bmp.filter, "BITMAPファイル( bmp )|*.bmp|全てのファイル( *.* )|*.*");
  EXPECT_EQ(bmp.defaultExt, "bmp");
  EXPECT_TRUE(bmp.overwritePrompt);
  EXPECT_EQ(bmp.initialDir, program_.Folder());
  const ui::FileDialogOptions& jpeg = Dialogs().saveRequests[1];
  EXPECT_EQ(jpeg.title, "名前を付けてJPEGで保存");
  EXPECT_EQ(jpeg.filter, "JPEGファイル( jpg, jpeg, jpe )|*.jpg;*.jpeg;*.jpe|全てのファイル( *.* )|*.*");
  EXPECT_EQ(jpeg.defaultExt, "jpg");
  EXPECT_EQ(jpeg.initialDir, out_.Path());
  EXPECT_EQ(jpeg.fileName, out_ / "one.bmp");  // the last name is offered again
  EXPECT_TRUE(FileExists(out_ / "one.bmp"));
  EXPECT_TRUE(FileExists(out_ / "two.jpg"));
}

TEST_F(SavingTest, ANameWithoutAnExtensionGetsTheFormatsOwn) {
  struct Case {
    bool asBmp;
    const char* typed;
    const char* written;
  };
  const Case cases[] = {
      {true, "pic", "pic.bmp"},   {true, "pic.", "pic.bmp"},   {true, "pic.txt", "pic.txt"},
      {false, "pic", "pic.jpg"},  {false, "pic.", "pic.jpg"},  {false, "pic.txt", "pic.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    TempDir folder;
    Save(c.asBmp, folder / c.typed);
    EXPECT_TRUE(FilesIn(folder.Path()) == std::vector<std::string>{c.written});
    const std::string bytes = ReadFileBytes(folder / c.written);
    EXPECT_EQ(bytes.substr(0, 2), c.asBmp ? "BM" : "\xFF\xD8");
  }
  EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(SavingTest, AnAddedExtensionAsksBeforeReplacingAFileOfThatName) {
  const std::string existing = out_ / "pic.bmp";
  WriteFileBytes(existing, "old picture");
  Dialogs().messageAnswers.push_back(IDCANCEL);
  Save(true, out_ / "pic.");
  ASSERT_EQ(Dialogs().messages.size(), 1u);
  EXPECT_EQ(Dialogs().messages[0].text, "同名ファイルが存在します。\r\n上書き保存しますか？");
  EXPECT_EQ(Dialogs().messages[0].caption, "注意！");
  EXPECT_EQ(Dialogs().messages[0].type, UINT(MB_OKCANCEL));
  EXPECT_EQ(ReadFileBytes(existing), "old picture");
  EXPECT_TRUE(FilesIn(out_.Path()) == std::vector<std::string>{"pic.bmp"});
  EXPECT_EQ(Viewer().SaveDialog.initialDir, program_.Folder());

  Dialogs().messageAnswers.push_back(IDOK);
  Save(true, out_ / "pic.");
  EXPECT_EQ(ReadFileBytes(existing).substr(0, 2), "BM");
  EXPECT_EQ(Viewer().SaveDialog.initialDir, out_.Path());
}

TEST_F(SavingTest, AFailedSaveLeavesTheOldFileByteForByteAndNothingBeside) {
  const std::string existing = out_ / "keep.jpg";
  WriteFileBytes(existing, "precious bytes");
  // Another program holds the file open and lets nobody replace it.
  HANDLE held = ::CreateFileA(existing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Save(false, existing);
  ::CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(existing), "precious bytes");
  EXPECT_TRUE(FilesIn(out_.Path()) == std::vector<std::string>{"keep.jpg"});
  // Reported once by the application's error box; the next dialog starts where it did.
  ASSERT_EQ(Dialogs().messages.size(), 1u);
  EXPECT_NE(Dialogs().messages[0].text.find(existing), std::string::npos) << Dialogs().messages[0].text;
  EXPECT_EQ(Viewer().SaveDialog.initialDir, program_.Folder());
}

TEST_F(SavingTest, ASavedBmpHoldsTheDisplayedPictureExactly) {
  Save(true, out_ / "exact.bmp");
  const std::string file = ReadFileBytes(out_ / "exact.bmp");
  const std::optional<codec_test::DecodedBmp> back = codec_test::DecodeBmp(Bytes(file));
  ASSERT_TRUE(back);
  const codec_test::BgrPicture shown = Displayed();
  ASSERT_EQ(back->shape.width, shown.width);
  ASSERT_EQ(back->shape.height, shown.height);
  // At the display's depth: under Xvfb's 24-bit screen the system keeps 32 bits a pixel.
  const int bytesPerPixel = int(back->shape.layout) / 8;
  ASSERT_GE(bytesPerPixel, 3);
  for (int y = 0; y < shown.height; ++y) {
    for (int x = 0; x < shown.width; ++x) {
      const uint8_t* saved = back->Row(y) + x * bytesPerPixel;
      ASSERT_EQ(std::vector<uint8_t>(saved, saved + 3), std::vector<uint8_t>(shown.Pixel(x, y), shown.Pixel(x, y) + 3))
          << x << "," << y;
    }
  }
}

// Quality 90 keeps a smooth picture like this one above 40 dB, so 36 dB leaves
// room for another build's float DCT; red and blue swapped, rows upside down
// or shifted by a pixel bring it below 20 dB.
TEST_F(SavingTest, ASavedJpegDecodesBackCloseToTheDisplayedPicture) {
  Save(false, out_ / "close.jpg");
  const std::string file = ReadFileBytes(out_ / "close.jpg");
  const std::optional<codec_test::BgrPicture> back = codec_test::DecodeJpeg(Bytes(file));
  ASSERT_TRUE(back);
  const codec_test::BgrPicture shown = Displayed();
  ASSERT_EQ(back->width, shown.width);
  ASSERT_EQ(back->height, shown.height);
  EXPECT_GT(codec_test::Psnr(shown, *back), 36.0);
}

}  // namespace
