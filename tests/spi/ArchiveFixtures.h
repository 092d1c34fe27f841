#pragma once
// Archives for the archive plug-in's tests: written by libarchive's own
// writer, by hand where a format has no writer or a fault must be planted,
// and by Debian's archivers where they are installed.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "spi/axpixolet/ArchiveListing.h"

namespace spi_testing {

struct Entry {
  std::wstring path;  // ends in '/' for a folder
  std::string bytes;
};

// An archive in libarchive's format `format` ("zip", "7zip", "ustar", "iso9660")
// through `filter` ("", "gzip", "bzip2", "xz"), with writer options such as "zip:hdrcharset=CP932".
std::string WriteArchive(const std::string& format, const std::string& filter, const std::vector<Entry>& entries,
                         const std::string& options = "");

// A ZIP built field by field. Each member is deflated unless `stored`; its
// sizes may be made to lie and its encryption bit set.
struct ZipMember {
  std::string name;  // bytes as stored
  std::string bytes;
  bool stored = false;
  int64_t declaredSize = -1;  // -1: the true size
  bool encrypted = false;
  bool utf8 = false;  // the flag that says the name is UTF-8
};
std::string HandMadeZip(const std::vector<ZipMember>& members);

// An LHA archive of stored ("-lh0-") members with level-0 headers, names as raw bytes.
std::string HandMadeLha(const std::vector<std::pair<std::string, std::string>>& members);

// One of libarchive's own RAR test archives that scripts/setup keeps
// ("rar_compress_normal", "rar5_multiple_files_solid", "rar_encryption_data").
std::string RarSample(const std::string& name);

// A new empty folder named after the running test, under the temporary folder.
std::filesystem::path ScratchFolder();

// Lists `archive` held in memory.
spi::SpiResult List(const std::string& archive, spi::ArchiveListing& listing);
// Entry `number` of `archive` held in memory.
spi::SpiResult ExtractFromMemory(const std::string& archive, uint32_t number, std::string& bytes);

}  // namespace spi_testing
