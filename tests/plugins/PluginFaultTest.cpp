#include <cfenv>
#include <cmath>
#include <stdexcept>

#include "PluginTestSupport.h"
#include "plugins/FaultGuard.h"
#include "plugins/SpiFunc.h"
#include "ui/Bitmap.h"

using namespace plugin_testing;
using testing_support::TempDir;

namespace {

struct FpuWords {
  uint16_t control;
  uint32_t mxcsr;
  bool operator==(const FpuWords&) const = default;
};

FpuWords ReadFpu() {
  FpuWords words{};
  asm volatile("fnstcw %0" : "=m"(words.control));
  asm volatile("stmxcsr %0" : "=m"(words.mxcsr));
  return words;
}

// Rounds through the x87 unit, the one our layout arithmetic uses.
double RoundHalf(double value) {
  volatile double stored = value;
  return std::nearbyint(stored);
}

class PluginFaultTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    LoadBuilt({"tpic", "tarc"});
    testing_support::WriteFileBytes(picture_ / "a.tpic", SmallPictureFile());
    path_ = picture_ / "a.tpic";
  }
  TempDir picture_;
  std::string path_;
};

struct KindCase {
  TestFaultKind kind;
  DWORD code;
};
const KindCase kKinds[] = {{kAccessViolation, EXCEPTION_ACCESS_VIOLATION},
                           {kDivideByZero, EXCEPTION_INT_DIVIDE_BY_ZERO},
                           {kIllegalInstruction, EXCEPTION_ILLEGAL_INSTRUCTION},
                           {kStackOverflow, EXCEPTION_STACK_OVERFLOW},
                           {kRaisedException, kRaisedCode}};

TEST_F(PluginFaultTest, EachKindOfCrashEndsOnlyTheCallAndReachesTheCallerAsPluginFault) {
  for (const auto& c : kKinds) {
    SCOPED_TRACE(c.code);
    Control(0).faultKind = c.kind;
    Control(0).faultPlaces = kInGetPictureFromFile;
    ui::Bitmap bitmap;
    try {
      PluginGetPicture(0, path_, bitmap);
      ADD_FAILURE() << "no PluginFault";
    } catch (const PluginFault& fault) {
      EXPECT_EQ(fault.Code(), c.code);
    }
    EXPECT_TRUE(bitmap.Empty());
    Control(0).faultPlaces = 0;
    bitmap.SetPixelFormat(ui::PixelFormat::Bits24);
    EXPECT_EQ(PluginGetPicture(0, path_, bitmap), 0);
    EXPECT_EQ(bitmap.Width(), 2);
  }
  const auto log = Log();
  EXPECT_TRUE(std::none_of(log.begin(), log.end(),
                           [](const std::string& line) { return line.find("失敗") != std::string::npos; }));
}

TEST_F(PluginFaultTest, ThousandsOfCrashesInARowLeaveTheProcessHealthy) {
  Control(0).faultPlaces = kInIsSupportedByHandle | kInIsSupportedInMemory;
  Control(1).faultPlaces = kInArchiveInfo;
  bool isArchive = false;
  for (int i = 0; i < 1000; ++i) {
    Control(0).faultKind = kKinds[i % std::size(kKinds)].kind;
    ASSERT_EQ(PluginIsSupported(0, path_, isArchive), 0) << i;
    Control(1).faultKind = kAccessViolation;
    ASSERT_THROW(PluginGetArchiveInfo(1, path_), PluginFault) << i;
  }
  EXPECT_TRUE(Log().empty());
  EXPECT_THROW(throw std::runtime_error("still unwinding"), std::runtime_error);
  Control(0).faultPlaces = 0;
  EXPECT_EQ(PluginIsSupported(0, path_, isArchive), 1);
  // The message loop still runs.
  MSG msg;
  ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP, 7, 0);
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(PluginFaultTest, FloatingPointControlIsRestoredAfterEveryCall) {
  const FpuWords before = ReadFpu();
  Control(0).disturbFpu = 1;
  bool isArchive = false;
  EXPECT_EQ(PluginIsSupported(0, path_, isArchive), 1);
  EXPECT_EQ(ReadFpu(), before);
  Control(0).faultPlaces = kInIsSupportedByHandle | kInIsSupportedInMemory;
  Control(0).faultKind = kDivideByZero;
  EXPECT_EQ(PluginIsSupported(0, path_, isArchive), 0);
  EXPECT_EQ(ReadFpu(), before);
  EXPECT_EQ(RoundHalf(2.5), 2.0);
  EXPECT_EQ(RoundHalf(3.5), 4.0);
  EXPECT_EQ(1.0 / 3.0 * 3.0, 1.0);
}

