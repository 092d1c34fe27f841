#include "UserInput.h"

#include <vector>

#include "TestSupport.h"
#include "ui/Application.h"

namespace testing_support {

namespace {

HMENU seenMenu = nullptr;

// Runs inside the menu's own modal loop: notes the menu on screen and ends it.
void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menuWindow = ::FindWindowA("#32768", nullptr);
  if (!menuWindow || !::IsWindowVisible(menuWindow)) return;
  seenMenu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  ::EndMenu();
}

// Input from SendInput is queued; give it time to arrive and be handled.
void HandleInputFor(int milliseconds, const bool* done = nullptr) {
  for (int waited = 0; waited < milliseconds && !(done && *done); waited += 10) {
    PumpMessages();
    ::Sleep(10);
  }
  PumpMessages();
}

}  // namespace

POINT CentreOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ClickAt(POINT screen, bool rightButton) {
  ::SetCursorPos(screen.x, screen.y);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  ::SendInput(2, inputs, sizeof(INPUT));
  HandleInputFor(150);
}

namespace {

void SendMouseAt(POINT screen, DWORD flags) {
  ::SetCursorPos(screen.x, screen.y);
  INPUT input{INPUT_MOUSE};
  input.mi.dwFlags = flags;  // relative and zero: the event happens where the pointer is
  ::SendInput(1, &input, sizeof(INPUT));
  HandleInputFor(40);
}

}  // namespace

void MoveMouseTo(POINT screen) { SendMouseAt(screen, MOUSEEVENTF_MOVE); }

void PressButtonAt(POINT screen, bool rightButton) {
  SendMouseAt(screen, rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
}

void ReleaseButtonAt(POINT screen, bool rightButton) {
  SendMouseAt(screen, rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

POINT ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(window, &p);
  return p;
}

HMENU MenuOpenedBy(const std::function<void()>& action) {
  seenMenu = nullptr;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, CloseOpenMenu);
  action();
  bool seen = false;
  for (int waited = 0; waited < 500 && !seen; waited += 10) {
    HandleInputFor(10);
    seen = seenMenu != nullptr;
  }
  ::KillTimer(nullptr, timer);
  return seenMenu;
}

void PressKey(HWND target, WORD key, bool ctrl) {
  BYTE state[256] = {};
  if (ctrl) state[VK_CONTROL] = 0x80;
  ::SetKeyboardState(state);
  MSG msg{target, WM_KEYDOWN, key, 0};
  ui::Application::Get().HandleMessage(msg);
  BYTE none[256] = {};
  ::SetKeyboardState(none);
}

void PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{INPUT_KEYBOARD};
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT up{INPUT_KEYBOARD};
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  HandleInputFor(200);
}

}  // namespace testing_support
