#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "ProgramFixture.h"
#include "core/SjisText.h"

using namespace testing_support;

namespace {

class FileListTest : public ::testing::Test {
 protected:
  void SetUp() override { program_.Start(); }

  TViewerForm& Viewer() { return *program_.viewer; }
  TControlForm& Control() { return *program_.control; }

  // An intake as the drop, open and command-line paths run it.
  void Intake(const std::vector<std::string>& paths) {
    Viewer().FNameListBox.Clear();
    Control().FNameCmbBox.Clear();
    CurrentIndex = 0;
    for (size_t i = 0; i < paths.size(); ++i) Viewer().AddPath(paths[i], i == 0);
    Viewer().RefillNameMirror();
    Viewer().SetFileCount(Viewer().FNameListBox.Count());
  }

  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (int i = 0; i < Viewer().FNameListBox.Count(); ++i) entries.push_back(Viewer().FNameListBox.Item(i));
    return entries;
  }

  // a.jpg, b.txt, .hidden (hidden attribute) and sub\c.bmp, sub\deeper\d.gif, sub2\e.png
  std::string MakeTree() {
    const std::string root = files_ / "tree";
    for (const char* folder : {"", "\\sub", "\\sub\\deeper", "\\sub2"}) {
      ::CreateDirectoryA((root + folder).c_str(), nullptr);
    }
    for (const char* file : {"\\a.jpg", "\\b.txt", "\\sub\\c.bmp", "\\sub\\deeper\\d.gif", "\\sub2\\e.png"}) {
      WriteFileBytes(root + file, "x");
    }
    WriteFileBytes(root + "\\hidden.dat", "x");
    ::SetFileAttributesA((root + "\\hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
    return root;
  }

  ProgramFixture program_;
  TempDir files_;
};

TEST_F(FileListTest, NavigationFollowsThePositionInTheList) {
  struct Case {
    int count, index;
    bool next, prev, moveBtn;
  };
  const Case cases[] = {
      {0, 0, false, false, false},  // empty list
      {1, 0, false, false, true},   // one entry
      {5, 0, true, false, true},    // first of several
      {5, 2, true, true, true},     // middle
      {5, 4, false, true, true},    // last
      {5, -1, true, true, true},    // the endless show's restart: no equality holds
  };
  for (const auto& c : cases) {
    Viewer().EnableFileCommands();
    Control().FNameCmbBox.Assign(std::vector<std::string>(c.count, "x.jpg"));
    CurrentIndex = c.index;
    Viewer().SetFileCount(c.count);
    Viewer().UpdateNavigation();
    SCOPED_TRACE(testing::Message() << c.index << " of " << c.count);
    EXPECT_EQ(Viewer().NextMenu->Enabled(), c.next);
    EXPECT_EQ(Control().NextBtn.Enabled(), c.next);
    EXPECT_EQ(Viewer().PrevMenu->Enabled(), c.prev);
    EXPECT_EQ(Control().PrevBtn.Enabled(), c.prev);
    EXPECT_EQ(Control().MoveBtn.Enabled(), c.moveBtn);
    EXPECT_EQ(Control().FNameCmbBox.ItemIndex(), c.index >= 0 && c.index < c.count ? c.index : -1);
  }
}

TEST_F(FileListTest, CaptionsShowPositionAndCount) {
  CurrentIndex = 2;
  Viewer().SetFileCount(12);
  Viewer().SetViewerCaption("flower.jpg");
  EXPECT_EQ(Viewer().Caption(), "Pixolet [flower.jpg : 3/12]");
  EXPECT_EQ(Control().Caption(), "ｺﾝﾄﾛｰﾙ [3/12]");
  CurrentIndex = 0;
  Viewer().SetFileCount(0);
  Viewer().SetViewerCaption("Error!! No File");
  EXPECT_EQ(Viewer().Caption(), "Pixolet [Error!! No File : 1/0]");
}

TEST_F(FileListTest, FileCommandsAreEnabledByAnIntake) {
  EXPECT_FALSE(Viewer().MoveMenu->Enabled());
  Viewer().EnableFileCommands();
  for (ui::MenuItem* item : {Viewer().SaveBmpMenu, Viewer().SaveJpgMenu, Viewer().MoveMenu, Viewer().FullScrMenu,
                             Viewer().SizableMenu, Viewer().SlideShowMenu}) {
    EXPECT_TRUE(item->Enabled()) << item->Caption();
  }
  EXPECT_TRUE(Control().MoveBtn.Enabled());
  EXPECT_TRUE(Control().SlideShowBtn.Enabled());
}

TEST_F(FileListTest, FolderScanListsEveryFileBeforeTheSubFoldersDepthFirst) {
  const std::string root = MakeTree();
  Intake({root});
  std::vector<std::string> names;
  for (const std::string& entry : Entries()) names.push_back(entry.substr(root.size() + 1));
  // Files of a folder come first; hidden and non-picture files too.
  ASSERT_EQ(names.size(), 6u);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.begin() + 3),
            (std::set<std::string>{"a.jpg", "b.txt", "hidden.dat"}));
  const auto at = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
  EXPECT_EQ(at("sub\\deeper\\d.gif"), at("sub\\c.bmp") + 1);
  EXPECT_GE(at("sub\\c.bmp"), 3);
  EXPECT_GE(at("sub2\\e.png"), 3);
  EXPECT_EQ(Control().FNameCmbBox.Count(), 6);
  EXPECT_EQ(Control().FNameCmbBox.Item(static_cast<int>(at("sub\\c.bmp"))), "c.bmp");
  EXPECT_EQ(FileCount, 6);

