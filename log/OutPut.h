#pragma once
// The information log window: a list of diagnostic lines that the user can
// save to a text file. Lines arrive only through LogLine.
#include <string>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"

class TOutputForm : public ui::Form {
 public:
  TOutputForm();
  ~TOutputForm() override;

  ui::ListBox OutputListBox;
  ui::MainMenu MainMenu1;
  ui::MenuItem* FileMenu = nullptr;
  ui::MenuItem* SaveMenu = nullptr;

  void SaveMenuClick();

 protected:
  void FormShow() override;
  void FormClose(ui::CloseAction& action) override;
  void FormResize() override;

 private:
  void SaveLines(const std::string& path) const;
};

extern TOutputForm* OutputForm;
