// The archive plug-in's listing and extraction on arbitrary bytes.
#include <clocale>
#include <cstddef>
#include <cstdint>

#include "spi/axpixolet/ArchiveListing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // libarchive converts names through the C library's locale.
  std::setlocale(LC_ALL, "C.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spi::MemorySource source({data, size});
  spi::ArchiveListing listing;
  if (spi::ListArchive(source, listing) != spi::kSpiOk) return 0;
  // Every member in order on one reader, as the plug-in's kept reader goes.
  spi::ArchiveReader reader(source);
  std::vector<uint8_t> bytes;
  for (const spi::ArchiveMember& member : listing.members) {
    if (spi::ExtractEntry(reader, member.number, {}, bytes) != spi::kSpiOk) break;
    if (member.name.name.empty() || member.name.name.size() > spi::kMaxNameBytes) __builtin_trap();
  }
  return 0;
}
