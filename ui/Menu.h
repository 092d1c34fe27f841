#pragma once
// Popup menus whose items keep their state (enabled, checked) in the menu
// itself. Shortcuts are dispatched by the form that owns the menu, and act only
// while the item and every menu above it are enabled.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Handles.h"

namespace ui {

struct Shortcut {
  WORD key = 0;  // virtual-key code; 0 for none
  bool ctrl = false;
  bool alt = false;
  bool shift = false;

  static Shortcut Ctrl(WORD key) { return {key, true, false, false}; }
  static Shortcut Alt(WORD key) { return {key, false, true, false}; }
  static Shortcut Key(WORD key) { return {key, false, false, false}; }
  bool Matches(WORD vk, bool isCtrl, bool isAlt, bool isShift) const {
    return key != 0 && key == vk && ctrl == isCtrl && alt == isAlt && shift == isShift;
  }
  // "Ctrl+N", "Alt+W", "0"; empty for none.
  std::string Text() const;
};

class PopupMenu;

class MenuItem {
 public:
  std::function<void()> onClick;

  std::string Caption() const { return caption_; }
  const Shortcut& GetShortcut() const { return shortcut_; }
  MenuItem* Parent() const { return parent_; }
  bool IsSubmenu() const { return submenu_ != nullptr; }

  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool Checked() const;
  void SetChecked(bool checked);
  // True when this item and every menu above it are enabled.
  bool EnabledChain() const;

  // Runs the command as a menu choice: nothing happens while it, or a menu
  // above it, is disabled.
  void Click();

 private:
  friend class PopupMenu;
  UINT State() const;
  void SetState(UINT mask, bool on);

  std::string caption_;
  Shortcut shortcut_;
  MenuItem* parent_ = nullptr;
  HMENU owner_ = nullptr;  // the menu that holds this item
  UINT position_ = 0;      // its position there
  UINT id_ = 0;
  HMENU submenu_ = nullptr;
};

class PopupMenu {
 public:
  PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  // Adds an item to the root (parent null) or to a submenu item.
  MenuItem& AddItem(MenuItem* parent, const std::string& caption, Shortcut shortcut = {});
  MenuItem& AddSubmenu(MenuItem* parent, const std::string& caption);
  void AddSeparator(MenuItem* parent);

  HMENU Handle() const { return root_.Get(); }
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }

  // Runs the command whose shortcut this is, when its enabled chain allows.
  bool DispatchShortcut(WORD key, bool ctrl, bool alt, bool shift);
  // Shows the menu at a screen point and runs the chosen command.
  void Popup(HWND owner, int x, int y);
  // Runs the item with this command id (a menu choice).
  void ExecuteCommand(UINT id);

 protected:
  explicit PopupMenu(HMENU root);

 private:
  HMENU MenuOf(MenuItem* parent) const { return parent ? parent->submenu_ : root_.Get(); }
  MenuItem& Append(MenuItem* parent, const std::string& caption, Shortcut shortcut, HMENU submenu);

  MenuHandle root_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

// A window's menu bar; its commands arrive as WM_COMMAND at the form.
class MainMenu : public PopupMenu {
 public:
  MainMenu();
};

}  // namespace ui
