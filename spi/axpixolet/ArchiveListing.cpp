#include "spi/axpixolet/ArchiveListing.h"

#include <archive.h>
#include <archive_entry.h>

namespace spi {

namespace {

bool IsFileMember(archive_entry* entry) {
  // A hard link's entry carries no data of its own.
  return archive_entry_filetype(entry) == AE_IFREG && !archive_entry_hardlink(entry);
}

// The entry's path as wide text. libarchive has none when it cannot convert
// the stored bytes; the ASCII of them is kept then, the rest becomes '_'.
std::wstring WidePath(archive_entry* entry) {
  if (const wchar_t* wide = archive_entry_pathname_w(entry)) return wide;
  std::wstring path;
  if (const char* bytes = archive_entry_pathname(entry)) {
    for (; *bytes; ++bytes) path += static_cast<unsigned char>(*bytes) < 0x80 ? wchar_t(*bytes) : L'\uFFFF';
  }
  return path;
}

}  // namespace

SpiResult ListArchive(ByteSource& source, ArchiveListing& listing) {
  listing = ArchiveListing{};
  ArchiveReader reader(source);
  if (!reader.Opened()) return kSpiUnknownFormat;
  while (listing.members.size() < kMaxMembers) {
    archive_entry* entry = nullptr;
    if (reader.Next(entry) != kSpiOk) return reader.Index() < 0 ? kSpiBrokenData : kSpiOk;
    if (!entry) break;
    if (listing.method.empty()) listing.method = reader.Method();
    if (!IsFileMember(entry)) continue;
    const uint32_t number = static_cast<uint32_t>(reader.Index());
    const auto name = ShiftJisName(WidePath(entry), number);
    if (!name) continue;
    listing.members.push_back(ArchiveMember{number, *name,
                                            static_cast<uint64_t>(std::max<int64_t>(archive_entry_size(entry), 0)),
                                            archive_entry_mtime(entry), archive_entry_is_encrypted(entry) != 0});
  }
  if (listing.method.empty()) listing.method = reader.Method();
  return kSpiOk;
}

SpiResult ExtractEntry(ArchiveReader& reader, uint32_t number, const Progress& progress, std::vector<uint8_t>& bytes) {
  archive_entry* entry = nullptr;
  if (reader.Index() >= static_cast<int64_t>(number)) return kSpiInternalError;
  while (reader.Index() < static_cast<int64_t>(number)) {
    if (const SpiResult result = reader.Next(entry); result != kSpiOk) return result;
    if (!entry) return kSpiBrokenData;
  }
  if (!IsFileMember(entry)) return kSpiBrokenData;
  return reader.ReadData(progress, bytes);
}

}  // namespace spi
