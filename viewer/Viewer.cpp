#include "viewer/Viewer.h"

#include <stdexcept>

#include "control/Control.h"
#include "ui/Application.h"
#include "plugins/SpiFunc.h"
#include "viewer/NativePicture.h"

extern const unsigned char kErrorPictureBmp[];
extern const unsigned kErrorPictureBmp_size;

int32_t CurrentIndex = 0;
int32_t FileCount = 0;
int32_t CursorHideCounter = 0;
TViewerForm* ViewerForm = nullptr;

TViewerForm::TViewerForm() {
  CreateForm({"TViewerForm", "Pixolet",
              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
              0, 6, 515, 217, 220, ::GetSysColorBrush(COLOR_BTNFACE)});
  SetFont(ui::GetFont("ＭＳ Ｐゴシック", 12));
  PicImage.Create(Handle(), {0, 0, 209, 186});
  FNameListBox.Create(Handle(), {0, 0, 0, 0}, nullptr, 0, false);
  CreateMenus();
  SetPopupMenu(&PopupMenu);
  BindEvents();
  SetUpOpenDialog();
  LoadErrorPicture();
  NoteCommandLine();
  // A failure here is reported and start-up goes on with the other windows.
  try {
    FormCreate();
  } catch (...) {
    ui::Application::Get().ReportException(std::current_exception());
  }
}

TViewerForm::~TViewerForm() { DestroyHandle(); }

void TViewerForm::CreateMenus() {
  using ui::Shortcut;
  NextMenu = &PopupMenu.AddItem(nullptr, "次の画像", Shortcut::Ctrl('N'));
  PrevMenu = &PopupMenu.AddItem(nullptr, "前の画像", Shortcut::Ctrl('B'));
  PopupMenu.AddSeparator(nullptr);
  OpenMenu = &PopupMenu.AddItem(nullptr, "開く", Shortcut::Ctrl('O'));
  SaveBmpMenu = &PopupMenu.AddItem(nullptr, "保存(BMP)", Shortcut::Ctrl('W'));
  SaveJpgMenu = &PopupMenu.AddItem(nullptr, "保存(JPG)", Shortcut::Alt('W'));
  PopupMenu.AddSeparator(nullptr);
  FullScrMenu = &PopupMenu.AddItem(nullptr, "フルスクリーン表示", Shortcut::Ctrl('F'));
  SizableMenu = &PopupMenu.AddItem(nullptr, "サイズ可変表示", Shortcut::Ctrl('G'));
  CenterMenu = &PopupMenu.AddItem(nullptr, "画面中央に表示", Shortcut::Ctrl('C'));
  PopupMenu.AddSeparator(nullptr);
  OptionMenu = &PopupMenu.AddSubmenu(nullptr, "オプション");
  ControlMenu = &PopupMenu.AddItem(OptionMenu, "コントロールウィンドウを表示");
  PopupMenu.AddSeparator(OptionMenu);
  AddAllFiles = &PopupMenu.AddItem(OptionMenu, "フォルダ内のファイルを全て追加");
  SearchSubDir = &PopupMenu.AddItem(OptionMenu, "サブディレクトリのファイルも検索");
  PopupMenu.AddSeparator(OptionMenu);
  PlugInDirMenu = &PopupMenu.AddItem(OptionMenu, "Plug-In ディレクトリを設定");
  CreateMoveAndSlideShowMenus();
  for (ui::MenuItem* item : {NextMenu, PrevMenu, SaveBmpMenu, SaveJpgMenu, FullScrMenu, SizableMenu,
                             MoveMenu, SlideShowMenu}) {
    item->SetEnabled(false);
  }
  ControlMenu->SetChecked(true);
}

void TViewerForm::CreateMoveAndSlideShowMenus() {
  MoveMenu = &PopupMenu.AddSubmenu(nullptr, "移動");
  for (int n = 0; n < 10; ++n) {
    const char digit = static_cast<char>('0' + n);
    FolderSubMenu[n] = &PopupMenu.AddItem(MoveMenu, std::string("ﾌｫﾙﾀﾞ") + digit, ui::Shortcut::Key(digit));
  }
  PopupMenu.AddSeparator(nullptr);
  SlideShowSubMenu = &PopupMenu.AddSubmenu(nullptr, "スライドショウ");
  SlideShowMenu = &PopupMenu.AddItem(SlideShowSubMenu, "開始／終了");
  LoopMenu = &PopupMenu.AddItem(SlideShowSubMenu, "エンドレスで繰り返す");
  PopupMenu.AddSeparator(nullptr);
  ExitMenu = &PopupMenu.AddItem(nullptr, "Pixoletを終了", ui::Shortcut::Ctrl('Q'));
}

void TViewerForm::BindEvents() {
  NextMenu->onClick = [this] { NextMenuClick(); };
  PrevMenu->onClick = [this] { PrevMenuClick(); };
  OpenMenu->onClick = [this] { OpenMenuClick(); };
  FullScrMenu->onClick = [this] { FullScrMenuClick(); };
  SizableMenu->onClick = [this] { SizableMenuClick(); };
  CenterMenu->onClick = [this] { CenterMenuClick(); };
  PicImage.onDblClick = [this] { PicImageDblClick(); };
  PicImage.onMouseDown = [this](int button, int x, int y) { PicImageMouseDown(button, x, y); };
  PicImage.onDragOver = [this](int x, int y) { PicImageDragOver(x, y); };
  PicImage.onMouseMove = [this](int x, int y) { PicImageMouseMove(x, y); };
  PicImage.onMouseUp = [this](int button, int x, int y) { PicImageMouseUp(button, x, y); };
  ExitMenu->onClick = [this] { ExitMenuClick(); };
  ControlMenu->onClick = [this] { ControlMenuClick(); };
  AddAllFiles->onClick = [this] { AddAllFilesClick(); };
  SearchSubDir->onClick = [this] { SearchSubDirClick(); };
  PlugInDirMenu->onClick = [this] { PlugInDirMenuClick(); };
  SaveBmpMenu->onClick = [this] { SaveBmpMenuClick(SaveBmpMenu); };
  SaveJpgMenu->onClick = [this] { SaveBmpMenuClick(SaveJpgMenu); };
  for (int n = 0; n < 10; ++n) FolderSubMenu[n]->onClick = [this, n] { FileMove(n); };
  SlideShowMenu->onClick = [this] { SlideShowMenuClick(); };
  LoopMenu->onClick = [this] { LoopMenuClick(); };
  Timer.onTimer = [this] { TimerTimer(); };
}

void TViewerForm::ExitMenuClick() { Close(); }

void TViewerForm::ControlMenuClick() {
  ControlMenu->SetChecked(!ControlMenu->Checked());
  ControlForm->SetVisible(!ControlForm->Visible());
}

void TViewerForm::AddAllFilesClick() { AddAllFiles->SetChecked(!AddAllFiles->Checked()); }

void TViewerForm::SearchSubDirClick() { SearchSubDir->SetChecked(!SearchSubDir->Checked()); }

void TViewerForm::PlugInDirMenuClick() { ChangePluginFolder(Handle()); }

// The error picture is carried in the program as the bytes of a BMP file.
void TViewerForm::LoadErrorPicture() {
  if (!DecodeBmpBytes({kErrorPictureBmp, kErrorPictureBmp_size}, ErrImage)) {
    throw std::logic_error("the built-in error picture does not decode");
  }
}
