#pragma once
// Move-only owners for every kind of Win32 handle the program holds.
#include <windows.h>

#include <utility>

namespace ui {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle h = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};
template <typename T>
struct GdiTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DeleteDC(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyMenu(h); }
};
struct LocalTraits {
  using Handle = HLOCAL;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::LocalFree(h); }
};

using File = UniqueHandle<FileTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using Module = UniqueHandle<ModuleTraits>;
using GdiBitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using GdiFont = UniqueHandle<GdiTraits<HFONT>>;
using GdiBrush = UniqueHandle<GdiTraits<HBRUSH>>;
using GdiPen = UniqueHandle<GdiTraits<HPEN>>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using LocalMemory = UniqueHandle<LocalTraits>;

// A device context obtained with GetDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ~WindowDc() { if (dc_) ::ReleaseDC(hwnd_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects a GDI object into a DC for one scope and puts the old one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~SelectGuard() { if (old_) ::SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Locks a local-memory handle for one scope. Ptr() is null when the lock failed.
class LocalLockGuard {
 public:
  explicit LocalLockGuard(HLOCAL h) : handle_(h), ptr_(h ? ::LocalLock(h) : nullptr) {}
  ~LocalLockGuard() { if (ptr_) ::LocalUnlock(handle_); }
  LocalLockGuard(const LocalLockGuard&) = delete;
  LocalLockGuard& operator=(const LocalLockGuard&) = delete;
  void* Ptr() const { return ptr_; }

 private:
  HLOCAL handle_;
  void* ptr_;
};

}  // namespace ui
