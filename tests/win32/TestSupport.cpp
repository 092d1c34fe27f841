#include "TestSupport.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ui/Application.h"
#include "ui/FilePaths.h"

namespace testing_support {

int ScriptedDialogs::ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  messages.push_back({text, caption, type, owner});
  if (messageAnswers.empty()) return IDOK;
  const int answer = messageAnswers.front();
  messageAnswers.pop_front();
  return answer;
}

bool ScriptedDialogs::OpenFiles(HWND, ui::FileDialogOptions& options, std::vector<std::string>& files) {
  openRequests.push_back(options);
  if (openAnswers.empty() || openAnswers.front().empty()) {
    if (!openAnswers.empty()) openAnswers.pop_front();
    return false;
  }
  files = openAnswers.front();
  openAnswers.pop_front();
  options.fileName = files.front();
  return true;
}

bool ScriptedDialogs::SaveFile(HWND, ui::FileDialogOptions& options) {
  saveRequests.push_back(options);
  if (saveAnswers.empty()) return false;
  std::optional<std::string> answer = saveAnswers.front();
  saveAnswers.pop_front();
  if (!answer) return false;
  options.fileName = *answer;
  return true;
}

bool ScriptedDialogs::SelectFolder(HWND, std::string& folder) {
  folderRequests.push_back(folder);
  if (folderAnswers.empty()) return false;
  std::optional<std::string> answer = folderAnswers.front();
  folderAnswers.pop_front();
  if (!answer) return false;
  folder = *answer;
  return true;
}

TempDir::TempDir() {
  char base[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    path_ = std::string(base) + "pixolet-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        ::RemoveDirectoryA(child.c_str());  // a link: never follow it out of the tree
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::DeleteFileA(child.c_str());
      }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
  }
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryA(path.c_str());
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return ui::IsExistingFile(path); }

bool FolderExists(const std::string& path) { return ui::IsExistingFolder(path); }

std::string HostPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

void PumpMessages() { ui::Application::Get().ProcessMessages(); }

}  // namespace testing_support
