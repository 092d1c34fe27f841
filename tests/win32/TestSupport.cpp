#include "TestSupport.h"

#include <shlobj.h>

#include <cstring>
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

int ScriptedDialogs::ShellFileOperation(HWND owner, UINT operation, const std::string& from, WORD flags) {
  fileOperations.push_back({owner, operation, from, flags});
  return 0;
}

void ScriptedDialogs::ShellOpen(HWND owner, const std::string& verb, const std::string& file, int show) {
  executions.push_back({owner, verb, file, show});
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

namespace {

// The Unix path of a Windows path when running under Wine; empty elsewhere.
std::string UnixPath(const std::string& path) {
  using Function = char*(__cdecl*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  std::wstring wide(path.size() + 1, L'\0');
  wide.resize(::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size())));
  char* unixPath = toUnix(wide.c_str());
  if (!unixPath) return {};
  std::string result = unixPath;
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return result;
}

// Runs a program of the Unix system beneath Wine. Wine does not follow such a
// process to its end, so the caller waits for its effect.
bool RunUnixProgram(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

// Whether `path` came to be a folder (or stopped being one) within ten seconds.
bool BecomesFolder(const std::string& path, bool folder) {
  for (int i = 0; i < 1000; ++i) {
    if (FolderExists(path) == folder) return true;
    ::Sleep(10);
  }
  return false;
}

}  // namespace

FolderLink::FolderLink(const std::string& link, const std::string& target) : link_(link) {
  if (::CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && FolderExists(link)) {
    kind_ = Kind::Windows;
    return;
  }
  // The link does not exist yet: only its folder has a Unix path.
  const size_t slash = link.rfind('\\');
  const std::string unixFolder = slash == std::string::npos ? std::string() : UnixPath(link.substr(0, slash));
  const std::string unixTarget = UnixPath(target);
  if (unixTarget.empty() || unixFolder.empty()) return;
  unixLink_ = unixFolder + "/" + link.substr(slash + 1);
  if (RunUnixProgram("/bin/ln -s \"" + unixTarget + "\" \"" + unixLink_ + "\"") && BecomesFolder(link, true)) {
    kind_ = Kind::Unix;
  }
}

FolderLink::~FolderLink() {
  if (kind_ == Kind::Windows) ::RemoveDirectoryA(link_.c_str());
  if (kind_ == Kind::Unix && RunUnixProgram("/bin/rm \"" + unixLink_ + "\"")) BecomesFolder(link_, false);
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) list += path + '\0';
  list += '\0';
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  ::GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

void PumpMessages() { ui::Application::Get().ProcessMessages(); }

std::string PatternBmp(int width, int height, int bitCount) {
  const int bytes = bitCount / 8;
  const int stride = (width * bytes + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  for (int y = 0; y < height; ++y) {
    char* row = &pixels[static_cast<size_t>(height - 1 - y) * stride];
    for (int x = 0; x < width; ++x) {
      row[bytes * x] = static_cast<char>(x);
      row[bytes * x + 1] = static_cast<char>(y);
      row[bytes * x + 2] = static_cast<char>(x + y);
    }
  }
  BITMAPINFOHEADER info{sizeof(info), width, height, 1, static_cast<WORD>(bitCount), BI_RGB};
  return BmpFile(std::string(reinterpret_cast<const char*>(&info), sizeof info), pixels);
}

std::string BmpFile(const std::string& infoHeader, const std::string& pixels) {
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = static_cast<DWORD>(sizeof(file) + infoHeader.size());
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  return std::string(reinterpret_cast<const char*>(&file), sizeof file) + infoHeader + pixels;
}

std::string SamplePicture(const std::string& name) { return HostPath(PIXOLET_SAMPLES "/" + name); }

}  // namespace testing_support
