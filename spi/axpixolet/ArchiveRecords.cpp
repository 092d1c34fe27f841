#include "spi/axpixolet/ArchiveRecords.h"

#include <algorithm>
#include <cstring>

namespace spi {

namespace {
// Copies at most the field's width less its NUL; the texts were made to fit.
template <size_t N>
void PutText(char (&field)[N], const std::string& text) {
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}
}  // namespace

ArchiveFileInfo RecordOf(const ArchiveListing& listing, const ArchiveMember& member) {
  ArchiveFileInfo record{};
  // The method may fill all eight bytes; hosts read at most eight.
  std::memcpy(record.method, listing.method.data(), std::min<size_t>(listing.method.size(), 8));
  record.position = member.number;
  record.originalSize = static_cast<unsigned long>(std::min<uint64_t>(member.size, UINT32_MAX));
  // Unknown for most formats: libarchive does not tell it.
  record.compressedSize = 0;
  record.timestamp = static_cast<long>(std::clamp<int64_t>(member.modified, 0, INT32_MAX));
  PutText(record.path, member.name.folder);
  PutText(record.fileName, member.name.name);
  return record;
}

std::vector<ArchiveFileInfo> Records(const ArchiveListing& listing) {
  std::vector<ArchiveFileInfo> records;
  records.reserve(listing.members.size() + 1);
  for (const ArchiveMember& member : listing.members) records.push_back(RecordOf(listing, member));
  records.push_back(ArchiveFileInfo{});
  return records;
}

HLOCAL RecordBlock(const std::vector<ArchiveFileInfo>& records) {
  const size_t size = records.size() * sizeof(ArchiveFileInfo);
  const HLOCAL block = ::LocalAlloc(LMEM_FIXED, size);
  if (block) std::memcpy(block, records.data(), size);
  return block;
}

}  // namespace spi
