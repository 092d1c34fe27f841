#pragma once
// Mouse and keyboard input as a user's hand gives it: SendInput at a point on the screen,
// so that the window system's own hit testing picks the window that gets it.
#include <windows.h>

#include <functional>
#include <initializer_list>

namespace testing_support {

// The centre of a window, in screen coordinates.
POINT CentreOf(HWND window);
// Moves the pointer there, presses and releases a button, and handles the
// messages that follow.
void ClickAt(POINT screen, bool rightButton = false);
// A press, moves and release as the hand gives them: the pointer is placed,
// then one input event at that point is sent and what follows is handled.
void MoveMouseTo(POINT screen);
void PressButtonAt(POINT screen, bool rightButton = false);
void ReleaseButtonAt(POINT screen, bool rightButton = false);
// A point of a window's client area, in screen coordinates.
POINT ScreenPoint(HWND window, int x, int y);
// The menu that `action` opened (it is closed again at once), or null.
HMENU MenuOpenedBy(const std::function<void()>& action);

// Presses a key as the message loop would deliver it to `target`.
void PressKey(HWND target, WORD key, bool ctrl = false);
// Presses the keys in order and releases them in reverse order through the
// window system (to the focused window), then handles what follows.
void PressChord(std::initializer_list<WORD> keys);

}  // namespace testing_support
