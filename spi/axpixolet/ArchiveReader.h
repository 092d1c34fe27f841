#pragma once
// libarchive's reader over a ByteSource, with the formats, filters and
// options the archive plug-in uses, stepping through the archive's entries.
#include <cstdint>
#include <string>
#include <vector>

#include "spi/axpixolet/ByteSource.h"
#include "spi/common/Progress.h"
#include "spi/common/SpiResult.h"

struct archive;
struct archive_entry;

namespace spi {

// Far above any real picture, and within what a 32-bit host can take in one block.
constexpr int64_t kMaxMemberBytes = int64_t{256} << 20;

// Where libarchive's callbacks stand in the source.
struct SourceCursor {
  ByteSource* source = nullptr;
  int64_t position = 0;
  size_t block = 0;  // bytes to read next: small after a jump, growing while reads follow on
};

class ArchiveReader {
 public:
  // Reads `source`, which must outlive the reader. Check Opened().
  explicit ArchiveReader(ByteSource& source);
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  bool Opened() const { return opened_; }
  // Moves to the next entry: kSpiOk with the entry, kSpiOk with null at the
  // end, kSpiBrokenData when the archive cannot be read further.
  SpiResult Next(archive_entry*& entry);
  // The number of the entry Next gave last, counting from 0; -1 before the first.
  int64_t Index() const { return index_; }
  // The current entry's bytes, refused when it is encrypted, declares more
  // than kMaxMemberBytes, or delivers more than it declares.
  SpiResult ReadData(const Progress& progress, std::vector<uint8_t>& bytes);
  // The archive's format as a short text ("ZIP", "7z", "tar.gz", ...), known after the first Next.
  std::string Method() const;

 private:
  SourceCursor cursor_;
  archive* archive_ = nullptr;
  archive_entry* entry_ = nullptr;
  bool opened_ = false;
  int64_t index_ = -1;
};

}  // namespace spi
