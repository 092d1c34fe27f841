#include "app/Globals.h"

std::string AppDir;
std::string PluginDir;
bool DebugEnabled = false;
bool GarbagePromptEnabled = true;
