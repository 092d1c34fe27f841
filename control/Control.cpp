#include "control/Control.h"

#include "ui/Application.h"
#include "viewer/Viewer.h"

TControlForm* ControlForm = nullptr;

namespace {
constexpr int kClosedHeight = 55;
constexpr int kOpenHeight = 144;
}  // namespace

TControlForm::TControlForm() {
  // A tool window without system menu: small caption, no buttons, no taskbar entry.
  // No WS_CLIPCHILDREN: a group box paints only its frame, the form its inside.
  CreateForm({"TControlForm", "ｺﾝﾄﾛｰﾙ", WS_POPUP | WS_CAPTION,
              WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 129, 80, ::GetSysColorBrush(COLOR_BTNFACE)});
  SetClientWidth(123);
  SetClientHeight(kClosedHeight);
  CreateControls();
  CreatePopupMenu1();
  SetPopupMenu(ViewerForm ? &ViewerForm->PopupMenu : nullptr);
  BindEvents();
  FormCreate();
}

TControlForm::~TControlForm() { DestroyHandle(); }

void TControlForm::CreateControls() {
  const HFONT font = ui::GetFont("ＭＳ Ｐゴシック", 12);
  PrevBtn.Create(Handle(), "前画像", {8, 3, 50, 26}, font, true);
  NextBtn.Create(Handle(), "次画像", {64, 3, 50, 26}, font, true);
  FNameCmbBox.Create(Handle(), {8, 32, 106, 20}, 10, 12, font);
  OptBtn.Create(Handle(), "", {115, 33, 8, 18}, font, false);
  PrevBtn.SetEnabled(false);
  NextBtn.SetEnabled(false);
  CreateLowerPart(font);
}

// The group box is drawn behind controls placed in form coordinates (it lets
// the mouse through). The panel does not: its buttons are its children, so that
// they lie above it and a click at a button reaches the button.
void TControlForm::CreateLowerPart(HFONT font) {
  SlideShowGrpBox.Create(Handle(), "ｽﾗｲﾄﾞｼｮｳ", {3, 57, 116, 38}, font);
  SlideShowBtn.Create(Handle(), "Start", {3 + 5, 57 + 13, 39, 20}, font, false);
  TimeMemo.Create(Handle(), "1000", {3 + 47, 57 + 13, 49, 20}, ui::GetFont("ＭＳ Ｐゴシック", 16), ES_RIGHT);
  UpDown.Create(Handle(), {3 + 96, 57 + 13, 15, 20}, TimeMemo, 100, 30000, 100);
  UpDown.SetPosition(1000);
  OptPanel.Create(Handle(), {3, 104, 116, 38});
  MoveBtn.Create(OptPanel.Handle(), "ごみ箱", {5, 6, 50, 26}, font, false);
  FolderOpenBtn.Create(OptPanel.Handle(), "ﾌｫﾙﾀﾞ", {61, 6, 50, 26}, font, false);
  SlideShowBtn.SetEnabled(false);
  MoveBtn.SetEnabled(false);
}

void TControlForm::CreatePopupMenu1() {
  next1 = &PopupMenu1.AddItem(nullptr, "next1", ui::Shortcut::Key(VK_UP));
  next21 = &PopupMenu1.AddItem(nullptr, "next2", ui::Shortcut::Key(VK_RIGHT));
  prev11 = &PopupMenu1.AddItem(nullptr, "prev1", ui::Shortcut::Key(VK_DOWN));
  prev21 = &PopupMenu1.AddItem(nullptr, "prev2", ui::Shortcut::Key(VK_LEFT));
}

void TControlForm::BindEvents() {
  PrevBtn.onClick = [this] { PrevBtnClick(); };
  NextBtn.onClick = [this] { NextBtnClick(); };
  next1->onClick = [this] { NextBtnClick(); };
  next21->onClick = [this] { NextBtnClick(); };
  prev11->onClick = [this] { PrevBtnClick(); };
  prev21->onClick = [this] { PrevBtnClick(); };
  OptBtn.onClick = [this] { OptBtnClick(); };
  FNameCmbBox.onChange = [this] { FNameCmbBoxChange(); };
  FNameCmbBox.onKeyDown = [this](WORD key, bool& consumed) { FNameCmbBoxKeyDown(key, consumed); };
  // The list's own search by typed letter would change the selection, and load
  // a picture, behind the key handler's back: its characters go nowhere either.
  FNameCmbBox.onKeyPress = [](char, bool& consumed) { consumed = true; };
  NextBtn.onKeyDown = [this](WORD key, bool&) { NextBtnKeyDown(key); };
  PrevBtn.onKeyDown = [this](WORD key, bool&) { PrevBtnKeyDown(key); };
  SlideShowBtn.onClick = [this] { SlideShowBtnClick(); };
  UpDown.onClick = [this](ui::UpDown::Direction) { UpDownClick(); };
  MoveBtn.onClick = [this] { MoveBtnClick(); };
  FolderOpenBtn.onClick = [this] { FolderOpenBtnClick(); };
  PrevBtn.onMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
  NextBtn.onMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
}

void TControlForm::FormCreate() {
  OptionPanelOpen = false;
  AcceptFiles(true);
}

void TControlForm::OptBtnClick() {
  if (!OptionPanelOpen) {
    SetClientHeight(kOpenHeight);
    OptionPanelOpen = true;
  } else {
    SetClientHeight(kClosedHeight);
    OptionPanelOpen = false;
  }
}

// The slide show, its interval and the filing commands are the viewer's;
// the shell's windows opened from here belong to this window.
void TControlForm::SlideShowBtnClick() { ViewerForm->SlideShowMenuClick(); }

void TControlForm::UpDownClick() { ViewerForm->UpDownClick(); }

void TControlForm::MoveBtnClick() { ViewerForm->RecycleCurrentFile(Handle()); }

void TControlForm::FolderOpenBtnClick() { ViewerForm->OpenSortingFolder(Handle()); }

void TControlForm::FormMouseMove(int, int) { ui::Application::Get().SetCursor(ui::CursorOverride::Arrow); }

// The window lives for the whole run: a close request from the system hides
// it through the viewer's menu command, so the check mark stays in step.
void TControlForm::FormClose(ui::CloseAction& action) {
  action = ui::CloseAction::None;
  if (Visible() && ViewerForm) ViewerForm->ControlMenuClick();
}

void TControlForm::FormDestroy() { AcceptFiles(false); }
