#pragma once
// What an archive holds, as the archive plug-in reports it, and getting one
// member's bytes out of it.
#include <cstdint>
#include <string>
#include <vector>

#include "spi/axpixolet/ArchiveReader.h"
#include "spi/axpixolet/MemberNames.h"

namespace spi {

// A listing stops here: 30 MB of list records, far beyond what hosts show.
constexpr size_t kMaxMembers = 65536;

struct ArchiveMember {
  uint32_t number = 0;  // the entry's number in the archive: GetFile's position
  MemberName name;
  uint64_t size = 0;
  int64_t modified = 0;  // seconds since 1970
  bool encrypted = false;
};

struct ArchiveListing {
  std::string method;  // the archive's format, the same for every member
  std::vector<ArchiveMember> members;
};

// Lists the file members; folders, links and special entries are left out.
// An archive damaged part way is listed up to the damage; kSpiBrokenData
// only when not one entry could be read.
SpiResult ListArchive(ByteSource& source, ArchiveListing& listing);

// Moves `reader`, which must not stand past entry `number` yet, to that entry
// and reads its bytes. kSpiBrokenData when the archive has no file entry of that number.
SpiResult ExtractEntry(ArchiveReader& reader, uint32_t number, const Progress& progress, std::vector<uint8_t>& bytes);

}  // namespace spi
