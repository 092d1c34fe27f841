// What the control window's buttons, list and keys do: they run the viewer's
// commands, and files dropped here are the viewer's to take in.
#include "control/Control.h"
#include "viewer/Viewer.h"

// The buttons choose the viewer's commands as menu choices: the commands'
// enabled state is the only guard, whatever state the buttons are in.
void TControlForm::NextBtnClick() { ViewerForm->NextMenu->Click(); }

void TControlForm::PrevBtnClick() { ViewerForm->PrevMenu->Click(); }

// With nothing chosen the first entry is loaded: a choice always loads.
void TControlForm::FNameCmbBoxChange() {
  const int chosen = FNameCmbBox.ItemIndex();
  ViewerForm->ShowEntry(chosen < 0 ? 0 : chosen);
}

// The list never sees a key: its selection follows the shown entry only.
void TControlForm::FNameCmbBoxKeyDown(WORD key, bool& consumed) {
  HandleArrowKey(key);
  consumed = true;
}

void TControlForm::NextBtnKeyDown(WORD key) { HandleArrowKey(key); }

void TControlForm::PrevBtnKeyDown(WORD key) { HandleArrowKey(key); }

void TControlForm::FormKeyDown(WORD key) { HandleArrowKey(key); }

// The enabled states of the viewer's commands are the only bounds on this path.
void TControlForm::HandleArrowKey(WORD key) { ViewerForm->ArrowKeyPressed(key); }

void TControlForm::WMDropFiles(HDROP drop) { ViewerForm->WMDropFiles(drop); }
