// ifpixolet.spi as a host sees it: loaded from its folder by our plug-in host,
// asked and decoded through the host, and called directly for the parts of
// the interface that the host does not use.
#include "OwnPlugins.h"
#include "PictureFixtures.h"
#include "PluginTestSupport.h"
#include "plugins/SpiFunc.h"
#include "spi/common/SpiTypes.h"
#include "ui/Bitmap.h"

#include <cstring>

using namespace plugin_testing;
using namespace spi_testing;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

using GetPictureFunction = int(__stdcall*)(const char*, long, unsigned, HLOCAL*, HLOCAL*, spi::SpiProgressCallback,
                                           long);
using GetPictureInfoFunction = int(__stdcall*)(const char*, long, unsigned, spi::PictureInfo*);
using IsSupportedFunction = int(__stdcall*)(const char*, DWORD_PTR);

class PicturePluginTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    LoadPlugins(SusieFolder());
    row_ = RowOf("ifpixolet.spi");
    ASSERT_GE(row_, 0);
    ClearLog();
    LogPluginInfo(row_);
    bitmap_.SetPixelFormat(ui::PixelFormat::Bits24);
  }
  template <typename Function>
  Function Export(const char* name) {
    return spi_testing::Export<Function>(row_, name);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    WriteFileBytes(dir_ / name, bytes);
    return dir_ / name;
  }
  // Every pixel of the host's bitmap against the plug-in's decoder run here.
  void ExpectShown(const std::string& file) {
    const spi::Dib expected = Decode(file);
    ASSERT_EQ(bitmap_.Width(), expected.width);
    ASSERT_EQ(bitmap_.Height(), expected.height);
    for (int y = 0; y < expected.height; ++y) {
      for (int x = 0; x < expected.width; ++x) {
        const auto bgr = PixelAt(expected, x, y);
        ASSERT_EQ(::GetPixel(bitmap_.Dc(), x, y), RGB(bgr[2], bgr[1], bgr[0])) << x << "," << y;
      }
    }
  }

  int row_ = -1;
  TempDir dir_;
  ui::Bitmap bitmap_;
};

TEST_F(PicturePluginTest, TheHostTakesItForAPicturePlugin) {
  EXPECT_FALSE(PluginTable[row_].isArchive);
  const auto log = Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1], "APIバージョン : 00IN");
  EXPECT_EQ(log[3], "ファイル形式  : *.png: PNG; *.gif: GIF; *.webp: WebP; ");
}

TEST_F(PicturePluginTest, EachFormatIsRecognisedByItsContentAndShownByTheHost) {
  const std::string files[] = {
      PngSuiteFile("basn6a16.png"),  // 16-bit RGBA: overruns the buffers of other plug-ins
      PngSuiteFile("ibasn3p08.png"),
      EncodeGif(7, 5, {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}}, {GifFrame{1, 1, 2, 2, {1, 2, 2, 1}, {}, 2}}),
      EncodeWebp(Gradient(9, 6), true),
      EncodeAnimatedWebp({Gradient(5, 5), Pixels(5, 5)}),
  };
  for (const std::string& file : files) {
    const std::string path = Write("picture.dat", file);  // no telling extension
    bool isArchive = true;
    ASSERT_EQ(PluginIsSupported(row_, path, isArchive), 1);
    EXPECT_FALSE(isArchive);
    ASSERT_EQ(PluginGetPicture(row_, path, bitmap_), 0);
    ExpectShown(file);
  }
  bool isArchive = false;
  EXPECT_EQ(PluginIsSupported(row_, Write("text.png", "not a picture"), isArchive), 0);
}

