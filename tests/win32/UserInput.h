#pragma once
// Mouse input as a user's hand gives it: SendInput at a point on the screen,
// so that the window system's own hit testing picks the window that gets it.
#include <windows.h>

#include <functional>

namespace testing_support {

// The centre of a window, in screen coordinates.
POINT CentreOf(HWND window);
// Moves the pointer there, presses and releases a button, and handles the
// messages that follow.
void ClickAt(POINT screen, bool rightButton = false);
// The menu that `action` opened (it is closed again at once), or null.
HMENU MenuOpenedBy(const std::function<void()>& action);

}  // namespace testing_support
