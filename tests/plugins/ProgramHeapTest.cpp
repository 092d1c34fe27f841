#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "PluginTestSupport.h"
#include "app/ProgramHeap.h"
#include "plugins/SpiFunc.h"
#include "ui/Bitmap.h"

using namespace plugin_testing;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

// The heap of the process that holds `block`, or null.
HANDLE HeapHolding(const void* block) {
  HANDLE heaps[256];
  const DWORD count = ::GetProcessHeaps(std::size(heaps), heaps);
  for (DWORD i = 0; i < count && i < std::size(heaps); ++i) {
    if (::HeapValidate(heaps[i], 0, block)) return heaps[i];
  }
  return nullptr;
}

struct alignas(64) Wide {
  char bytes[64];
};

TEST(ProgramHeapTest, EveryFormOfNewGivesUsableMemoryOfTheRightAlignment) {
  const auto aligned = std::make_unique<Wide[]>(3);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned.get()) % 64, 0u);
  const std::unique_ptr<Wide> one(new (std::nothrow) Wide{});
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(one.get()) % 64, 0u);
  const std::unique_ptr<int> empty(static_cast<int*>(::operator new(0)));
  const std::unique_ptr<int> otherEmpty(static_cast<int*>(::operator new(0)));
  EXPECT_NE(empty.get(), otherEmpty.get());
  std::vector<std::string> texts(500, std::string(100, 't'));
  texts.resize(10);
  EXPECT_TRUE(::HeapValidate(HeapHolding(texts.data()), 0, nullptr));
  volatile size_t tooMuch = SIZE_MAX - 16;
  EXPECT_THROW(static_cast<void>(::operator new(tooMuch)), std::bad_alloc);
  EXPECT_EQ(::operator new(tooMuch, std::nothrow), nullptr);
}

// A plug-in that writes past a block of the C runtime's heap and then crashes,
// as a real decoder did on one kind of picture.
TEST(ProgramHeapTest, APluginThatDamagesTheCRuntimeHeapLeavesOurMemoryIntact) {
  TempDir dir;
  WriteFileBytes(dir / "a.tpic", SmallPictureFile());
  LoadPlugin(BuiltPlugin("tpic"));
  ASSERT_EQ(PluginCount, 1);
  void* runtimeBlock = std::malloc(16);
  const HANDLE runtimeHeap = HeapHolding(runtimeBlock);
  std::free(runtimeBlock);
  auto ours = std::make_unique<std::string>(1000, 'o');
  const HANDLE ourHeap = HeapHolding(ours->data());
  ASSERT_EQ(ourHeap, ProgramHeap());

  Control(0).overrunHeap = 1;
  Control(0).faultPlaces = kInGetPictureFromFile;
  Control(0).faultKind = kAccessViolation;
  ui::Bitmap bitmap;
  bitmap.SetPixelFormat(ui::PixelFormat::Bits24);
  EXPECT_THROW(PluginGetPicture(0, dir / "a.tpic", bitmap), PluginFault);
  EXPECT_FALSE(::HeapValidate(runtimeHeap, 0, nullptr)) << "the plug-in damaged nothing";
  EXPECT_TRUE(::HeapValidate(ourHeap, 0, nullptr));

  // The program goes on: our memory comes and goes, and the next picture decodes.
  for (int i = 0; i < 1000; ++i) ours = std::make_unique<std::string>(i, 'n');
  Control(0).overrunHeap = 0;
  Control(0).faultPlaces = 0;
  EXPECT_EQ(PluginGetPicture(0, dir / "a.tpic", bitmap), 0);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_TRUE(::HeapValidate(ourHeap, 0, nullptr));
  UnloadPlugins();
}

}  // namespace
