// The system's own message boxes and common dialogs behind the Dialogs seam.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "core/SjisText.h"
#include "ui/Dialogs.h"
#include "ui/FolderDialog.h"

namespace ui {

namespace {

// "a|b|c|d" becomes "a\0b\0c\0d\0\0", the form the common dialogs read.
std::string FilterForDialog(const std::string& filter) {
  std::string out = filter;
  std::replace(out.begin(), out.end(), '|', '\0');
  out.append(2, '\0');
  return out;
}

constexpr size_t kFileBufferSize = 64 * 1024;  // room for many selected names

// The name buffer, starting with the offered name.
std::vector<char> NameBuffer(const std::string& offered) {
  std::vector<char> buffer(kFileBufferSize, '\0');
  std::copy_n(offered.begin(), std::min(offered.size(), buffer.size() - 1), buffer.begin());
  return buffer;
}

OPENFILENAMEA MakeOpenFileName(HWND owner, FileDialogOptions& options, const std::string& filter,
                               std::vector<char>& buffer) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = options.filterIndex;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = options.initialDir.empty() ? nullptr : options.initialDir.c_str();
  ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
  ofn.lpstrDefExt = options.defaultExt.empty() ? nullptr : options.defaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
  return ofn;
}

class SystemDialogs : public Dialogs {
 public:
  int ShowMessage(HWND owner, const std::string& text, const std::string& caption,
                  UINT type) override {
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
  }

  bool OpenFiles(HWND owner, FileDialogOptions& options, std::vector<std::string>& files) override {
    std::vector<char> buffer = NameBuffer(options.fileName);
    const std::string filter = FilterForDialog(options.filter);
    OPENFILENAMEA ofn = MakeOpenFileName(owner, options, filter, buffer);
    if (options.multiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
    if (!::GetOpenFileNameA(&ofn)) return false;
    options.filterIndex = static_cast<int>(ofn.nFilterIndex);
    // One name: the full path. Several: the folder, then each name, NUL-separated.
    files.clear();
    const char* p = buffer.data();
    const std::string first = p;
    p += first.size() + 1;
    if (!*p) {
      files.push_back(first);
    } else {
      const std::string folder = first.back() == '\\' ? first : first + "\\";
      for (; *p; p += std::char_traits<char>::length(p) + 1) files.push_back(folder + p);
    }
    options.fileName = files.front();
    return true;
  }

  bool SaveFile(HWND owner, FileDialogOptions& options) override {
    std::vector<char> buffer = NameBuffer(options.fileName);
    const std::string filter = FilterForDialog(options.filter);
    OPENFILENAMEA ofn = MakeOpenFileName(owner, options, filter, buffer);
    if (options.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!::GetSaveFileNameA(&ofn)) return false;
    options.filterIndex = static_cast<int>(ofn.nFilterIndex);
    options.fileName = buffer.data();
    return true;
  }

  bool SelectFolder(HWND owner, std::string& folder) override { return ShowFolderDialog(owner, folder); }

  int ShellFileOperation(HWND owner, UINT operation, const std::string& from, WORD flags) override {
    SHFILEOPSTRUCTA op{};
    op.hwnd = owner;
    op.wFunc = operation;
    op.pFrom = from.c_str();
    op.fFlags = flags;
    return ::SHFileOperationA(&op);
  }

  void ShellOpen(HWND owner, const std::string& verb, const std::string& file, int show) override {
    ::ShellExecuteA(owner, verb.c_str(), file.c_str(), nullptr, nullptr, show);
  }
};

Dialogs*& Installed() {
  static Dialogs* dialogs = nullptr;
  return dialogs;
}

}  // namespace

Dialogs& CurrentDialogs() {
  static SystemDialogs system;
  return Installed() ? *Installed() : system;
}

void SetDialogs(Dialogs* dialogs) { Installed() = dialogs; }

}  // namespace ui
