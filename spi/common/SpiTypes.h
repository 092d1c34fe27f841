#pragma once
// The records and the callback of the Susie 32-bit interface, as its hosts lay them out.
#include <windows.h>

namespace spi {

// The host's progress callback: a non-zero answer asks the plug-in to stop.
using SpiProgressCallback = int(__stdcall*)(int done, int total, long userValue);

#pragma pack(push, 1)
// What GetPictureInfo fills in.
struct PictureInfo {
  long left;
  long top;
  long width;
  long height;
  WORD xDensity;
  WORD yDensity;
  short colorDepth;
  HLOCAL textInfo;  // a text block of comments; ours never has one
};

// One member of an archive: GetArchiveInfo's list is an array of these
// ended by one whose method starts with a NUL; GetFileInfo fills in one.
struct ArchiveFileInfo {
  unsigned char method[8];
  unsigned long position;
  unsigned long compressedSize;
  unsigned long originalSize;
  long timestamp;
  char path[200];
  char fileName[200];
  unsigned long crc;
};
#pragma pack(pop)

static_assert(sizeof(PictureInfo) == 26);
static_assert(sizeof(ArchiveFileInfo) == 428);

// The part of a call's flag that says where the source is.
constexpr unsigned kSourceMask = 7;
constexpr unsigned kSourceFile = 0;
constexpr unsigned kSourceMemory = 1;

}  // namespace spi
