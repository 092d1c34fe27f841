#pragma once
// A window timer whose ticks arrive as WM_TIMER messages on the thread that
// made it, so that they run between other events, also inside the message
// loop of a modal dialog or message box.
#include <windows.h>

#include <functional>

#include "ui/Window.h"

namespace ui {

class Timer {
 public:
  std::function<void()> onTimer;

  Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool Enabled() const { return enabled_; }
  // A change starts the period over from now; the same value changes nothing.
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  // Milliseconds; 0 or less never ticks. Same rule as SetEnabled.
  void SetInterval(int interval);

 private:
  // Timers need a window to post their ticks to: a message-only one of its own.
  class Receiver : public Window {
   public:
    explicit Receiver(Timer& owner);
    ~Receiver() override;

   protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

   private:
    Timer& owner_;
  };

  void Restart();

  bool enabled_ = false;
  int interval_ = 1000;
  Receiver receiver_;
};

}  // namespace ui
