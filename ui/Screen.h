#pragma once
// The screen size and the desktop work area, read afresh on every call. Tests
// replace them with fixed values (for example a 1024 x 768 screen whose task
// bar stands along the left edge).
#include <windows.h>

#include <optional>

namespace ui {

struct ScreenMetrics {
  int width;
  int height;
  RECT workArea;
};

int ScreenWidth();
int ScreenHeight();
RECT WorkArea();

// Replaces the system's answers until called again with nothing.
void OverrideScreen(std::optional<ScreenMetrics> metrics);

}  // namespace ui