TEST_F(PluginHostTest, LoadingAndUnloadingALibraryLeaveTheFloatingPointControlAlone) {
  const FpuWords before = ReadFpu();
  LoadPlugin(BuiltPlugin("tinitfpu"));
  ASSERT_EQ(PluginCount, 1);
  EXPECT_EQ(ReadFpu(), before);
  Control(0).finiDisturbsFpu = 1;
  UnloadPlugins();
  EXPECT_EQ(ReadFpu(), before);
  EXPECT_EQ(RoundHalf(2.5), 2.0);
  EXPECT_EQ(1.0 / 3.0 * 3.0, 1.0);
}

TEST_F(PluginHostTest, ACrashWhileALibraryLoadsOrUnloadsEndsOnlyThatStep) {
  LoadPlugin(BuiltPlugin("tinitcrash"));
  EXPECT_EQ(PluginCount, 0);
  LoadPlugin(BuiltPlugin("tpic"));
  ASSERT_EQ(PluginCount, 1);
  EXPECT_EQ(PluginTable[0].fileName, "tpic.spi");
  Control(0).finiCrashKind = kAccessViolation;
  UnloadPlugins();
  EXPECT_EQ(PluginTable[0].handle, nullptr);
  // The host goes on: a library loads and answers again.
  TempDir dir;
  CopyPlugin("tarc", dir / "again.spi");
  LoadPlugins(dir.Path() + "\\");
  ASSERT_EQ(PluginCount, 1);
  bool isArchive = false;
  EXPECT_EQ(PluginIsSupported(0, BuiltPlugin("tarc"), isArchive), 0);
  EXPECT_EQ(Log().size(), 3u);
  UnloadPlugins();  // before its folder goes
}

TEST_F(PluginFaultTest, APluginsOwnHandlersHandleItsOwnExceptionsAndUnwindBeforeTheGuardTakesOver) {
  Control(0).ownHandler = 1;
  bool isArchive = false;
  EXPECT_EQ(PluginIsSupported(0, path_, isArchive), 1);
  EXPECT_EQ(Control(0).ownHandled, 1u);
  EXPECT_EQ(Control(0).ownUnwinds, 0u);

  Control(0).faultPlaces = kInGetPictureFromFile;
  Control(0).faultKind = kAccessViolation;
  ui::Bitmap bitmap;
  EXPECT_THROW(PluginGetPicture(0, path_, bitmap), PluginFault);
  EXPECT_EQ(Control(0).ownHandled, 2u);
  EXPECT_EQ(Control(0).ownUnwinds, 1u);
  Control(0).faultPlaces = 0;
  EXPECT_EQ(PluginGetPicture(0, path_, bitmap), 0);
}

// A function that removes the wrong number of argument bytes.
int __cdecl TakesNothingBack(int a, int b) { return a + b; }

TEST(FaultGuardTest, AFunctionThatLeavesTheStackUnbalancedStillReturnsItsResult) {
  const auto function = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&TakesNothingBack));
  for (int i = 0; i < 100; ++i) {
    const GuardedResult outcome = CallGuardedWith(function, 40, i);
    ASSERT_FALSE(outcome.faulted);
    ASSERT_EQ(outcome.value, 40 + i);
  }
}

}  // namespace
