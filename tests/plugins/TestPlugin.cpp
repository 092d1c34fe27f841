// A Susie plug-in for the tests, built in several variants: a picture plug-in
// of the "TPIC" format, an archive plug-in of the "TARC" format, one that
// answers "00in", and a bare library without plug-in exports. Tests steer each
// loaded copy through its control block (TestPluginControl.h).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "TestPluginControl.h"

#ifdef TEST_PLUGIN_NEEDS_DEPENDENCY
extern "C" __declspec(dllimport) const char* TestDependencyName();
#define TEST_PLUGIN_DESCRIPTION TestDependencyName()
#else
#define TEST_PLUGIN_DESCRIPTION " \t" TEST_PLUGIN_NAME " \r\n"
#endif

namespace {

TestPluginControl control = [] {
  TestPluginControl c{};
  std::strcpy(c.apiVersion, TEST_PLUGIN_API);
  return c;
}();

}  // namespace

extern "C" TestPluginControl* __stdcall TestControl() { return &control; }

#ifndef TEST_PLUGIN_BARE

namespace {

#ifdef TEST_PLUGIN_ARCHIVE
constexpr const char* kMagic = kArchiveMagic;
constexpr const char* kPattern = "*.tarc";
constexpr const char* kDescription = "Test archive";
#else
constexpr const char* kMagic = kPictureMagic;
constexpr const char* kPattern = "*.tpic";
constexpr const char* kDescription = "Test picture";
#endif

using Progress = int(__stdcall*)(int, int, long);

volatile int recursionGuard = 1;

__attribute__((noinline)) int Recurse(int depth) {
  volatile char pad[4096];
  pad[0] = static_cast<char>(depth);
  if (recursionGuard) return Recurse(depth + 1) + pad[0];
  return pad[0];
}

void Crash() {
  switch (control.faultKind) {
    case kAccessViolation: {
      volatile uintptr_t address = 8;
      *reinterpret_cast<volatile int*>(address) = 1;
      break;
    }
    case kDivideByZero: {
      volatile int zero = 0;
      volatile int dividend = 7;
      volatile int quotient = dividend / zero;
      (void)quotient;
      break;
    }
    case kIllegalInstruction: asm volatile("ud2"); break;
    case kStackOverflow: Recurse(0); break;
    case kRaisedException: ::RaiseException(kRaisedCode, 0, 0, nullptr); break;
  }
}

EXCEPTION_DISPOSITION __cdecl OwnHandler(EXCEPTION_RECORD* record, void*, CONTEXT*, void*) {
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
    ++control.ownUnwinds;
    return ExceptionContinueSearch;
  }
  if (record->ExceptionCode != kSelfHandledCode) return ExceptionContinueSearch;
  ++control.ownHandled;
  return ExceptionContinueExecution;
}

uint32_t pendingPlace;

void RaiseThenMaybeCrash() {
  ::RaiseException(kSelfHandledCode, 0, 0, nullptr);
  if (control.faultPlaces & pendingPlace) Crash();
}

// Runs `body` with an exception registration record of the plug-in's own on
// the chain, as code built with __try does.
void UnderOwnHandler(void (*body)()) {
  EXCEPTION_REGISTRATION_RECORD frame;
  asm volatile("movl %%fs:0, %0" : "=r"(frame.Next) : : "memory");
  frame.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(reinterpret_cast<void*>(OwnHandler));
  asm volatile("movl %0, %%fs:0" : : "r"(&frame) : "memory");
  body();
  asm volatile("movl %0, %%fs:0" : : "r"(frame.Next) : "memory");
}

// Round-up and single precision, on both floating-point units.
void DisturbFpu() {
  const uint16_t roundUpSingle = 0x087F;
  uint32_t roundUp = 0x5F80;
  asm volatile("fldcw %0" : : "m"(roundUpSingle));
  asm volatile("ldmxcsr %0" : : "m"(roundUp));
}

void MaybeCrash(uint32_t place) {
  if (control.ownHandler) {
    pendingPlace = place;
    return UnderOwnHandler(RaiseThenMaybeCrash);
  }
  if (control.disturbFpu) DisturbFpu();
  if (control.faultPlaces & place) Crash();
}