  Viewer().SearchSubDirClick();  // off
  Intake({root});
  EXPECT_EQ(Entries().size(), 3u);
}

TEST_F(FileListTest, AddAllFilesTakesTheFirstFilesFolderAndMakesItCurrent) {
  const std::string root = MakeTree();
  Viewer().AddAllFilesClick();
  Viewer().SearchSubDirClick();  // only the folder itself
  WriteFileBytes(files_ / "other.jpg", "x");
  Intake({root + "\\B.TXT", files_ / "other.jpg"});  // case differs; the second file is ignored
  ASSERT_EQ(Entries().size(), 3u);
  EXPECT_TRUE(sjis::SameText(Entries()[CurrentIndex], root + "\\b.txt"));

  Intake({root + "\\sub\\nothere.jpg"});  // folder exists, file not: the folder, first entry current
  EXPECT_EQ(Entries().size(), 1u);
  EXPECT_EQ(CurrentIndex, 0);

  CurrentIndex = 7;
  Viewer().FNameListBox.Clear();
  Viewer().AddPath("bare.jpg", true);  // no folder part: nothing, position kept
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(CurrentIndex, 7);
}

TEST_F(FileListTest, WithoutAddAllFilesPathsAreListedAsGiven) {
  const std::string root = MakeTree();
  Intake({root + "\\a.jpg", root, "relative\\missing.png"});
  const std::vector<std::string> entries = Entries();
  ASSERT_EQ(entries.size(), 2u + 6u);
  EXPECT_EQ(entries.front(), root + "\\a.jpg");
  EXPECT_EQ(std::count(entries.begin(), entries.end(), root + "\\a.jpg"), 2);  // listed twice
  EXPECT_EQ(entries.back(), "relative\\missing.png");
  EXPECT_EQ(Control().FNameCmbBox.Item(7), "missing.png");
}

