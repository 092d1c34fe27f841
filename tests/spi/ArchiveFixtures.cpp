#include "ArchiveFixtures.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <clocale>
#include <fstream>
#include <stdexcept>

namespace spi_testing {

namespace {

la_ssize_t Append(archive*, void* data, const void* bytes, size_t length) {
  static_cast<std::string*>(data)->append(static_cast<const char*>(bytes), length);
  return static_cast<la_ssize_t>(length);
}

void Check(int result, archive* a, const char* what) {
  if (result < ARCHIVE_WARN) throw std::runtime_error(std::string(what) + ": " + archive_error_string(a));
}

std::string Little(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
  return out;
}

std::string Deflate(const std::string& bytes) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, bytes.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

namespace {

// libarchive's writers on Windows pass names through the C library's locale,
// which is "C" in a plug-in's host: the Japanese one while writing only, so
// that the reading under test sees what hosts give it.
class WriterLocale {
 public:
#ifdef _WIN32
  WriterLocale() : saved_(std::setlocale(LC_ALL, nullptr)) { std::setlocale(LC_ALL, ".932"); }
  ~WriterLocale() { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
#endif
};

}  // namespace

std::string WriteArchive(const std::string& format, const std::string& filter, const std::vector<Entry>& entries,
                         const std::string& options) {
  [[maybe_unused]] const WriterLocale locale;
  std::string out;
  archive* a = archive_write_new();
  Check(archive_write_set_format_by_name(a, format.c_str()), a, "format");
  if (!filter.empty()) Check(archive_write_add_filter_by_name(a, filter.c_str()), a, "filter");
  if (!options.empty()) Check(archive_write_set_options(a, options.c_str()), a, "options");
  archive_write_set_bytes_in_last_block(a, 1);
  Check(archive_write_open(a, &out, nullptr, Append, nullptr), a, "open");
  for (const Entry& e : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_copy_pathname_w(entry, e.path.c_str());
    const bool folder = !e.path.empty() && e.path.back() == L'/';
    archive_entry_set_filetype(entry, folder ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(entry, folder ? 0755 : 0644);
    archive_entry_set_size(entry, folder ? 0 : static_cast<la_int64_t>(e.bytes.size()));
    archive_entry_set_mtime(entry, 1700000000, 0);
    Check(archive_write_header(a, entry), a, "header");
    if (!folder && !e.bytes.empty()) archive_write_data(a, e.bytes.data(), e.bytes.size());
    archive_entry_free(entry);
  }
  Check(archive_write_close(a), a, "close");
  archive_write_free(a);
  return out;
}

std::string HandMadeZip(const std::vector<ZipMember>& members) {
  std::string out, directory;
  for (const ZipMember& m : members) {
    const std::string data = m.stored ? m.bytes : Deflate(m.bytes);
    const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(m.bytes.data()), static_cast<uInt>(m.bytes.size()));
    const uint32_t size = static_cast<uint32_t>(m.declaredSize < 0 ? m.bytes.size() : m.declaredSize);
    const std::string common = Little(20, 2) + Little((m.encrypted ? 1 : 0) | (m.utf8 ? 0x800 : 0), 2) + Little(m.stored ? 0 : 8, 2) +
                               Little(0, 4) + Little(crc, 4) + Little(static_cast<uint32_t>(data.size()), 4) +
                               Little(size, 4) + Little(static_cast<uint32_t>(m.name.size()), 2) + Little(0, 2);
    const uint32_t offset = static_cast<uint32_t>(out.size());
    out += "PK\x03\x04" + common + m.name + data;
    directory += "PK\x01\x02" + Little(20, 2) + common + Little(0, 2) + Little(0, 2) + Little(0, 2) + Little(0, 4) +
                 Little(offset, 4) + m.name;
  }
  const uint32_t directoryAt = static_cast<uint32_t>(out.size());
  const uint32_t count = static_cast<uint32_t>(members.size());
  return out + directory + "PK\x05\x06" + Little(0, 4) + Little(count, 2) + Little(count, 2) +
         Little(static_cast<uint32_t>(directory.size()), 4) + Little(directoryAt, 4) + Little(0, 2);
}

namespace {
// LHA's CRC-16 (polynomial 0xA001, reflected).
uint16_t Crc16(const std::string& bytes) {
  uint16_t crc = 0;
  for (const char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}
}  // namespace

std::string HandMadeLha(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string out;
  for (const auto& [name, bytes] : members) {
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    std::string header = "-lh0-" + Little(size, 4) + Little(size, 4) + Little(0x5A210000, 4) + "\x20" +
                         std::string(1, '\0') + std::string(1, static_cast<char>(name.size())) + name +
                         Little(Crc16(bytes), 2);
    uint8_t sum = 0;
    for (const char c : header) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    out += std::string(1, static_cast<char>(header.size())) + std::string(1, static_cast<char>(sum)) + header + bytes;
  }
  return out + std::string(1, '\0');
}

// The samples are uuencoded: lines of a length character and groups of four
// characters of six bits each, between "begin" and "end".
std::string RarSample(const std::string& name) {
  std::ifstream in(std::string(RAR_SAMPLES_DIR) + "/test_read_format_" + name + ".rar.uu");
  if (!in) throw std::runtime_error("RAR sample missing: " + name + " (run scripts/setup)");
  std::string line, out;
  std::getline(in, line);  // begin
  while (std::getline(in, line) && line != "end") {
    if (line.empty()) continue;
    const size_t length = (line[0] - 0x20) & 0x3F;
    std::string bytes;
    for (size_t i = 1; i < line.size() && bytes.size() < length; i += 4) {
      uint32_t group = 0;
      for (size_t j = 0; j < 4; ++j) group = group << 6 | ((i + j < line.size() ? line[i + j] - 0x20 : 0) & 0x3F);
      bytes += {static_cast<char>(group >> 16), static_cast<char>(group >> 8), static_cast<char>(group)};
    }
    out += bytes.substr(0, length);
  }
  return out;
}

std::filesystem::path ScratchFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto folder = std::filesystem::temp_directory_path() /
                      ("spi-" + std::string(test->test_suite_name()) + "-" + test->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

spi::SpiResult List(const std::string& archive, spi::ArchiveListing& listing) {
  spi::MemorySource source({reinterpret_cast<const uint8_t*>(archive.data()), archive.size()});
  return spi::ListArchive(source, listing);
}

spi::SpiResult ExtractFromMemory(const std::string& archive, uint32_t number, std::string& bytes) {
  spi::MemorySource source({reinterpret_cast<const uint8_t*>(archive.data()), archive.size()});
  spi::ArchiveReader reader(source);
  std::vector<uint8_t> out;
  const spi::SpiResult result = spi::ExtractEntry(reader, number, {}, out);
  bytes.assign(out.begin(), out.end());
  return result;
}

}  // namespace spi_testing
