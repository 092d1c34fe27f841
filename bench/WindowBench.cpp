#include "WindowBench.h"

#include <shlobj.h>

#include <cstring>

HDROP MakeDrop(const std::string& path) {
  // The path list ends with an empty path: two zero bytes after the text.
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + path.size() + 2);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size());
  ::GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

std::string BenchFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name;
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}