std::string ReadFileBytes(const char* path) {
  std::string bytes;
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(::GetFileSize(file, nullptr));
  DWORD read = 0;
  ::ReadFile(file, bytes.data(), bytes.size(), &read, nullptr);
  ::CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

uint32_t Word(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

bool HasMagic(const std::string& bytes) { return bytes.compare(0, 4, kMagic) == 0; }

HLOCAL HandOut(HLOCAL block) {
  if (block) control.handedOut[control.blocksHandedOut++ % std::size(control.handedOut)] = reinterpret_cast<uintptr_t>(block);
  return block;
}

HLOCAL BlockOf(const char* data, size_t size) {
  if (control.handleKind == kNullHandles) return nullptr;
  if (control.handleKind == kUnlockableHandles) return HandOut(::LocalAlloc(LMEM_MOVEABLE, 0));
  HLOCAL block = ::LocalAlloc(LMEM_MOVEABLE, size);
  std::memcpy(::LocalLock(block), data, size);
  ::LocalUnlock(block);
  return HandOut(block);
}

// Blocks written as if work had begun, by a call that is about to fail.
void WriteBlocksBeforeFailing(HLOCAL* first, HLOCAL* second = nullptr) {
  if (!control.blocksWithFailure) return;
  const size_t size = control.failureBlockBytes ? control.failureBlockBytes : 64;
  *first = HandOut(::LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size));
  if (second) *second = control.oneBlockForBoth ? *first : HandOut(::LocalAlloc(LMEM_MOVEABLE, size));
}

// Whether the call made at `place` ends in a crash.
bool WillCrash(uint32_t place) { return (control.faultPlaces & place) != 0; }

// What a plug-in's own message box or settings dialog does: the program's
// windows get their messages while the plug-in's code is on the stack.
void RunOwnMessageLoop() {
  if (!control.postTarget) return;
  ::PostMessageA(reinterpret_cast<HWND>(static_cast<uintptr_t>(control.postTarget)), control.postMessage, 0, 0);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

int Answer(const std::string& head) {
  if (control.isSupportedAnswer) return control.isSupportedAnswer;
  return HasMagic(head) ? 1 : 0;
}

int DecodePicture(const std::string& bytes, HLOCAL* info, HLOCAL* bits) {
  if (!HasMagic(bytes)) return 2;
  const uint32_t infoSize = Word(bytes, 4);
  const uint32_t bitsSize = Word(bytes, 8);
  if (12ull + infoSize + bitsSize > bytes.size()) return 2;
  *info = BlockOf(bytes.data() + 12, infoSize);
  *bits = control.oneBlockForBoth ? *info : BlockOf(bytes.data() + 12 + infoSize, bitsSize);
  return 0;
}

// The file name of the record at `position`, from the archive's list.
std::string MemberName(const std::string& archive, uint32_t position) {
  const uint32_t listSize = Word(archive, 4);
  for (size_t at = 8; at + 428 <= 8 + listSize && at + 428 <= archive.size(); at += 428) {
    if (Word(archive, at + 8) == position) {
      const char* name = archive.data() + at + 224;
      return std::string(name, strnlen(name, 200));
    }
  }
  return "unknown";
}

std::string MemberBytes(const std::string& archive, uint32_t position) {
  const uint32_t size = Word(archive, position);
  if (position + 4ull + size > archive.size()) return {};
  return archive.substr(position + 4, size);
}

}  // namespace

extern "C" int __stdcall GetPluginInfo(int infoNumber, char* buffer, int size) {
  ++control.pluginInfoCalls;
  if (infoNumber >= control.faultInfoFrom) MaybeCrash(kInPluginInfo);
  const char* text = nullptr;
  switch (infoNumber) {
    case 0: text = control.apiVersion[0] ? control.apiVersion : nullptr; break;
    case 1: text = TEST_PLUGIN_DESCRIPTION; break;
    case 2: text = kPattern; break;
    case 3: text = kDescription; break;
  }
  if (!text || size <= 0) return 0;
  std::strncpy(buffer, text, size - 1);
  buffer[size - 1] = '\0';
  return static_cast<int>(std::strlen(buffer));
}

extern "C" int __stdcall IsSupported(const char* path, DWORD word) {
  (void)path;
  if ((word & 0xFFFF0000) == 0) {
    ++control.isSupportedByHandle;
    MaybeCrash(kInIsSupportedByHandle);
    RunOwnMessageLoop();
    char head[4] = {};
    DWORD read = 0;
    ::ReadFile(reinterpret_cast<HANDLE>(word), head, sizeof head, &read, nullptr);
    return Answer(std::string(head, read));
  }
  ++control.isSupportedInMemory;
  MaybeCrash(kInIsSupportedInMemory);
  std::memcpy(control.isSupportedBuffer, reinterpret_cast<const void*>(word), 2048);
  return Answer(std::string(reinterpret_cast<const char*>(word), 4));
}

// A decoder that misjudges its buffer: it writes well past the end of a block
// of the C runtime's heap, over whatever the heap keeps after it.
void OverrunHeapBlock() {
  auto* block = static_cast<char*>(std::malloc(24));
  volatile char* past = block;
  for (int i = 0; i < 24 + 64; ++i) past[i] = static_cast<char>(0xA5);
}

extern "C" int __stdcall GetPicture(const char* source, long length, unsigned flag, HLOCAL* info,
                                    HLOCAL* bits, Progress progress, long userValue) {
  ++control.getPictureCalls;
  if (control.overrunHeap) OverrunHeapBlock();
  control.getPictureLength = length;
  control.getPictureFlag = flag;
  if (progress && progress(0, 1, userValue) == 0) ++control.progressCalls;
  const bool fromMemory = (flag & 7) == 1;
  const uint32_t place = fromMemory ? kInGetPictureFromMemory : kInGetPictureFromFile;
  const int32_t forced = fromMemory ? control.memoryModeResult : control.fileModeResult;
  if (forced || WillCrash(place)) WriteBlocksBeforeFailing(info, bits);
  MaybeCrash(place);
  if (forced) return forced;
  const std::string bytes = fromMemory ? std::string(source, length) : ReadFileBytes(source);
  return DecodePicture(bytes, info, bits);
}

extern "C" int __stdcall GetArchiveInfo(const char* path, long position, unsigned flag, HLOCAL* list) {
  (void)position;
  (void)flag;
  if (control.fileModeResult == -1 || WillCrash(kInArchiveInfo)) WriteBlocksBeforeFailing(list);
  MaybeCrash(kInArchiveInfo);
  const std::string archive = ReadFileBytes(path);
  if (control.fileModeResult == -1) return -1;
  const uint32_t listSize = Word(archive, 4);
  if (8ull + listSize > archive.size()) return 2;
  *list = BlockOf(archive.data() + 8, listSize);
  return control.fileModeResult;
}

extern "C" int __stdcall GetFile(const char* path, long position, char* destination, unsigned flag,
                                 Progress progress, long userValue) {
  ++control.getFileCalls;
  control.getFileFlag = flag;
  control.getFilePosition = static_cast<uint32_t>(position);
  if (progress && progress(0, 1, userValue) == 0) ++control.progressCalls;
  const std::string archive = ReadFileBytes(path);
  const std::string member = MemberBytes(archive, static_cast<uint32_t>(position));
  if (flag & 0x100) {
    auto* block = reinterpret_cast<HLOCAL*>(destination);
    if (control.toMemoryResult || WillCrash(kInGetFileToMemory)) WriteBlocksBeforeFailing(block);
    MaybeCrash(kInGetFileToMemory);
    if (control.toMemoryResult) return control.toMemoryResult;
    *block = BlockOf(member.data(), member.size());
    return 0;
  }
  std::strncpy(control.getFileDestination, destination, sizeof control.getFileDestination - 1);
  MaybeCrash(destination[0] ? kInGetFileToFolder : kInGetFileToEmptyDestination);
  if (control.toFolderResult) return control.toFolderResult;
  std::string target = destination;
  if (!target.empty()) target += "\\";
  target += MemberName(archive, static_cast<uint32_t>(position));
  HANDLE file = ::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 4;
  DWORD written = 0;
  ::WriteFile(file, member.data(), member.size(), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}

// Library initialisation steered by the variant (nothing can steer it before
// it runs), finalisation by the control block. Finalisation at process exit
// (reserved pointer set) is left alone.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void* reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
#ifdef TEST_PLUGIN_INIT_DISTURBS_FPU
    DisturbFpu();
#endif
#ifdef TEST_PLUGIN_INIT_CRASHES
    control.faultKind = kAccessViolation;
    Crash();
#endif
  }
  if (reason == DLL_PROCESS_DETACH && !reserved) {
    if (control.finiDisturbsFpu) DisturbFpu();
    if (control.finiCrashKind) {
      control.faultKind = control.finiCrashKind;
      Crash();
    }
  }
  return TRUE;
}

#endif  // TEST_PLUGIN_BARE
