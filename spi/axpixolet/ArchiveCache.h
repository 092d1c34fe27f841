#pragma once
// What makes the next call on the same archive cheap. Hosts list an archive
// again and extract one member each time a member is shown; without this,
// stepping through a solid archive would decompress it from the start for
// every member. Kept: the listing of one archive file, and a reader left
// standing after the member extracted last. Both belong to one file in one
// state (path, offset, size, time stamp) and are dropped when it changes or
// another archive is asked for; one archive at a time bounds the memory.
// The file itself is not held open between calls. The member extracted last
// is kept too: hosts extract the shown member again whenever the view mode
// changes.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "spi/axpixolet/ArchiveListing.h"

namespace spi {

class ArchiveCache {
 public:
  // The listing of the archive at `start` in the file at `path`.
  SpiResult List(const std::string& path, int64_t start, std::shared_ptr<const ArchiveListing>& listing);
  // The bytes of entry `number`, read on from the kept reader when it stands before it.
  SpiResult Extract(const std::string& path, uint32_t number, const Progress& progress, std::vector<uint8_t>& bytes);
  // The listed member numbered `number` and its bytes, with one look at the
  // file for both. kSpiBrokenData when no member has that number,
  // kSpiUnknownFormat when it is encrypted.
  SpiResult ExtractListed(const std::string& path, uint32_t number, const Progress& progress, ArchiveMember& member,
                          std::vector<uint8_t>& bytes);
  // Forgets everything kept.
  void Clear();

 private:
  // Drops what was kept of another file, or of this one in another state.
  void Follow(const FileIdentity& identity);
  // Follows the file as it is now; kSpiReadError when it is not there.
  SpiResult FollowFile(const std::string& path, int64_t start);
  // With the mutex held and the file followed:
  SpiResult ListFollowed();
  SpiResult ExtractFollowed(uint32_t number, const Progress& progress, std::vector<uint8_t>& bytes);

  std::mutex mutex_;  // hosts may call from more than one thread
  FileIdentity identity_;
  std::shared_ptr<const ArchiveListing> listing_;
  std::unique_ptr<FileSource> source_;
  std::unique_ptr<ArchiveReader> reader_;
  int64_t lastNumber_ = -1;
  std::vector<uint8_t> lastBytes_;
};

// Members above this size are not kept after their extraction.
constexpr size_t kMaxKeptMember = 64 << 20;

}  // namespace spi
