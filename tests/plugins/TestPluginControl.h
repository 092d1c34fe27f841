#pragma once
// The control block of the test plug-ins: tests steer a plug-in through it
// and read back what the plug-in was handed. Shared by the plug-ins and the tests.
#include <cstdint>

// How a plug-in crashes when told to.
enum TestFaultKind : uint32_t {
  kAccessViolation = 1,
  kDivideByZero,
  kIllegalInstruction,
  kStackOverflow,
  kRaisedException,  // RaiseException with kRaisedCode
};
constexpr uint32_t kRaisedCode = 0xE0001234;
// Raised and handled inside the plug-in, under its own handler, when ownHandler is set.
constexpr uint32_t kSelfHandledCode = 0xE0005678;

// Where a plug-in crashes (bits).
enum TestFaultPlace : uint32_t {
  kInPluginInfo = 1u << 0,
  kInIsSupportedByHandle = 1u << 1,
  kInIsSupportedInMemory = 1u << 2,
  kInGetPictureFromFile = 1u << 3,
  kInGetPictureFromMemory = 1u << 4,
  kInArchiveInfo = 1u << 5,
  kInGetFileToMemory = 1u << 6,
  kInGetFileToFolder = 1u << 7,
  kInGetFileToEmptyDestination = 1u << 8,
};

// What a plug-in hands back instead of proper memory blocks.
enum TestHandleKind : uint32_t {
  kProperHandles = 0,
  kUnlockableHandles,  // discarded moveable blocks: LocalLock fails
  kNullHandles,
};

struct TestPluginControl {
  // Steering, set by the tests.
  char apiVersion[16];  // the answer to info 0; empty: info 0 answers 0
  uint32_t faultPlaces;
  uint32_t faultKind;
  int32_t isSupportedAnswer;    // 0: 1 when the file starts with the plug-in's magic, else 0
  int32_t fileModeResult;       // GetPicture from a file, and GetArchiveInfo, when non-zero
  int32_t memoryModeResult;     // GetPicture from memory, when non-zero
  int32_t toMemoryResult;       // GetFile into a memory block, when non-zero
  int32_t toFolderResult;       // GetFile into a folder, when non-zero
  uint32_t handleKind;
  uint32_t disturbFpu;          // leave round-up, single precision behind
  uint32_t ownHandler;          // run each export under an exception handler of its own
  int32_t faultInfoFrom;        // with kInPluginInfo: crash from this info number on
  uint32_t blocksWithFailure;   // write memory blocks into the out-handles, then fail or crash
  uint32_t failureBlockBytes;   // their size (0: 64 bytes)
  uint32_t oneBlockForBoth;     // GetPicture hands one block back as both info and bits
  uint32_t finiDisturbsFpu;     // library finalisation leaves round-up, single precision behind
  uint32_t finiCrashKind;       // library finalisation crashes this way (0: it does not)
  uint32_t postTarget;          // IsSupported posts postMessage to this window, then runs
  uint32_t postMessage;         //   a message loop of its own until the queue is empty
  uint32_t overrunHeap;         // GetPicture writes past the end of a C runtime block first

  // Seen by the plug-in.
  uint32_t pluginInfoCalls;
  uint32_t isSupportedByHandle;
  uint32_t isSupportedInMemory;
  uint8_t isSupportedBuffer[2048];
  uint32_t getPictureCalls;
  int32_t getPictureLength;
  uint32_t getPictureFlag;
  uint32_t getFileCalls;
  uint32_t getFileFlag;
  uint32_t getFilePosition;
  char getFileDestination[260];
  uint32_t progressCalls;
  uint32_t ownHandled;   // exceptions that the plug-in's own handler dealt with
  uint32_t ownUnwinds;   // times its handler was called to unwind
  uint32_t blocksHandedOut;            // memory blocks written into out-handles
  uintptr_t handedOut[64];             // the last 64 of them, by count modulo 64
};

// The exported accessor: TestPluginControl* __stdcall TestControl().
using TestControlFunction = TestPluginControl*(__attribute__((stdcall))*)();

// The tiny formats. A picture: "TPIC", u32 info size, u32 bits size, the
// BITMAPINFO block, the pixel block. An archive: "TARC", u32 list size, the
// list block exactly as GetArchiveInfo returns it, then member data: at each
// record's position a u32 size and the member's bytes.
constexpr char kPictureMagic[] = "TPIC";
constexpr char kArchiveMagic[] = "TARC";
