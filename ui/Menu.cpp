#include "ui/Menu.h"

#include <stdexcept>

#include "ui/Win32Error.h"

namespace ui {

namespace {

UINT NextCommandId() {
  static UINT next = 1000;
  return next++;
}

std::string KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  switch (key) {
    case VK_UP: return "Up";
    case VK_DOWN: return "Down";
    case VK_LEFT: return "Left";
    case VK_RIGHT: return "Right";
    default: return "#" + std::to_string(key);
  }
}

}  // namespace

std::string Shortcut::Text() const {
  if (!key) return {};
  std::string text;
  if (shift) text += "Shift+";
  if (ctrl) text += "Ctrl+";
  if (alt) text += "Alt+";
  return text + KeyName(key);
}

UINT MenuItem::State() const {
  MENUITEMINFOA info{sizeof(info)};
  info.fMask = MIIM_STATE;
  ::GetMenuItemInfoA(owner_, position_, TRUE, &info);
  return info.fState;
}

void MenuItem::SetState(UINT mask, bool on) {
  MENUITEMINFOA info{sizeof(info)};
  info.fMask = MIIM_STATE;
  info.fState = on ? (State() | mask) : (State() & ~mask);
  ::SetMenuItemInfoA(owner_, position_, TRUE, &info);
}

bool MenuItem::Enabled() const { return (State() & MFS_DISABLED) == 0; }
void MenuItem::SetEnabled(bool enabled) { SetState(MFS_DISABLED, !enabled); }
bool MenuItem::Checked() const { return (State() & MFS_CHECKED) != 0; }
void MenuItem::SetChecked(bool checked) { SetState(MFS_CHECKED, checked); }

bool MenuItem::EnabledChain() const {
  for (const MenuItem* item = this; item; item = item->parent_) {
    if (!item->Enabled()) return false;
  }
  return true;
}

// A choice cannot be made in a disabled item, nor in a disabled submenu's items.
void MenuItem::Click() {
  if (EnabledChain() && onClick) onClick();
}

PopupMenu::PopupMenu() : PopupMenu(::CreatePopupMenu()) {}

PopupMenu::PopupMenu(HMENU root) : root_(root) {
  if (!root_) ThrowLastError("CreateMenu");
}

MainMenu::MainMenu() : PopupMenu(::CreateMenu()) {}

MenuItem& PopupMenu::Append(MenuItem* parent, const std::string& caption, Shortcut shortcut,
                            HMENU submenu) {
  auto item = std::make_unique<MenuItem>();
  item->caption_ = caption;
  item->shortcut_ = shortcut;
  item->parent_ = parent;
  item->owner_ = MenuOf(parent);
  item->position_ = static_cast<UINT>(::GetMenuItemCount(item->owner_));
  item->id_ = NextCommandId();
  item->submenu_ = submenu;
  std::string text = caption;
  if (shortcut.key) text += "\t" + shortcut.Text();
  MENUITEMINFOA info{sizeof(info)};
  info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | (submenu ? MIIM_SUBMENU : 0);
  info.wID = item->id_;
  info.dwTypeData = text.data();
  info.hSubMenu = submenu;
  if (!::InsertMenuItemA(item->owner_, item->position_, TRUE, &info)) ThrowLastError("InsertMenuItem");
  items_.push_back(std::move(item));
  return *items_.back();
}

MenuItem& PopupMenu::AddItem(MenuItem* parent, const std::string& caption, Shortcut shortcut) {
  return Append(parent, caption, shortcut, nullptr);
}

MenuItem& PopupMenu::AddSubmenu(MenuItem* parent, const std::string& caption) {
  // The submenu is destroyed with the root menu that holds it.
  return Append(parent, caption, {}, ::CreatePopupMenu());
}

void PopupMenu::AddSeparator(MenuItem* parent) {
  ::AppendMenuA(MenuOf(parent), MF_SEPARATOR, 0, nullptr);
}

bool PopupMenu::DispatchShortcut(WORD key, bool ctrl, bool alt, bool shift) {
  for (const auto& item : items_) {
    if (!item->shortcut_.Matches(key, ctrl, alt, shift)) continue;
    if (!item->EnabledChain()) return false;
    if (item->onClick) item->onClick();
    return true;
  }
  return false;
}

void PopupMenu::Popup(HWND owner, int x, int y) {
  // TPM_RETURNCMD: the choice comes back here instead of as a WM_COMMAND.
  const UINT id = static_cast<UINT>(::TrackPopupMenu(
      root_.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  if (id) ExecuteCommand(id);
}

void PopupMenu::ExecuteCommand(UINT id) {
  for (const auto& item : items_) {
    if (item->id_ == id) {
      item->Click();
      return;
    }
  }
}

}  // namespace ui
