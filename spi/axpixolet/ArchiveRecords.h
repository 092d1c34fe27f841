#pragma once
// A listing in the records Susie hosts read.
#include <windows.h>

#include <vector>

#include "spi/axpixolet/ArchiveListing.h"
#include "spi/common/SpiTypes.h"

namespace spi {

// One member's record.
ArchiveFileInfo RecordOf(const ArchiveListing& listing, const ArchiveMember& member);
// Every member's record and the ending one (method starting with NUL).
std::vector<ArchiveFileInfo> Records(const ArchiveListing& listing);
// A copy of `records` in a new local-memory block; null when memory ran out.
HLOCAL RecordBlock(const std::vector<ArchiveFileInfo>& records);

}  // namespace spi
