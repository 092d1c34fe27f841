#include "ui/Timer.h"

#include "ui/Win32Error.h"

namespace ui {

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

Timer::Receiver::Receiver(Timer& owner) : owner_(owner) {
  CreateOwnClass("TTimerReceiver", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
}

// Killing the timer also removes a tick already waiting in the queue.
Timer::Receiver::~Receiver() {
  if (Handle()) ::KillTimer(Handle(), kTimerId);
}

LRESULT Timer::Receiver::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kTimerId) {
    if (owner_.onTimer) owner_.onTimer();
    return 0;
  }
  return Window::WndProc(msg, wParam, lParam);
}

Timer::Timer() : receiver_(*this) {}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void Timer::SetInterval(int interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Restart();
}

// SetTimer on a running timer id replaces it and starts its period over.
void Timer::Restart() {
  if (!enabled_ || interval_ <= 0) {
    ::KillTimer(receiver_.Handle(), kTimerId);
    return;
  }
  if (!::SetTimer(receiver_.Handle(), kTimerId, static_cast<UINT>(interval_), nullptr)) ThrowLastError("SetTimer");
}

}  // namespace ui
