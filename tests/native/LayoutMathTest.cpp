#include "viewer/LayoutMath.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cmath>
#include <ostream>

namespace layout {

std::ostream& operator<<(std::ostream& os, const Placement& p) {
  return os << '(' << p.left << ',' << p.top << ") " << p.width << 'x' << p.height;
}
std::ostream& operator<<(std::ostream& os, const WindowBox& w) {
  return os << '(' << w.left << ',' << w.top << ") " << w.width << 'x' << w.height << " client "
            << w.clientWidth << 'x' << w.clientHeight;
}
std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
}
std::ostream& operator<<(std::ostream& os, const Point& p) {
  return os << '(' << p.x << ',' << p.y << ')';
}

}  // namespace layout

namespace {

using layout::Placement;
using layout::WindowBox;

TEST(LayoutMath, FitToScreenKeepsTheAspectRatioAndCentres) {
  const struct {
    int sw, sh, pw, ph;
    Placement want;
  } cases[] = {
      {1024, 768, 800, 600, {0, 0, 1024, 768}},      // same ratio fills the screen
      {1024, 768, 1024, 768, {0, 0, 1024, 768}},
      {1024, 768, 1000, 500, {0, 128, 1024, 512}},   // wider: full width
      {1024, 768, 300, 600, {320, 0, 384, 768}},     // taller: full height
      {1024, 768, 10, 10, {128, 0, 768, 768}},       // small pictures are enlarged
      {1024, 768, 301, 600, {319, 0, 385, 768}},     // (1024 - 385) / 2 truncates
      {1024, 768, 40000, 300, {0, 380, 1024, 7}},
      // Cross products beyond 32 bits.
      {3840, 2160, 4000000, 600000, {0, 792, 3840, 576}},
      {3840, 2160, 1000000, 4000000, {1650, 0, 540, 2160}},
      // No pixels: nothing to fit.
      {1024, 768, 0, 600, {512, 384, 0, 0}},
      {1024, 768, 800, 0, {512, 384, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(layout::FitToScreen(c.sw, c.sh, c.pw, c.ph), c.want)
        << c.pw << 'x' << c.ph << " on " << c.sw << 'x' << c.sh;
  }
}

// Sets a rounding mode for one scope, as foreign code in the process might.
class RoundingMode {
 public:
  explicit RoundingMode(int mode) : saved_(std::fegetround()) { std::fesetround(mode); }
  ~RoundingMode() { std::fesetround(saved_); }

 private:
  int saved_;
};

const int kRoundingModes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};

TEST(LayoutMath, RoundHalfEvenInEveryRoundingMode) {
  const struct {
    long double value, want;
  } cases[] = {
      {0.5L, 0},      {1.5L, 2},      {2.5L, 2},       {3.5L, 4},     {100.5L, 100},
      {101.5L, 102},  {-0.5L, 0},     {-1.5L, -2},     {-2.5L, -2},   {2.4999L, 2},
      {2.5001L, 3},   {7, 7},         {-7, -7},        {1e30L, 1e30L},
      {std::nextafter(0.5L, 0.0L), 0}, {std::nextafter(2.5L, 3.0L), 3},
  };
  for (int mode : kRoundingModes) {
    RoundingMode scope(mode);
    for (const auto& c : cases) {
      EXPECT_EQ(layout::RoundHalfEven(c.value), c.want) << double(c.value) << " mode " << mode;
    }
  }
}

TEST(LayoutMath, SizableClientHeightTakesThePicturesAspect) {
  const struct {
    int pw, ph, controlWidth, want;
  } cases[] = {
      {200, 100, 201, 100},  // Round(100.5): ties go to even
      {200, 100, 203, 102},  // Round(101.5)
      {200, 100, 200, 100},
      {3, 1, 300, 100},      // 1/3 is inexact; the product lands next to 100
      {3, 2, 100, 67},       // 66.67
      {100, 200, 51, 102},
      {1, INT_MAX, 2, INT_MAX},  // beyond int: held at the limit
      {0, 100, 200, 0},          // no width: no aspect
  };
  for (int mode : kRoundingModes) {
    RoundingMode scope(mode);
    for (const auto& c : cases) {
      EXPECT_EQ(layout::SizableClientHeight(c.pw, c.ph, c.controlWidth), c.want)
          << c.pw << 'x' << c.ph << " at width " << c.controlWidth << " mode " << mode;
    }
  }
}

// A window with a frame 8 wide and 27 tall, in a 1000 x 700 work area.
WindowBox Framed(int left, int top, int clientWidth, int clientHeight) {
  return WindowBox{left, top, clientWidth + 8, clientHeight + 27, clientWidth, clientHeight};
}

TEST(LayoutMath, ClampsKeepTheWindowInsideTheWorkArea) {
  const struct {
    const char* what;
    WindowBox window;
    int controlWidth, controlHeight;
    WindowBox want;
  } cases[] = {
      {"fits", Framed(10, 20, 300, 200), 300, 200, Framed(10, 20, 300, 200)},
      {"larger than the area", Framed(50, 40, 2000, 1500), 2000, 1500,
       WindowBox{0, 0, 1000, 700, 992, 673}},
      {"overhangs right", Framed(900, 100, 300, 200), 300, 200, Framed(692, 100, 300, 200)},
      {"overhangs bottom", Framed(10, 600, 300, 200), 300, 200, Framed(10, 473, 300, 200)},
      {"ends exactly at the edges", Framed(692, 473, 300, 200), 300, 200,
       Framed(692, 473, 300, 200)},
      {"client larger than the picture", Framed(0, 0, 500, 400), 300, 200, Framed(0, 0, 300, 200)},
      // The push back uses the width before the client shrinks.
      {"overhangs and larger than the picture", Framed(800, 0, 500, 200), 300, 200,
       Framed(492, 0, 300, 200)},
      {"left of the area", Framed(-50, -5, 300, 200), 300, 200, Framed(0, 0, 300, 200)},
      {"wider only", Framed(300, 10, 1500, 200), 1500, 200, WindowBox{0, 10, 1000, 227, 992, 200}},
  };
  for (const auto& c : cases) {
    WindowBox window = c.window;
    layout::ClampToWorkArea(window, 1000, 700, c.controlWidth, c.controlHeight);
    EXPECT_EQ(window, c.want) << c.what;
  }
}

TEST(LayoutMath, SelectionBandIsNormalisedAndKeptOnThePicture) {
  const struct {
    const char* what;
    layout::Point anchor, pointer;
    layout::Rect want;
  } cases[] = {
      {"down and right", {10, 20}, {50, 60}, {10, 20, 50, 60}},
      {"up and left", {50, 60}, {10, 20}, {10, 20, 50, 60}},
      {"up and right", {50, 60}, {90, 5}, {50, 5, 90, 60}},
      {"no movement", {30, 30}, {30, 30}, {30, 30, 30, 30}},
      {"past the left and top", {30, 40}, {-7, -1}, {0, 0, 30, 40}},
      {"past the right and bottom", {30, 40}, {500, 300}, {30, 40, 200, 100}},
      {"up to the edge, exclusive", {0, 0}, {200, 100}, {0, 0, 200, 100}},
      {"far away", {199, 99}, {INT_MIN, INT_MAX}, {0, 99, 199, 100}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(layout::SelectionBand(c.anchor, c.pointer, 200, 100), c.want) << c.what;
  }
}

TEST(LayoutMath, CentringTruncatesTowardZero) {
  const struct {
    int width, height;
    layout::Point want;
  } cases[] = {
      {308, 227, {346, 236}},
      {1000, 700, {0, 0}},
      {1003, 700, {-1, 0}},  // floor would give -2
      {1005, 705, {-2, -2}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(layout::CenterInWorkArea(1000, 700, c.width, c.height), c.want)
        << c.width << 'x' << c.height;
  }
}

}  // namespace
