// The window timer in real time. Ticks are never early, only late, so each
// check waits well past the moment it is about and fails only on a wrong tick.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "TestSupport.h"
#include "ui/Timer.h"

using namespace testing_support;

namespace {

struct TickLog {
  std::vector<DWORD> at;  // GetTickCount of each tick
  explicit TickLog(ui::Timer& timer) {
    timer.onTimer = [this] { at.push_back(::GetTickCount()); };
  }
};

// Handles messages for `ms` milliseconds.
void PumpFor(DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    PumpMessages();
    ::Sleep(5);
  }
}

// Handles messages until the first tick, for at most five seconds: a busy
// machine may deliver a tick late, and lateness is not what is checked.
void PumpUntilTick(const TickLog& log) {
  const DWORD start = ::GetTickCount();
  while (log.at.empty() && ::GetTickCount() - start < 5000) {
    PumpMessages();
    ::Sleep(5);
  }
}

TEST(Timer, AnIntervalOfZeroOrLessNeverTicks) {
  for (const int interval : {0, -5}) {
    ui::Timer timer;
    TickLog log(timer);
    timer.SetInterval(interval);
    timer.SetEnabled(true);
    PumpFor(150);
    EXPECT_TRUE(log.at.empty()) << interval;
  }
}

TEST(Timer, OnlyAChangedValueStartsThePeriodOver) {
  ui::Timer timer;
  TickLog log(timer);
  timer.SetInterval(400);
  const DWORD start = ::GetTickCount();
  timer.SetEnabled(true);
  PumpFor(250);
  timer.SetInterval(400);  // the same: the period goes on
  timer.SetEnabled(true);
  PumpUntilTick(log);
  ASSERT_FALSE(log.at.empty());
  // Restarted at 250 ms it could not tick before 650 ms.
  EXPECT_LT(log.at.front() - start, 640u);

  log.at.clear();
  const DWORD restart = ::GetTickCount();
  timer.SetInterval(300);  // a new value: a full new period from now
  PumpFor(200);
  EXPECT_TRUE(log.at.empty());
  PumpUntilTick(log);
  ASSERT_FALSE(log.at.empty());
  EXPECT_GE(log.at.front() - restart, 290u);
}

TEST(Timer, DisablingStopsTicksAlreadyDue) {
  ui::Timer timer;
  TickLog log(timer);
  timer.SetInterval(20);
  timer.SetEnabled(true);
  ::Sleep(100);  // a tick is due, not yet handled
  timer.SetEnabled(false);
  PumpFor(100);
  EXPECT_TRUE(log.at.empty());
}

// A message box runs a loop of its own; ticks still arrive in it.
TEST(Timer, TicksArriveWhileAMessageBoxIsOpen) {
  ui::Timer timer;
  int ticks = 0;
  timer.onTimer = [&ticks] {
    if (++ticks >= 3) {
      if (HWND box = ::FindWindowA("#32770", "Timer")) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  };
  timer.SetInterval(30);
  timer.SetEnabled(true);
  ::MessageBoxA(nullptr, "timer test", "Timer", MB_OK);
  timer.SetEnabled(false);
  EXPECT_GE(ticks, 3);
}

}  // namespace
