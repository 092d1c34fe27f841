#pragma once
// A top-level window of the program. Its events are virtual handlers that the
// program's windows override under their own names (FormShow, FormClose ...).
#include <windows.h>
#include <shellapi.h>

#include "ui/Window.h"

namespace ui {

class MainMenu;
class PopupMenu;

enum class CloseAction { None, Hide, Free };

// None: no caption and no frame (the client area is the whole window).
enum class BorderStyle { None, Sizeable };

struct FormDesign {
  const char* className;
  const char* caption;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;
  HBRUSH background;  // null: the form paints nothing behind its controls
};

class Form : public Window {
 public:
  // The form that holds `hwnd` (the window itself or one of its controls).
  static Form* Containing(HWND hwnd);

  void Show();     // makes the form visible and active
  // A form hidden only because its owner is minimised counts as visible: it
  // comes back with its owner. Hiding it meanwhile keeps it from coming back.
  bool Visible() const override;
  void SetVisible(bool visible) override;
  void Close();    // asks the form to close, as its close box does
  void SetPopupMenu(PopupMenu* menu) { popupMenu_ = menu; }
  PopupMenu* GetPopupMenu() const { return popupMenu_; }
  void SetMainMenu(MainMenu* menu);
  // The outer top-left corner; for a minimised window, where it will be restored.
  POINT RestoredPosition() const;
  void SetStayOnTop(bool onTop);
  bool StayOnTop() const;
  void RaiseStayOnTopForms() const;
  void AcceptFiles(bool accept);
  void SetBackground(HBRUSH brush);
  HBRUSH Background() const { return background_; }
  // Changes the frame in place; the client area keeps its size and the
  // window its top-left corner.
  void SetBorderStyle(BorderStyle style);
  // Changes the frame and gives the window this top-left corner and client
  // size, in one move.
  void SetBorderStyle(BorderStyle style, int left, int top, int clientWidth, int clientHeight);
  BorderStyle GetBorderStyle() const;
  // Neither maximised nor minimised.
  void SetWindowStateNormal();
  // Painting of the window and its controls composed off screen first.
  bool DoubleBuffered() const;
  void SetDoubleBuffered(bool on);

  // Key routing before the focused window sees the key: popup-menu shortcuts,
  // then focus moves. True when the key was used up.
  virtual bool PreviewKey(WORD key, HWND target);

  // A right click in `target` (this form or one of its controls; lParam as in
  // WM_CONTEXTMENU) opens the form's popup menu. False where the system's own
  // menu belongs: title bar, scroll bars and sizing borders.
  bool OpenPopupMenu(HWND target, LPARAM lParam);

  // Files dropped from the shell; a form that takes none just releases the drop.
  virtual void WMDropFiles(HDROP drop) { ::DragFinish(drop); }

 protected:
  void CreateForm(const FormDesign& design);
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  virtual void FormShow() {}
  virtual void FormClose(CloseAction& /*action*/) {}
  virtual void FormDestroy() {}
  virtual void FormResize() {}
  virtual void FormKeyDown(WORD /*key*/) {}
  virtual void FormMouseMove(int /*x*/, int /*y*/) {}
  virtual void FormDblClick() {}
  // The form's own scroll bars (SB_HORZ or SB_VERT) with the scroll code.
  virtual void FormScroll(int /*bar*/, WORD /*code*/) {}

 private:
  bool MoveFocus(WORD key, HWND target);
  void HandleClose();
  LRESULT HandleShowWindow(WPARAM wParam, LPARAM lParam);

  PopupMenu* popupMenu_ = nullptr;
  MainMenu* mainMenu_ = nullptr;
  HBRUSH background_ = nullptr;
  bool hiddenWithOwner_ = false;  // by the window system, while the owner is minimised
  bool followingOwner_ = false;   // inside the default handling of that hiding or showing
};

}  // namespace ui
