#pragma once
// A listing in the records Susie hosts read.
#include <windows.h>

#include "spi/axpixolet/ArchiveListing.h"
#include "spi/common/SpiTypes.h"

namespace spi {

// One member's record.
ArchiveFileInfo RecordOf(const ArchiveListing& listing, const ArchiveMember& member);
// Every member's record and the ending one (method starting with NUL) in a
// new local-memory block; null when memory ran out.
HLOCAL RecordBlock(const ArchiveListing& listing);

}  // namespace spi