TEST_F(PicturePluginTest, DecodesFromMemoryAndFromAnOffsetInAFile) {
  const std::string png = PngSuiteFile("basn2c16.png");
  const auto getPicture = Export<GetPictureFunction>("GetPicture");
  HLOCAL info = nullptr, bits = nullptr;
  ASSERT_EQ(getPicture(png.data(), static_cast<long>(png.size()), spi::kSourceMemory, &info, &bits, nullptr, 0), 0);
  const spi::Dib expected = Decode(png);
  {
    const ui::LocalLockGuard header(info), pixels(bits);
    const auto* bih = static_cast<const BITMAPINFOHEADER*>(header.Ptr());
    EXPECT_EQ(bih->biWidth, 32);
    EXPECT_EQ(bih->biHeight, 32);  // bottom-up
    EXPECT_EQ(bih->biBitCount, 24);
    ASSERT_EQ(::LocalSize(bits), expected.bits.size());
    EXPECT_EQ(std::memcmp(pixels.Ptr(), expected.bits.data(), expected.bits.size()), 0);
  }
  ::LocalFree(info);
  ::LocalFree(bits);

  const std::string path = Write("packed.bin", std::string(100, 'x') + png);
  ASSERT_EQ(getPicture(path.c_str(), 100, spi::kSourceFile, &info, &bits, nullptr, 0), 0);
  EXPECT_EQ(::LocalSize(bits), expected.bits.size());
  ::LocalFree(info);
  ::LocalFree(bits);
}

int __stdcall StopAtOnce(int, int, long userValue) {
  ++*reinterpret_cast<int*>(userValue);
  return 1;
}

TEST_F(PicturePluginTest, FailuresAnswerTheirCodesAndHandOutNoHandles) {
  const std::string png = PngSuiteFile("basn6a08.png");
  struct Case {
    const char* what;
    std::string path;
    spi::SpiProgressCallback progress;
    int result;
  };
  const Case cases[] = {
      {"stopped by the host", Write("a.png", png), StopAtOnce, 1},
      {"not a picture", Write("b.png", "BM not ours"), nullptr, 2},
      {"truncated", Write("c.png", png.substr(0, png.size() / 2)), nullptr, 3},
      {"missing", dir_ / "none.png", nullptr, 6},
  };
  const auto getPicture = Export<GetPictureFunction>("GetPicture");
  for (const Case& c : cases) {
    HLOCAL info = reinterpret_cast<HLOCAL>(1), bits = reinterpret_cast<HLOCAL>(1);
    int calls = 0;
    EXPECT_EQ(getPicture(c.path.c_str(), 0, spi::kSourceFile, &info, &bits, c.progress,
                         reinterpret_cast<long>(&calls)),
              c.result)
        << c.what;
    EXPECT_EQ(info, nullptr) << c.what;
    EXPECT_EQ(bits, nullptr) << c.what;
    EXPECT_EQ(calls, c.progress ? 1 : 0);
  }
}

TEST_F(PicturePluginTest, IsSupportedTakesAHandleTheFirstBytesOrThePathWhenTheHandleIsInvalid) {
  const std::string gif = EncodeGif(2, 2, {{0, 0, 0}, {9, 9, 9}}, {GifFrame{0, 0, 2, 2, {0, 1, 1, 0}}});
  const std::string path = Write("g.gif", gif);
  const auto isSupported = Export<IsSupportedFunction>("IsSupported");
  std::string head = gif;
  head.resize(2048, '\0');
  EXPECT_EQ(isSupported(path.c_str(), reinterpret_cast<DWORD_PTR>(head.data())), 1);
  head[0] = 'X';
  EXPECT_EQ(isSupported(path.c_str(), reinterpret_cast<DWORD_PTR>(head.data())), 0);
  EXPECT_EQ(isSupported(path.c_str(), reinterpret_cast<DWORD_PTR>(INVALID_HANDLE_VALUE)), 1);
  EXPECT_EQ(isSupported((dir_ / "none.gif").c_str(), reinterpret_cast<DWORD_PTR>(INVALID_HANDLE_VALUE)), 0);
}

TEST_F(PicturePluginTest, PictureInfoGivesSidesAndDepth) {
  const auto getPictureInfo = Export<GetPictureInfoFunction>("GetPictureInfo");
  const std::string path = Write("p.png", PngSuiteFile("basn4a16.png"));
  spi::PictureInfo info{};
  info.textInfo = reinterpret_cast<HLOCAL>(1);
  ASSERT_EQ(getPictureInfo(path.c_str(), 0, spi::kSourceFile, &info), 0);
  EXPECT_EQ(info.width, 32);
  EXPECT_EQ(info.height, 32);
  EXPECT_EQ(info.colorDepth, 32);  // 16-bit grey and alpha
  EXPECT_EQ(info.textInfo, nullptr);
}

}  // namespace
