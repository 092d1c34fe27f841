#include "ui/FileWriting.h"

#include <windows.h>

#include "core/SjisText.h"
#include "ui/Handles.h"
#include "ui/Win32Error.h"

namespace ui {

namespace {

// A file that is deleted at the end of the scope unless it was kept.
class ScratchFile {
 public:
  explicit ScratchFile(std::string path) : path_(std::move(path)) {}
  ~ScratchFile() {
    if (!kept_) ::DeleteFileA(path_.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// A fresh, empty file of a unique name in `path`'s folder: the same volume,
// so that putting it in place is a rename, never a copy.
std::string CreateScratchBeside(const std::string& path) {
  std::string folder = sjis::DirectoryOf(path);
  if (folder.empty()) folder = ".";
  char scratch[MAX_PATH] = {};
  if (!::GetTempFileNameA(folder.c_str(), "pxl", 0, scratch)) ThrowLastError(path);
  return scratch;
}

void WriteAll(const std::string& scratch, const std::string& path, std::span<const uint8_t> bytes) {
  File file(::CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (!file) ThrowLastError(path);
  // WriteFile takes at most 4 GB at a time; pictures stay far below that, but
  // a short write is still an error, never a success.
  DWORD written = 0;
  if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    ThrowLastError(path);
  }
  if (written != bytes.size()) throw Win32Error(ERROR_HANDLE_DISK_FULL, path);
  if (!::FlushFileBuffers(file.Get())) ThrowLastError(path);
}

}  // namespace

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
  ScratchFile scratch(CreateScratchBeside(path));
  WriteAll(scratch.Path(), path, bytes);
  if (!::MoveFileExA(scratch.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowLastError(path);
  }
  scratch.Keep();
}

}  // namespace ui
