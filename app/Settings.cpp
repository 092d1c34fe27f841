// Reading the settings file at the first show and writing it at close, key by
// key in a fixed order (the order also fixes the sections of a new file).
#include "app/Globals.h"
#include "app/ProfileFile.h"
#include "control/Control.h"
#include "core/SjisText.h"
#include "plugins/SpiFunc.h"
#include "ui/Screen.h"
#include "viewer/Viewer.h"

namespace {

// The plug-in folder always ends in a backslash; an empty one would load
// libraries from the current folder, so it falls back to the default.
std::string NormalisePluginDir(std::string folder, const std::string& defaultFolder) {
  if (folder.empty()) return defaultFolder;
  if (sjis::LastDelimiter(folder, "\\") + 1 != folder.size()) folder += "\\";
  return folder;
}

}  // namespace

void TViewerForm::ReadSettings() {
  const ProfileFile ini(SettingsPath());
  SetLeft(ini.ReadInteger("Viewer", "Left", 0));
  SetTop(ini.ReadInteger("Viewer", "Top", 0));
  OpenDialog.initialDir = ini.ReadString("InitialDir", "Open", AppDir);
  SaveDialog.initialDir = ini.ReadString("InitialDir", "Save", AppDir);
  Timer.SetInterval(ini.ReadInteger("SlideShow", "Interval", 1000));
  const int rightmost = ui::ScreenWidth() - ControlForm->Width();
  ControlForm->SetLeft(ini.ReadInteger("Control", "Left", rightmost));
  if (ControlForm->Left() > rightmost) ControlForm->SetLeft(rightmost);
  ControlForm->SetTop(ini.ReadInteger("Control", "Top", 0));
  if (ControlForm->Top() < 0) ControlForm->SetTop(0);
  ControlForm->UpDown.SetPosition(ini.ReadInteger("SlideShow", "Interval", 1000));
  controlVisibleSetting_ = ini.ReadBool("Control", "Visible", true);
  ControlMenu->SetChecked(controlVisibleSetting_);
  if (ini.ReadBool("Control", "Option", false)) ControlForm->OptBtnClick();
  SearchSubDir->SetChecked(ini.ReadBool("Others", "SearchSubDir", true));
  AddAllFiles->SetChecked(ini.ReadBool("Others", "AddAllFiles", false));
  CenterMenu->SetChecked(ini.ReadBool("Others", "Center", false));
  const std::string defaultPluginDir = AppDir + "\\" + "susie" + "\\";
  PluginDir = NormalisePluginDir(ini.ReadString("Susie", "PlugIn", defaultPluginDir), defaultPluginDir);
  LoadPlugins(PluginDir);
  DebugEnabled = ini.ReadBool("Debug", "Enable", false);
  GarbagePromptEnabled = ini.ReadBool("Others", "GarbagePrompt", true);
}

void TViewerForm::WriteSettings(bool controlVisible) {
  const ProfileFile ini(SettingsPath());
  // A minimised window is saved where it will come back, not off screen.
  const POINT viewerAt = RestoredPosition();
  ini.WriteInteger("Viewer", "Left", viewerAt.x);
  ini.WriteInteger("Viewer", "Top", viewerAt.y);
  ini.WriteString("InitialDir", "Open", OpenDialog.initialDir);
  ini.WriteString("InitialDir", "Save", SaveDialog.initialDir);
  ini.WriteBool("Control", "Visible", controlVisible);
  ini.WriteBool("Control", "Option", ControlForm->OptionPanelOpen);
  ini.WriteInteger("Control", "Left", ControlForm->Left());
  ini.WriteInteger("Control", "Top", ControlForm->Top());
  ini.WriteInteger("SlideShow", "Interval", static_cast<int16_t>(ControlForm->UpDown.Position()));
  ini.WriteBool("Others", "SearchSubDir", SearchSubDir->Checked());
  ini.WriteBool("Others", "AddAllFiles", AddAllFiles->Checked());
  ini.WriteBool("Others", "Center", CenterMenu->Checked());
  ini.WriteString("Susie", "PlugIn", PluginDir);
  ini.WriteBool("Debug", "Enable", DebugEnabled);
  ini.WriteBool("Others", "GarbagePrompt", GarbagePromptEnabled);
}
