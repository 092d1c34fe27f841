#include "viewer/ImgCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// How rows are stored: top-down or bottom-up, and `pad` bytes after each row
// (-1: up to a multiple of 4, as in a DIB section). With no padding the last
// pixel ends the buffer, so the sanitizer sees any access past it.
struct Layout {
  bool bottomUp;
  int pad;
};

// A 24-bit picture in a buffer of its own. Padding bytes hold a marker so
// that a write past a row's end shows.
class Picture {
 public:
  static constexpr uint8_t kPadMarker = 0xA5;

  Picture(int width, int height, Layout layout = {false, -1})
      : width_(width), height_(height), bottomUp_(layout.bottomUp),
        storedStride_(layout.pad < 0 ? (3 * width + 3) / 4 * 4 : 3 * width + layout.pad),
        bytes_(size_t(storedStride_) * (height > 0 ? height : 0), kPadMarker) {
    for (int y = 0; y < height; ++y) Fill(y, 0);
  }

  Rgb24View View() {
    if (!bottomUp_ || height_ < 1) return Rgb24View{bytes_.data(), width_, height_, storedStride_};
    return Rgb24View{bytes_.data() + size_t(height_ - 1) * storedStride_, width_, height_,
                     -ptrdiff_t(storedStride_)};
  }

  uint8_t* Pixel(int x, int y) { return View().Row(y) + 3 * x; }
  void Set(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
    uint8_t* p = Pixel(x, y);
    p[0] = b, p[1] = g, p[2] = r;
  }
  void Fill(int y, uint8_t value) { std::fill_n(View().Row(y), 3 * width_, value); }

  void Randomize(uint32_t seed) {
    std::mt19937 random(seed);
    for (int y = 0; y < height_; ++y) {
      for (int i = 0; i < 3 * width_; ++i) View().Row(y)[i] = uint8_t(random() >> 24);
    }
  }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  bool PaddingIntact() const {
    for (size_t i = 0; i < bytes_.size(); ++i) {
      if (i % size_t(storedStride_) >= size_t(3 * width_) && bytes_[i] != kPadMarker) return false;
    }
    return true;
  }

 private:
  int width_, height_;
  bool bottomUp_;
  ptrdiff_t storedStride_;
  std::vector<uint8_t> bytes_;
};

using ResampleFn = bool (*)(const Rgb24View&, const ConstRgb24View&);
struct Implementation {
  const char* name;
  ResampleFn fn;
};
const Implementation kImplementations[] = {
    {"shipped", ResampleBilinear},
    {"reference", ResampleBilinearReference},
};

// The table as exact integer arithmetic gives it.
SampleStep ExactStep(int d, int destSize, int sourceSize) {
  const int64_t n = int64_t(d) * sourceSize;
  const int32_t i0 = int32_t(n / destSize);
  const int32_t f = int32_t(n % destSize * 16 / destSize);
  return SampleStep{i0, std::min(i0 + 1, sourceSize - 1), f, 16 - f};
}

TEST(ImgCtrl, SampleTableMatchesExactQuotients) {
  const struct { int dest, source; } cases[] = {
      {1, 1},     {5, 5},     {8, 4},     {4, 8},         {7, 3},         {3, 7},
      {1024, 1},  {1, 1024},  {1280, 4000}, {768, 600},   {1024, 1000},
      // 32-bit products d x source overflow from here on.
      {60000, 40000}, {40000, 60000}, {53690, 40000},
  };
  for (const auto& c : cases) {
    std::vector<SampleStep> table(c.dest);
    FillSampleTable(table.data(), c.dest, c.source);
    for (int d = 0; d < c.dest; ++d) {
      const SampleStep want = ExactStep(d, c.dest, c.source);
      ASSERT_TRUE(table[d].i0 == want.i0 && table[d].i1 == want.i1 && table[d].f == want.f &&
                  table[d].g == want.g)
          << c.source << " -> " << c.dest << " at " << d << ": got " << table[d].i0 << ','
          << table[d].i1 << ',' << table[d].f << ',' << table[d].g << " want " << want.i0 << ','
          << want.i1 << ',' << want.f << ',' << want.g;
    }
  }
}

