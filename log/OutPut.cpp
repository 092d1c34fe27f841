#include "log/OutPut.h"

#include "ui/Dialogs.h"
#include "ui/Handles.h"
#include "ui/Screen.h"
#include "ui/Win32Error.h"

TOutputForm* OutputForm = nullptr;

TOutputForm::TOutputForm() {
  CreateForm({"TOutputForm", "Infomation Output Window",
              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX |
                  WS_CLIPCHILDREN,
              0, CW_USEDEFAULT, CW_USEDEFAULT, 413, 354, ::GetSysColorBrush(COLOR_BTNFACE)});
  FileMenu = &MainMenu1.AddSubmenu(nullptr, "File");
  SaveMenu = &MainMenu1.AddItem(FileMenu, "Save");
  SetMainMenu(&MainMenu1);
  OutputListBox.Create(Handle(), {0, 0, ClientWidth(), ClientHeight()}, ui::GetFont("ＭＳ ゴシック", 12),
                       12, true);
  SaveMenu->onClick = [this] { SaveMenuClick(); };
}

TOutputForm::~TOutputForm() { DestroyHandle(); }

// The user cannot close the log; it sits in the work area's bottom-right corner.
void TOutputForm::FormShow() {
  ::DeleteMenu(::GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND);
  ::DrawMenuBar(Handle());
  const RECT work = ui::WorkArea();
  const int workWidth = std::abs(work.right - work.left);
  const int workHeight = std::abs(work.bottom - work.top);
  SetBounds(workWidth - Width(), workHeight - Height(), Width(), Height());
}

// Without the close command the title bar cannot close the window, but Alt+F4
// and a close from the taskbar still ask: the answer is always no. The
// program's end destroys the window without asking.
void TOutputForm::FormClose(ui::CloseAction& action) { action = ui::CloseAction::None; }

void TOutputForm::FormResize() {
  if (OutputListBox.Handle()) OutputListBox.SetBounds(0, 0, ClientWidth(), ClientHeight());
}

void TOutputForm::SaveMenuClick() {
  ui::FileDialogOptions options;
  options.defaultExt = "txt";
  options.overwritePrompt = true;
  // The dialog adds "txt" to a bare name itself and asks about overwriting the
  // name it returns: that name, and no other, is the one to write.
  if (!ui::CurrentDialogs().SaveFile(Handle(), options)) return;
  SaveLines(options.fileName);
}

void TOutputForm::SaveLines(const std::string& path) const {
  std::string text;
  const int count = OutputListBox.Count();
  for (int i = 0; i < count; ++i) text += OutputListBox.Item(i) + "\r\n";
  ui::File file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ui::ThrowLastError(path);
  DWORD written = 0;
  if (!text.empty() &&
      (!::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
       written != text.size())) {
    ui::ThrowLastError(path);
  }
}
