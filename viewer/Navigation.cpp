// Stepping through the file list: the menu commands, double clicks and the
// arrow keys.
#include "ui/Application.h"
#include "viewer/Viewer.h"

// The bound is not tested here: the command is only enabled while a next
// entry exists, and the slide show restarts from -1.
void TViewerForm::NextMenuClick() { ShowEntry(CurrentIndex + 1); }

void TViewerForm::PrevMenuClick() { ShowEntry(CurrentIndex - 1); }

void TViewerForm::ShowEntry(int32_t index) {
  const DrawingScope drawing(*this);
  CurrentIndex = index;
  LoadPicture(FNameListBox.Item(CurrentIndex));
  LayoutPicture(SourceBitmap);
}

// A double click steps forward but never wraps, and never while a selection
// rectangle is being dragged.
void TViewerForm::PicImageDblClick() {
  if (FileCount != 0 && CurrentIndex != FileCount - 1 && MouseMode != 2) ShowEntry(CurrentIndex + 1);
}

void TViewerForm::FormDblClick() { PicImageDblClick(); }

void TViewerForm::FormKeyDown(WORD key) { ArrowKeyPressed(key); }

void TViewerForm::ArrowKeyPressed(WORD key) {
  if (NextMenu->Enabled() && (key == VK_UP || key == VK_RIGHT)) NextMenuClick();
  if (PrevMenu->Enabled() && (key == VK_DOWN || key == VK_LEFT)) PrevMenuClick();
  ui::Application::Get().SetCursor(ui::CursorOverride::Hidden);
}
