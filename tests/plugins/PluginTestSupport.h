#pragma once
// Helpers for the plug-in host tests: the built test plug-ins, their control
// blocks, a log window that records, and files of the tiny test formats.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestPluginControl.h"
#include "TestSupport.h"
#include "log/OutPut.h"

namespace plugin_testing {

// Path of a built test plug-in: "tpic", "tarc", "tlower" or "tbare".
std::string BuiltPlugin(const std::string& name);
// Copies a built test plug-in to `target`.
void CopyPlugin(const std::string& name, const std::string& target);
// The control block of the plug-in loaded in `row`.
TestPluginControl& Control(int row);

// Every test starts with no plug-ins, no listing, and a log window that
// records while debugging is on; plug-ins are unloaded before temp folders go.
class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Loads built plug-ins into rows 0, 1, ... in the order given, and describes them.
  void LoadBuilt(const std::vector<std::string>& names);
  std::vector<std::string> Log() const;
  void ClearLog();

  std::unique_ptr<TOutputForm> logForm_;
  std::string savedAppDir_;
};

// A BITMAPINFOHEADER, optionally followed by `tableBytes`.
std::string InfoHeader(int width, int height, int bitCount, uint32_t compression = 0,
                       uint32_t colorsUsed = 0, const std::string& tableBytes = {});
// A picture file of the test format.
std::string PictureFile(const std::string& info, const std::string& bits);
// A 2 x 2, 24-bit picture: bottom row blue, red; top row green, white.
std::string SmallPictureFile();

// One 428-byte archive list record.
std::string ArchiveRecord(const std::string& method, uint32_t position, const std::string& name,
                          const std::string& path = {}, uint32_t compressed = 0, uint32_t original = 0,
                          uint32_t time = 0);

struct Member {
  std::string name;
  std::string bytes;
  std::string method = "-lh5-";
};
// An archive of the test format holding `members`; the list ends with a
// terminating record unless told otherwise.
std::string ArchiveFile(const std::vector<Member>& members, bool terminated = true);
// An archive whose list block is exactly `list`, without member data.
std::string ArchiveWithList(const std::string& list);

}  // namespace plugin_testing
