#pragma once
// Helpers for the tests that run under Wine: a scripted stand-in for every
// dialog and message box, temporary folders, and file helpers.
#include <windows.h>
#include <shellapi.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"
#include "ui/Screen.h"

namespace testing_support {

// Answers dialogs from queues and records what was asked. A dialog whose queue
// is empty is cancelled; a message box with no scripted answer returns IDOK.
class ScriptedDialogs : public ui::Dialogs {
 public:
  struct Message {
    std::string text;
    std::string caption;
    UINT type;
    HWND owner;
  };
  std::vector<Message> messages;
  std::deque<int> messageAnswers;

  std::vector<ui::FileDialogOptions> openRequests;
  std::deque<std::vector<std::string>> openAnswers;  // empty vector: cancel
  std::vector<ui::FileDialogOptions> saveRequests;
  std::deque<std::optional<std::string>> saveAnswers;
  std::vector<std::string> folderRequests;
  std::deque<std::optional<std::string>> folderAnswers;

  // Shell calls are recorded and not carried out.
  struct FileOperation {
    HWND owner;
    UINT operation;
    std::string from;
    WORD flags;
  };
  std::vector<FileOperation> fileOperations;
  struct Execution {
    HWND owner;
    std::string verb;
    std::string file;
    int show;
  };
  std::vector<Execution> executions;

  ScriptedDialogs() { ui::SetDialogs(this); }
  ~ScriptedDialogs() override { ui::SetDialogs(nullptr); }

  int ShowMessage(HWND, const std::string& text, const std::string& caption, UINT type) override;
  bool OpenFiles(HWND, ui::FileDialogOptions& options, std::vector<std::string>& files) override;
  bool SaveFile(HWND, ui::FileDialogOptions& options) override;
  bool SelectFolder(HWND, std::string& folder) override;
  int ShellFileOperation(HWND owner, UINT operation, const std::string& from, WORD flags) override;
  void ShellOpen(HWND owner, const std::string& verb, const std::string& file, int show) override;
};

// A fresh folder under the system's temporary folder, removed with everything
// in it at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// A fixed screen for one scope: 1024 x 768 unless told otherwise.
class ScreenScope {
 public:
  explicit ScreenScope(RECT workArea = {0, 0, 1024, 768}, int width = 1024, int height = 768) {
    ui::OverrideScreen(ui::ScreenMetrics{width, height, workArea});
  }
  ~ScreenScope() { ui::OverrideScreen(std::nullopt); }
};

// A folder link at `link` that leads to `target`, removed at the end of the
// scope. Made as a symbolic link of the system where it can make one; under
// Wine, whose symbolic links are stubs, as a link of the Unix file system
// beneath it, which Wine follows as a folder. Made() is false where neither works.
class FolderLink {
 public:
  FolderLink(const std::string& link, const std::string& target);
  ~FolderLink();
  FolderLink(const FolderLink&) = delete;
  FolderLink& operator=(const FolderLink&) = delete;
  bool Made() const { return kind_ != Kind::None; }

 private:
  enum class Kind { None, Windows, Unix };
  std::string link_;
  std::string unixLink_;
  Kind kind_ = Kind::None;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
void RemoveTree(const std::string& path);
// A path of the Linux host that built the tests, as Wine's drive Z: shows it.
std::string HostPath(const std::string& unixPath);
// Files dropped from the shell: a DROPFILES block with the paths after it.
HDROP MakeDrop(const std::vector<std::string>& paths);
// Handles every waiting message of this thread.
void PumpMessages();

// A BMP file around an information header (with its colour table, if any)
// and bottom-up pixel rows, both given as they are to be stored.
std::string BmpFile(const std::string& infoHeader, const std::string& pixels);
// A bottom-up BMP file of 24 or 32 bits per pixel whose pixels encode their
// position (blue x, green y, red x + y, each modulo 256).
std::string PatternBmp(int width, int height, int bitCount = 24);
// One of the sample pictures of the source tree ("01-sunset.jpg" ...).
std::string SamplePicture(const std::string& name);

}  // namespace testing_support
