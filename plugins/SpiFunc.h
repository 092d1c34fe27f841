#pragma once
// The plug-in host: loads Susie plug-ins and asks them to describe, test,
// decode, list and extract files. Also the one writer of diagnostic lines.
#include <string>

// Appends a line to the log window while debugging is enabled.
void LogLine(const std::string& text);