struct SizeCase {
  int sw, sh, dw, dh;
};

// Random pictures through both versions, top-down and bottom-up, with and
// without row padding: the results must be identical and no padding byte may
// change.
TEST(ImgCtrl, ShippedMatchesReference) {
  const SizeCase cases[] = {
      {7, 5, 7, 5},       {1, 1, 5, 3},       {1, 9, 13, 4},     {9, 1, 4, 6},
      {2, 3, 4, 3},       {5, 3, 17, 11},     {17, 13, 5, 4},    {33, 7, 31, 9},
      {6, 4, 1, 1},       {6, 4, 2, 2},       {6, 4, 3, 3},      {6, 4, 4, 4},
      {6, 4, 5, 5},       {6, 4, 6, 6},       {6, 4, 9, 9},      {3, 2, 5, 40},
      {1, 1, 70, 2},      {600, 400, 192, 128}, {80, 60, 102, 77}, {100, 50, 103, 51},
      {255, 3, 1021, 4},  {1021, 4, 255, 3},  {64, 5, 9, 3},     {50, 3, 25, 2},
      {41, 2, 20, 2},     {1000, 2, 13, 2},   {23, 3, 11, 2},    {12, 4, 6, 2},
  };
  const Layout layouts[] = {{false, -1}, {true, -1}, {false, 0}, {true, 0}, {false, 5}};
  uint32_t seed = 1;
  for (const auto& c : cases) {
    for (const Layout& layout : layouts) {
      SCOPED_TRACE(testing::Message() << c.sw << 'x' << c.sh << " -> " << c.dw << 'x' << c.dh
                                      << (layout.bottomUp ? " bottom-up" : " top-down")
                                      << " pad " << layout.pad);
      Picture src(c.sw, c.sh, layout);
      src.Randomize(seed++);
      const std::vector<uint8_t> original = src.Bytes();
      Picture fast(c.dw, c.dh, layout), plain(c.dw, c.dh, layout);
      ASSERT_TRUE(ResampleBilinear(fast.View(), src.View()));
      ASSERT_TRUE(ResampleBilinearReference(plain.View(), src.View()));
      EXPECT_EQ(fast.Bytes(), plain.Bytes());
      EXPECT_EQ(src.Bytes(), original);
      EXPECT_TRUE(fast.PaddingIntact());
    }
  }
}

TEST(ImgCtrl, ResamplingToTheSameSizeCopiesEveryPixel) {
  for (const auto& impl : kImplementations) {
    Picture src(37, 11);
    src.Randomize(7);
    Picture dst(37, 11);
    ASSERT_TRUE(impl.fn(dst.View(), src.View())) << impl.name;
    EXPECT_EQ(dst.Bytes(), src.Bytes()) << impl.name;
  }
}

// Doubling a width: even columns are the source columns, odd ones an equal
// blend of two neighbours (f = 8), and the last repeats the last source column.
TEST(ImgCtrl, DoublingAWidthBlendsNeighboursHalfAndHalf) {
  for (const auto& impl : kImplementations) {
    const int w = 9;
    Picture src(w, 2);
    src.Randomize(11);
    Picture dst(2 * w, 2);
    ASSERT_TRUE(impl.fn(dst.View(), src.View())) << impl.name;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 2 * w; ++x) {
        const int k = x / 2;
        const int next = (x % 2 == 1 && k + 1 < w) ? k + 1 : k;
        for (int c = 0; c < 3; ++c) {
          const int want = (src.Pixel(k, y)[c] + src.Pixel(next, y)[c]) >> 1;
          ASSERT_EQ(dst.Pixel(x, y)[c], want) << impl.name << " x=" << x << " y=" << y;
        }
      }
    }
  }
}

