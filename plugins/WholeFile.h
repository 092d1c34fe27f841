#pragma once
// Reading a file that a plug-in is to look at.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/Handles.h"

// Opens a file for reading while others may read but not write it. Not
// tested: a file that cannot be opened gives the invalid handle.
ui::File OpenForReading(const std::string& path);

// A file's bytes in a buffer that is zero-filled past them. The buffer has at
// least one byte, so even an empty file has a real address.
struct FileBytes {
  std::vector<char> buffer;
  int32_t length = 0;
};

// The whole file, in a buffer of at least `minimum` bytes. Read access alone
// is asked for, so read-only files work. Throws ui::Win32Error when the file
// cannot be read.
FileBytes ReadWholeFile(const std::string& path, size_t minimum = 0);
