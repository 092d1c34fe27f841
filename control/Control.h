#pragma once
// The control window: a small floating tool window that mirrors the viewer's
// navigation, slide-show and filing controls. It uses the viewer's popup menu.
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"

class TControlForm : public ui::Form {
 public:
  TControlForm();
  ~TControlForm() override;

  ui::Button PrevBtn;
  ui::Button NextBtn;
  ui::ComboBox FNameCmbBox;
  ui::Button OptBtn;
  ui::GroupBox SlideShowGrpBox;
  ui::Button SlideShowBtn;
  ui::Edit TimeMemo;
  ui::UpDown UpDown;
  ui::Panel OptPanel;
  ui::Button MoveBtn;
  ui::Button FolderOpenBtn;
  // Never attached to anything: its arrow-key shortcuts are never dispatched.
  ui::PopupMenu PopupMenu1;
  ui::MenuItem* next1 = nullptr;
  ui::MenuItem* next21 = nullptr;
  ui::MenuItem* prev11 = nullptr;
  ui::MenuItem* prev21 = nullptr;

  // Whether the lower part (slide show and filing) is open.
  bool OptionPanelOpen = false;

  void OptBtnClick();
  void NextBtnClick();
  void PrevBtnClick();
  void FNameCmbBoxChange();
  void FNameCmbBoxKeyDown(WORD key, bool& consumed);
  void NextBtnKeyDown(WORD key);
  void PrevBtnKeyDown(WORD key);
  void SlideShowBtnClick();
  void UpDownClick();
  void MoveBtnClick();
  void FolderOpenBtnClick();
  void WMDropFiles(HDROP drop) override;

 protected:
  void FormClose(ui::CloseAction& action) override;
  void FormDestroy() override;
  void FormMouseMove(int x, int y) override;
  void FormKeyDown(WORD key) override;

 private:
  void CreateControls();
  void CreateLowerPart(HFONT font);
  void CreatePopupMenu1();
  void BindEvents();
  void FormCreate();
  void HandleArrowKey(WORD key);
};

extern TControlForm* ControlForm;