TEST(ImgCtrl, OnePixelWideOrHighSourcesAreRepeated) {
  for (const auto& impl : kImplementations) {
    Picture column(1, 6);
    column.Randomize(3);
    Picture wide(23, 6);
    ASSERT_TRUE(impl.fn(wide.View(), column.View())) << impl.name;
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 23; ++x) {
        ASSERT_TRUE(std::equal(column.Pixel(0, y), column.Pixel(0, y) + 3, wide.Pixel(x, y)))
            << impl.name << " x=" << x << " y=" << y;
      }
    }
    Picture row(6, 1);
    row.Randomize(4);
    Picture tall(6, 19);
    ASSERT_TRUE(impl.fn(tall.View(), row.View())) << impl.name;
    for (int y = 0; y < 19; ++y) {
      for (int x = 0; x < 6; ++x) {
        ASSERT_TRUE(std::equal(row.Pixel(x, 0), row.Pixel(x, 0) + 3, tall.Pixel(x, y)))
            << impl.name << " x=" << x << " y=" << y;
      }
    }
  }
}

// A 40000-pixel source row stretched to 60000: the sample positions need
// 64-bit products. Each source pixel carries its own index.
TEST(ImgCtrl, VeryWideSourceSamplesTheRightColumns) {
  const int sw = 40000, dw = 60000;
  Picture src(sw, 1);
  for (int i = 0; i < sw; ++i) src.Set(i, 0, uint8_t(i), uint8_t(i >> 8), uint8_t(i >> 16));
  for (const auto& impl : kImplementations) {
    Picture dst(dw, 1);
    ASSERT_TRUE(impl.fn(dst.View(), src.View())) << impl.name;
    for (int d = 0; d < dw; ++d) {
      const SampleStep s = ExactStep(d, dw, sw);
      for (int c = 0; c < 3; ++c) {
        const int want = (s.g * src.Pixel(s.i0, 0)[c] + s.f * src.Pixel(s.i1, 0)[c]) >> 4;
        ASSERT_EQ(dst.Pixel(d, 0)[c], want) << impl.name << " d=" << d << " c=" << c;
      }
    }
  }
}

// Unusable views give false and leave both pictures exactly as they were.
TEST(ImgCtrl, UnusableViewsAreRefusedWithoutWriting) {
  Picture src(4, 4), dst(4, 4);
  src.Randomize(5);
  dst.Randomize(6);
  const std::vector<uint8_t> srcBefore = src.Bytes(), dstBefore = dst.Bytes();
  const Rgb24View s = src.View(), d = dst.View();
  const struct {
    const char* what;
    Rgb24View dst;
    Rgb24View src;
  } cases[] = {
      {"destination width 0", {d.bits, 0, 4, d.stride}, s},
      {"destination height 0", {d.bits, 4, 0, d.stride}, s},
      {"source width 0", d, {s.bits, 0, 4, s.stride}},
      {"source height 0", d, {s.bits, 4, 0, s.stride}},
      {"negative width", {d.bits, -4, 4, d.stride}, s},
      {"no destination pixels", {nullptr, 4, 4, d.stride}, s},
      {"no source pixels", d, {nullptr, 4, 4, s.stride}},
      {"overlapping destination rows", {d.bits, 4, 4, 11}, s},
      {"overlapping source rows", d, {s.bits, 4, 4, -11}},
  };
  for (const auto& impl : kImplementations) {
    for (const auto& c : cases) {
      EXPECT_FALSE(impl.fn(c.dst, c.src)) << impl.name << ": " << c.what;
      EXPECT_EQ(dst.Bytes(), dstBefore) << impl.name << ": " << c.what;
      EXPECT_EQ(src.Bytes(), srcBefore) << impl.name << ": " << c.what;
    }
  }
}

// With a 32-bit size_t a column table for 2^28 columns does not fit the
// address space; the size must be refused, not wrapped into a small block.
TEST(ImgCtrl, TableTooLargeForTheAddressSpaceIsRefused) {
  if (sizeof(size_t) > 4) GTEST_SKIP() << "only reachable with 32-bit addresses";
  uint8_t pixels[3] = {1, 2, 3};
  uint8_t target[3] = {9, 9, 9};
  const int width = 1 << 28;
  const Rgb24View dst{target, width, 1, 3 * ptrdiff_t(width)};
  const ConstRgb24View src{pixels, 1, 1, 3};
  for (const auto& impl : kImplementations) {
    EXPECT_FALSE(impl.fn(dst, src)) << impl.name;
    EXPECT_EQ(target[0], 9) << impl.name;
  }
}

}  // namespace
