#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <functional>
#include <set>

#include "LocalFreeCounter.h"
#include "PluginTestSupport.h"
#include "app/Globals.h"
#include "plugins/SpiFunc.h"
#include "ui/Bitmap.h"

using namespace plugin_testing;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

// Rows 0 and 1: the picture and the archive plug-in.
class BlockReleaseTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    LoadBuilt({"tpic", "tarc"});
    AppDir = dir_.Path();
    ::CreateDirectoryA((dir_ / "temp").c_str(), nullptr);
    WriteFileBytes(Picture(), SmallPictureFile());
    WriteFileBytes(Archive(), ArchiveFile({{"one.tpic", "bytes"}}));
    bitmap_.SetPixelFormat(ui::PixelFormat::Bits24);
  }
  std::string Picture() const { return dir_ / "a.tpic"; }
  std::string Archive() const { return dir_ / "a.tarc"; }
  // The blocks that the plug-in in `row` handed out since its count was reset,
  // once per call that handed each out: a freed block's handle may come back.
  std::multiset<HLOCAL> HandedOut(int row) {
    std::multiset<HLOCAL> blocks;
    const TestPluginControl& c = Control(row);
    for (uint32_t i = 0; i < c.blocksHandedOut && i < std::size(c.handedOut); ++i) {
      blocks.insert(reinterpret_cast<HLOCAL>(c.handedOut[i]));
    }
    return blocks;
  }

  TempDir dir_;
  ui::Bitmap bitmap_;
};

TEST_F(BlockReleaseTest, EveryBlockAPluginWritesIsFreedOnceWhateverTheCallReturned) {
  struct Case {
    const char* what;
    int row;
    std::function<void(TestPluginControl&)> steer;
    std::function<void()> run;
    size_t blocks;  // blocks handed out, a block given as both handles once
  };
  const auto decode = [this] {
    try {
      PluginGetPicture(0, Picture(), bitmap_);
    } catch (const PluginFault&) {
    }
  };
  const auto list = [this] {
    try {
      PluginGetArchiveInfo(1, Archive());
    } catch (const PluginFault&) {
    }
  };
  const auto extract = [this] {
    PluginGetArchiveInfo(1, Archive());
    PluginGetFile(1, Archive(), 0);
  };
  const Case cases[] = {
      {"both modes fail with blocks", 0, [](auto& c) { c.fileModeResult = c.memoryModeResult = 5; }, decode, 4},
      {"file mode fails with blocks, memory mode decodes", 0, [](auto& c) { c.fileModeResult = 2; }, decode, 4},
      {"one block as both, decoded", 0, [](auto& c) { c.oneBlockForBoth = 1; }, decode, 1},
      {"one block as both, failing", 0,
       [](auto& c) {
         c.oneBlockForBoth = 1;
         c.fileModeResult = c.memoryModeResult = 3;
       },
       decode, 2},
      {"crash after writing blocks", 0,
       [](auto& c) {
         c.faultPlaces = kInGetPictureFromFile;
         c.faultKind = kAccessViolation;
       },
       decode, 2},
      {"no list (-1) but a block", 1, [](auto& c) { c.fileModeResult = -1; }, list, 1},
      {"listing crashes after writing a block", 1,
       [](auto& c) {
         c.faultPlaces = kInArchiveInfo;
         c.faultKind = kRaisedException;
       },
       list, 1},
      {"listed, then extraction into memory fails with a block", 1, [](auto& c) { c.toMemoryResult = 2; },
       extract, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestPluginControl& control = Control(c.row);
    const TestPluginControl fresh = control;
    control.blocksWithFailure = 1;
    control.blocksHandedOut = 0;
    c.steer(control);
    LocalFreeCounter frees;
    c.run();
    const std::multiset<HLOCAL> blocks = HandedOut(c.row);
    EXPECT_EQ(blocks.size(), c.blocks);
    for (const HLOCAL block : blocks) EXPECT_EQ(frees.Count(block), static_cast<int>(blocks.count(block))) << block;
    EXPECT_EQ(frees.Total(), blocks.size());
    control = fresh;
  }
}

// Committed private memory, as the system's PrivateUsage counts it. Wine
// reports that counter as 0, so the address space is walked when it does.
size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
  if (counters.PrivateUsage) return counters.PrivateUsage;
  size_t committed = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (auto* at = static_cast<char*>(nullptr); ::VirtualQuery(at, &region, sizeof region);) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) committed += region.RegionSize;
    char* next = static_cast<char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return committed;
}

// A slide show over broken files: each decode fails in both modes after the
// plug-in wrote two 64 KiB blocks each time, 256 MiB in all.
TEST_F(BlockReleaseTest, AThousandFailedDecodesLeaveThePrivateBytesAlone) {
  DebugEnabled = false;
  TestPluginControl& control = Control(0);
  control.blocksWithFailure = 1;
  control.failureBlockBytes = 64 * 1024;
  control.fileModeResult = control.memoryModeResult = 5;
  PluginGetPicture(0, Picture(), bitmap_);  // the first call's one-time costs
  const size_t before = PrivateBytes();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(PluginGetPicture(0, Picture(), bitmap_), 5);
  const auto growth = static_cast<int64_t>(PrivateBytes()) - static_cast<int64_t>(before);
  RecordProperty("PrivateBytesGrowth", std::to_string(growth));
  EXPECT_LT(growth, 8 * 1024 * 1024) << "private bytes grew by " << growth;
}

}  // namespace
