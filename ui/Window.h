#pragma once
// Base of every window and control: owns its HWND, reaches its C++ object from
// the window procedure, and keeps exceptions from crossing back into user32.
#include <windows.h>

#include <string>

namespace ui {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  static Window* FromHandle(HWND hwnd);

  std::string Caption() const;
  void SetCaption(const std::string& text);

  // Outer position and size; for a child window, in its parent's client area.
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const;
  int Height() const;
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
  void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

  int ClientWidth() const;
  int ClientHeight() const;
  // The frame keeps its size: the outer size changes by the same amount.
  void SetClientWidth(int width);
  void SetClientHeight(int height);

  virtual bool Visible() const;
  virtual void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  void SetFont(HFONT font);
  void Invalidate();
  void Repaint();

  // Destroys the window now, with the object's handlers still in place.
  void DestroyHandle();

 protected:
  // Creates a window of a class of our own (registered on first use).
  void CreateOwnClass(const char* className, const char* caption, DWORD style, DWORD exStyle,
                      int left, int top, int width, int height, HWND parent, UINT classStyle = 0,
                      HBRUSH background = nullptr);
  // Creates a standard control and routes its messages through this object.
  void CreateControl(const char* className, const char* caption, DWORD style, DWORD exStyle,
                     int left, int top, int width, int height, HWND parent);

  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

  // Notifications that a parent receives on behalf of a child control.
  virtual void HandleCommand(WORD /*notifyCode*/) {}
  virtual LRESULT HandleNotify(NMHDR* /*header*/) { return 0; }
  virtual void HandleScroll(WORD /*code*/) {}

 private:
  RECT Bounds() const;
  static LRESULT CALLBACK Trampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC originalProc_ = nullptr;  // set for subclassed standard controls
};

}  // namespace ui
