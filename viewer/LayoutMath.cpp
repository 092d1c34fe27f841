#include "viewer/LayoutMath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace layout {

// The two aspect ratios are compared as stored doubles, so a picture whose
// ratio rounds to the screen's fills it exactly. The cross products are
// 64-bit: height x screen width passes 32 bits for pictures a few hundred
// thousand pixels long.
Placement FitToScreen(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight) {
  if (pictureWidth < 1 || pictureHeight < 1) {
    return Placement{screenWidth / 2, screenHeight / 2, 0, 0};
  }
  const double screenAspect = double(screenWidth) / screenHeight;
  const double pictureAspect = double(pictureWidth) / pictureHeight;
  Placement p;
  if (pictureAspect == screenAspect) {
    p.height = screenHeight;
    p.width = screenWidth;
  } else if (pictureAspect > screenAspect) {
    p.width = screenWidth;
    p.height = int(int64_t(pictureHeight) * screenWidth / pictureWidth);
  } else {
    p.height = screenHeight;
    p.width = int(int64_t(pictureWidth) * screenHeight / pictureHeight);
  }
  p.left = (screenWidth - p.width) / 2;
  p.top = (screenHeight - p.height) / 2;
  return p;
}

// Built on floor and exact comparisons only: rint and friends follow the
// current rounding mode, which code loaded into the process may have changed.
long double RoundHalfEven(long double value) {
  const long double down = std::floor(value);
  const long double rest = value - down;  // exact
  if (rest > 0.5L) return down + 1;
  if (rest < 0.5L) return down;
  return std::fmod(down, 2.0L) == 0 ? down : down + 1;
}

int SizableClientHeight(int pictureWidth, int pictureHeight, int controlWidth) {
  if (pictureWidth < 1) return 0;
  const long double height =
      RoundHalfEven(static_cast<long double>(pictureHeight) / pictureWidth * controlWidth);
  if (height >= INT_MAX) return INT_MAX;
  if (height <= INT_MIN) return INT_MIN;
  return int(height);
}

void ClampToWorkArea(WindowBox& window, int workWidth, int workHeight,
                     int controlWidth, int controlHeight) {
  if (workWidth < int64_t(window.left) + window.width) window.left = workWidth - window.width;
  if (workHeight < int64_t(window.top) + window.height) window.top = workHeight - window.height;
  if (window.clientWidth > controlWidth) window.SetClientWidth(controlWidth);
  if (window.clientHeight > controlHeight) window.SetClientHeight(controlHeight);
  if (workWidth < window.width) window.SetWidth(workWidth);
  if (workHeight < window.height) window.SetHeight(workHeight);
  if (window.left < 0) window.left = 0;
  if (window.top < 0) window.top = 0;
}

Rect SelectionBand(Point anchor, Point pointer, int controlWidth, int controlHeight) {
  return Rect{std::max(std::min(anchor.x, pointer.x), 0), std::max(std::min(anchor.y, pointer.y), 0),
              std::min(std::max(anchor.x, pointer.x), controlWidth),
              std::min(std::max(anchor.y, pointer.y), controlHeight)};
}

Point CenterInWorkArea(int workWidth, int workHeight, int windowWidth, int windowHeight) {
  return Point{(workWidth - windowWidth) / 2, (workHeight - windowHeight) / 2};
}

}  // namespace layout
