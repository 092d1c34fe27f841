#pragma once
// Program-wide values read from and written to the settings file.
#include <optional>
#include <string>
#include <vector>

// Folder of the executable: no trailing backslash, except at a drive's root.
extern std::string AppDir;
// Plug-in folder, always ending in a backslash.
extern std::string PluginDir;
// Whether log lines reach the log window, and whether it is shown at start-up.
extern bool DebugEnabled;
// Whether sending a file to the recycle bin asks first.
extern bool GarbagePromptEnabled;

// The folder of the running executable, or the folder a test has put in its place.
std::string ProgramFolder();
void OverrideProgramFolder(std::optional<std::string> folder);

// The command line's arguments after the program's own name, or the ones a
// test has put in their place.
std::vector<std::string> ProgramArguments();
void OverrideProgramArguments(std::optional<std::vector<std::string>> arguments);
