// The archive plug-in's Susie exports: ZIP, 7z, RAR, LHA, tar, CAB and ISO 9660 through libarchive.
#include <windows.h>

#include <array>
#include <cstring>
#include <mutex>

#include "core/SjisText.h"
#include "spi/axpixolet/ArchiveCache.h"
#include "spi/axpixolet/ArchiveDetect.h"
#include "spi/axpixolet/ArchiveRecords.h"
#include "spi/common/Guarded.h"
#include "spi/common/InfoText.h"
#include "spi/common/SourceBytes.h"
#include "spi/common/SpiTypes.h"
#include "ui/Handles.h"

using namespace spi;

namespace {

constexpr std::array<const char*, 16> kInfoTexts = {
    "00AM",
    "axpixolet: ZIP, 7z, RAR, LHA, tar, CAB, ISO 9660 (libarchive)",
    "*.zip;*.cbz", "ZIP",
    "*.7z;*.cb7", "7-Zip",
    "*.rar;*.cbr", "RAR",
    "*.lzh;*.lha", "LHA",
    "*.tar;*.tgz;*.tar.gz;*.tbz;*.tar.bz2;*.txz;*.tar.xz", "tar",
    "*.cab", "CAB",
    "*.iso", "ISO 9660",
};

// GetFile's flag: where the member goes.
constexpr unsigned kOutputMask = 0x700;
constexpr unsigned kOutputMemory = 0x100;
// GetFileInfo's flag: compare names without regard to case.
constexpr unsigned kIgnoreCase = 0x80;

// Static: kept between calls, released when the library unloads.
ArchiveCache cache;

// The records of the listing made last: hosts ask for the same listing again
// before every member they show, and building 500 records each time costs
// as much as the member's extraction.
class RecordCache {
 public:
  HLOCAL BlockFor(const std::shared_ptr<const ArchiveListing>& listing) {
    const std::lock_guard lock(mutex_);
    if (listing != listing_) {
      records_ = Records(*listing);
      listing_ = listing;
    }
    return RecordBlock(records_);
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<const ArchiveListing> listing_;
  std::vector<ArchiveFileInfo> records_;
};
RecordCache recordCache;

// The listing of a file (from an offset) or of a memory image, by the flag.
SpiResult ListingOf(const char* source, long length, unsigned flag, std::shared_ptr<const ArchiveListing>& listing) {
  if (!source) return kSpiReadError;
  switch (flag & kSourceMask) {
    case kSourceFile: return cache.List(source, length, listing);
    case kSourceMemory: {
      if (length < 0) return kSpiReadError;
      MemorySource memory({reinterpret_cast<const uint8_t*>(source), static_cast<size_t>(length)});
      auto fresh = std::make_shared<ArchiveListing>();
      const SpiResult result = ListArchive(memory, *fresh);
      listing = std::move(fresh);
      return result;
    }
    default: return kSpiNotImplemented;
  }
}

// Writes `bytes` as `path`; a file left half written is removed.
SpiResult WriteMember(const std::string& path, const std::vector<uint8_t>& bytes) {
  ui::File file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return kSpiWriteError;
  DWORD written = 0;
  const bool whole = bytes.empty() || (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                   nullptr) &&
                                       written == bytes.size());
  file.Reset();
  if (!whole) ::DeleteFileA(path.c_str());
  return whole ? kSpiOk : kSpiWriteError;
}

// Member positions are entry numbers, which a memory image that starts at a
// member cannot be matched with: GetFile reads archives from files only.
int ExtractFile(const char* source, long position, char* destination, unsigned flag, SpiProgressCallback callback,
                long userValue) {
  if (!source || !destination) return kSpiReadError;
  if ((flag & kSourceMask) != kSourceFile) return kSpiNotImplemented;
  const unsigned output = flag & kOutputMask;
  if (output != 0 && output != kOutputMemory) return kSpiNotImplemented;
  ArchiveMember member;
  std::vector<uint8_t> bytes;
  const SpiResult result = cache.ExtractListed(source, static_cast<uint32_t>(position),
                                               FromCallback(callback, userValue), member, bytes);
  if (result != kSpiOk) return result;
  if (output == kOutputMemory) {
    HLOCAL block = ::LocalAlloc(LMEM_FIXED, bytes.size());
    if (!block) return kSpiNoMemory;
    if (!bytes.empty()) std::memcpy(block, bytes.data(), bytes.size());
    *reinterpret_cast<HLOCAL*>(destination) = block;
    return kSpiOk;
  }
  // The bare name only, whatever folders the archive named: nothing lands outside `destination`.
  std::string target = destination;
  if (!target.empty() && target.back() != '\\' && target.back() != '/' && target.back() != ':') target += '\\';
  return WriteMember(target + member.name.name, bytes);
}

}  // namespace

extern "C" {

int __stdcall GetPluginInfo(int infoNumber, char* buffer, int size) {
  return Guarded([&] { return CopyInfoText(kInfoTexts, infoNumber, buffer, size); });
}

int __stdcall IsSupported(const char* path, DWORD_PTR fileOrHead) {
  return Guarded([&] { return IsArchive(SupportedHead(path, fileOrHead), path ? path : "") ? 1 : 0; });
}

int __stdcall GetArchiveInfo(const char* source, long length, unsigned flag, HLOCAL* list) {
  return Guarded([&]() -> int {
    if (!list) return kSpiMemoryError;
    *list = nullptr;
    std::shared_ptr<const ArchiveListing> listing;
    if (const SpiResult result = ListingOf(source, length, flag, listing); result != kSpiOk) return result;
    *list = recordCache.BlockFor(listing);
    return *list ? kSpiOk : kSpiNoMemory;
  });
}

int __stdcall GetFileInfo(const char* source, long length, const char* name, unsigned flag, ArchiveFileInfo* info) {
  return Guarded([&]() -> int {
    if (!name || !info) return kSpiMemoryError;
    std::shared_ptr<const ArchiveListing> listing;
    if (const SpiResult result = ListingOf(source, length, flag, listing); result != kSpiOk) return result;
    for (const ArchiveMember& member : listing->members) {
      const std::string path = member.name.folder + member.name.name;
      if ((flag & kIgnoreCase) ? sjis::SameText(path, name) : path == name) {
        *info = RecordOf(*listing, member);
        return kSpiOk;
      }
    }
    return kSpiBrokenData;
  });
}

int __stdcall GetFile(const char* source, long position, char* destination, unsigned flag,
                      SpiProgressCallback callback, long userValue) {
  return Guarded([&] { return ExtractFile(source, position, destination, flag, callback, userValue); });
}

}  // extern "C"