TEST_F(FileListTest, TheListIsSearchedWithoutRegardToCaseInEveryScript) {
  struct Case {
    const char* listed;
    const char* sought;
    bool found;
  };
  const Case cases[] = {
      {"C:\\Pics\\Flower.JPG", "c:\\pics\\flower.jpg", true},
      {"ａｌｐｈａ.jpg", "ＡＬＰＨＡ.JPG", true},       // full-width Latin
      {"ΩΜΕΓΑ.jpg", "ωμεγα.jpg", true},                 // Greek
      {"ДОМ\\Ёж.jpg", "дом\\ёЖ.jpg", true},           // Cyrillic
      {"表\\a.jpg", "表\\A.JPG", true},                // a trail byte that is a backslash
      {"A.jpg", "Ａ.jpg", false},                        // width is not case
      {"あ.jpg", "ア.jpg", false},                       // nor is the kind of kana
      {"co-op.jpg", "coop.jpg", false},
      {"ab.jpg", "ab.jpg.jpg", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sought);
    Viewer().FNameListBox.Clear();
    Viewer().FNameListBox.Add("other.jpg");
    Viewer().FNameListBox.Add(c.listed);
    EXPECT_EQ(Viewer().FNameListBox.IndexOf(c.sought), c.found ? 1 : -1);
  }
  // The first path of an intake, named in other letters than the folder lists it.
  const std::string root = files_ / "greek";
  ::CreateDirectoryA(root.c_str(), nullptr);
  for (const char* name : {"αβγ.jpg", "ΔΕΖ.jpg", "ηθι.jpg"}) WriteFileBytes(root + "\\" + name, "x");
  Viewer().AddAllFilesClick();
  Intake({root + "\\δεζ.JPG"});
  ASSERT_EQ(Entries().size(), 3u);
  EXPECT_EQ(Entries()[CurrentIndex], root + "\\ΔΕΖ.jpg");
}

TEST_F(FileListTest, AFolderNamedAgainIsScannedAgain) {
  const std::string root = MakeTree();
  const std::vector<std::string> top = {"a.jpg", "b.txt", "hidden.dat"};
  const std::vector<std::string> sub = {"sub\\c.bmp", "sub\\deeper\\d.gif"};
  struct Case {
    const char* what;
    bool addAllFiles, searchSubDir;
    std::vector<std::string> paths;
    std::vector<std::vector<std::string>> parts;  // what the entries are made of, in any order
  };
  const Case cases[] = {
      {"the same folder dropped twice", false, false, {root, root}, {top, top}},
      {"a folder and its sub-folder, sub-folders searched", false, true, {root, root + "\\sub"},
       {top, sub, {"sub2\\e.png"}, sub}},
      {"a file and then its own folder, all files added", true, false, {root + "\\a.jpg", root}, {top, top}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (Viewer().AddAllFiles->Checked() != c.addAllFiles) Viewer().AddAllFilesClick();
    if (Viewer().SearchSubDir->Checked() != c.searchSubDir) Viewer().SearchSubDirClick();
    Intake(c.paths);
    std::multiset<std::string> expected;
    for (const auto& part : c.parts) {
      for (const auto& name : part) expected.insert(root + "\\" + name);
    }
    const std::vector<std::string> entries = Entries();
    EXPECT_EQ(std::multiset<std::string>(entries.begin(), entries.end()), expected);
  }
}

TEST_F(FileListTest, AFolderLinkBackToAnAncestorIsNotFollowedAgain) {
  const std::string root = MakeTree();
  const FolderLink link(root + "\\sub\\loop", root);
  if (!link.Made()) GTEST_SKIP() << "this system cannot make folder links";
  ASSERT_TRUE(Viewer().SearchSubDir->Checked());
  Intake({root});
  EXPECT_EQ(Entries().size(), 6u);
  // Dropped by the link's own name, the folder is scanned once through it.
  Intake({root + "\\sub\\loop"});
  const std::vector<std::string> entries = Entries();
  EXPECT_EQ(entries.size(), 6u);
  EXPECT_EQ(std::count(entries.begin(), entries.end(), root + "\\sub\\loop\\a.jpg"), 1);
}

}  // namespace
