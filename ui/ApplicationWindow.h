#pragma once
// The window that carries the program's taskbar entry under the application's
// title. It owns every form, so that the forms have no entries of their own
// and minimise and come back together with it.
#include "ui/Window.h"

namespace ui {

class ApplicationWindow : public Window {
 public:
  explicit ApplicationWindow(const std::string& title);
  ~ApplicationWindow() override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void ActivateMainForm();
};

}  // namespace ui
