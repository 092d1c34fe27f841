#include "app/Globals.h"
#include "log/OutPut.h"
#include "plugins/SpiFunc.h"

void LogLine(const std::string& text) {
  if (DebugEnabled && OutputForm) OutputForm->OutputListBox.Add(text);
}
