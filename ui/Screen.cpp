#include "ui/Screen.h"

namespace ui {

static std::optional<ScreenMetrics>& Override() {
  static std::optional<ScreenMetrics> metrics;
  return metrics;
}

int ScreenWidth() { return Override() ? Override()->width : ::GetSystemMetrics(SM_CXSCREEN); }

int ScreenHeight() { return Override() ? Override()->height : ::GetSystemMetrics(SM_CYSCREEN); }

RECT WorkArea() {
  if (Override()) return Override()->workArea;
  RECT rect{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
  return rect;
}

void OverrideScreen(std::optional<ScreenMetrics> metrics) { Override() = metrics; }

}  // namespace ui
