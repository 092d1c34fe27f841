#pragma once
// The arithmetic of placing a picture: fitting it to the screen, the client
// height of the sizable view, keeping a window inside the work area, centring.
// Plain numbers in and out; the window code applies them.

namespace layout {

struct Placement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const Placement&) const = default;
};

// The picture fitted into a screenWidth x screenHeight screen with its aspect
// ratio kept, enlarged or reduced, and centred. A picture without pixels
// (a dimension below 1) gets an empty placement at the screen's centre.
Placement FitToScreen(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight);

// Nearest integral value, ties to the even one, whatever rounding mode the
// floating-point unit has been left in.
long double RoundHalfEven(long double value);

// Client height that gives a window `controlWidth` wide the picture's aspect
// ratio: Round((pictureHeight / pictureWidth) x controlWidth) in extended
// precision, limited to the int range.
int SizableClientHeight(int pictureWidth, int pictureHeight, int controlWidth);

// A window's outer position and size and its client size. The frame (outer
// minus client) never changes, so setting one size moves the other with it.
struct WindowBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int clientWidth = 0;
  int clientHeight = 0;

  void SetWidth(int w) { clientWidth += w - width; width = w; }
  void SetHeight(int h) { clientHeight += h - height; height = h; }
  void SetClientWidth(int w) { width += w - clientWidth; clientWidth = w; }
  void SetClientHeight(int h) { height += h - clientHeight; clientHeight = h; }

  bool operator==(const WindowBox&) const = default;
};

// The eight clamps of a windowed or sizable layout, in their order: push the
// window back from the right and bottom of a workWidth x workHeight area
// measured from (0, 0), shrink the client area to the picture control, shrink
// the window to the area, then pull it back from the left and top.
void ClampToWorkArea(WindowBox& window, int workWidth, int workHeight,
                     int controlWidth, int controlHeight);

struct Point {
  int x = 0;
  int y = 0;

  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// The rubber band from the press at `anchor` to the pointer, normalised
// (left <= right, top <= bottom) and kept inside a control of the given size;
// right and bottom are exclusive, so the band may reach the control's edges.
Rect SelectionBand(Point anchor, Point pointer, int controlWidth, int controlHeight);

// Top-left corner that centres a window of the given outer size in the work
// area; halves truncate toward zero, so an overhang of 3 gives -1.
Point CenterInWorkArea(int workWidth, int workHeight, int windowWidth, int windowHeight);

}  // namespace layout
