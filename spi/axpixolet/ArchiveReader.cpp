#include "spi/axpixolet/ArchiveReader.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

namespace spi {

namespace {

// A seekable ZIP is read by jumping from one member's header to the next:
// reading little after a jump keeps a walk over 500 headers from reading 500
// large blocks (measured: member 500 of a ZIP of 100 KB members then costs
// 4 times member 1 with 64 KB blocks), while data read on doubles the block.
constexpr size_t kFirstBlock = 4 * 1024;
constexpr size_t kLargestBlock = 64 * 1024;

la_ssize_t ReadBlock(archive* a, void* data, const void** block) {
  auto* cursor = static_cast<SourceCursor*>(data);
  cursor->block = cursor->block ? std::min(cursor->block * 2, kLargestBlock) : kFirstBlock;
  const std::span<const uint8_t> bytes = cursor->source->ReadAt(cursor->position, cursor->block);
  if (bytes.empty() && cursor->position < cursor->source->Size()) {
    archive_set_error(a, EIO, "the archive file could not be read");
    return ARCHIVE_FATAL;
  }
  cursor->position += static_cast<int64_t>(bytes.size());
  *block = bytes.data();
  return static_cast<la_ssize_t>(bytes.size());
}

la_int64_t SkipBytes(archive*, void* data, la_int64_t request) {
  auto* cursor = static_cast<SourceCursor*>(data);
  const la_int64_t skipped = std::clamp<la_int64_t>(request, 0, cursor->source->Size() - cursor->position);
  cursor->position += skipped;
  cursor->block = 0;
  return skipped;
}

la_int64_t SeekTo(archive*, void* data, la_int64_t offset, int whence) {
  auto* cursor = static_cast<SourceCursor*>(data);
  const int64_t size = cursor->source->Size();
  const int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? cursor->position : size;
  if (offset > size - base || base + offset < 0) return ARCHIVE_FATAL;
  cursor->position = base + offset;
  cursor->block = 0;
  return cursor->position;
}

// Only what reads pictures' archives; none of libarchive's filters that start
// outside programs, and no write support.
void SupportFormats(archive* a) {
  archive_read_support_format_zip(a);
  archive_read_support_format_7zip(a);
  archive_read_support_format_rar(a);
  archive_read_support_format_rar5(a);
  archive_read_support_format_lha(a);
  archive_read_support_format_tar(a);
  archive_read_support_format_cab(a);
  archive_read_support_format_iso9660(a);
  archive_read_support_filter_gzip(a);
  archive_read_support_filter_bzip2(a);
  archive_read_support_filter_xz(a);
  archive_read_support_filter_lzma(a);
  // Names without a Unicode flag are Shift-JIS in the archives this reads;
  // flagged or Unicode names keep their own encoding. Without it, trail bytes
  // 0x5C of such names would be taken for folder separators.
  archive_read_set_options(a, "hdrcharset=CP932");
  // Joliet names are Unicode; Rock Ridge ones are bytes in an unknown encoding.
  archive_read_set_options(a, "iso9660:!rockridge");
}

}  // namespace

ArchiveReader::ArchiveReader(ByteSource& source) : cursor_{&source, 0, 0} {
  archive_ = archive_read_new();
  if (!archive_) return;
  SupportFormats(archive_);
  archive_read_set_read_callback(archive_, ReadBlock);
  archive_read_set_skip_callback(archive_, SkipBytes);
  archive_read_set_seek_callback(archive_, SeekTo);
  archive_read_set_callback_data(archive_, &cursor_);
  opened_ = archive_read_open1(archive_) == ARCHIVE_OK;
}

ArchiveReader::~ArchiveReader() {
  if (archive_) archive_read_free(archive_);
}

SpiResult ArchiveReader::Next(archive_entry*& entry) {
  entry = nullptr;
  if (!opened_) return kSpiBrokenData;
  const int result = archive_read_next_header(archive_, &entry_);
  if (result == ARCHIVE_EOF) return kSpiOk;
  if (result < ARCHIVE_WARN) {
    opened_ = false;  // libarchive cannot be trusted to go on after a failed header
    return kSpiBrokenData;
  }
  ++index_;
  entry = entry_;
  return kSpiOk;
}

SpiResult ArchiveReader::ReadData(const Progress& progress, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (!entry_ || archive_entry_is_encrypted(entry_)) return kSpiUnknownFormat;
  const bool declared = archive_entry_size_is_set(entry_);
  const int64_t size = archive_entry_size(entry_);
  if (declared && (size < 0 || size > kMaxMemberBytes)) return kSpiNoMemory;
  const int64_t allowed = declared ? size : kMaxMemberBytes;
  bytes.reserve(static_cast<size_t>(declared ? size : 0));
  const int32_t total = static_cast<int32_t>(declared ? size : 0);
  if (!GoOn(progress, 0, total)) return kSpiCancelled;
  for (;;) {
    const void* block = nullptr;
    size_t length = 0;
    la_int64_t offset = 0;
    const int result = archive_read_data_block(archive_, &block, &length, &offset);
    if (result == ARCHIVE_EOF) break;
    if (result < ARCHIVE_WARN) return kSpiBrokenData;
    // Blocks come in order; a gap is a hole of a sparse member, zeros.
    if (offset < static_cast<la_int64_t>(bytes.size())) return kSpiBrokenData;
    if (offset > allowed || static_cast<int64_t>(length) > allowed - offset) {
      return declared ? kSpiBrokenData : kSpiNoMemory;  // more than it declared: a bomb
    }
    bytes.resize(static_cast<size_t>(offset));
    // At a member's end libarchive may hand over an empty block without an address.
    if (length) bytes.insert(bytes.end(), static_cast<const uint8_t*>(block), static_cast<const uint8_t*>(block) + length);
    if (!GoOn(progress, static_cast<int32_t>(bytes.size()), total)) return kSpiCancelled;
  }
  if (declared) bytes.resize(static_cast<size_t>(size));  // a sparse member's trailing hole
  return GoOn(progress, static_cast<int32_t>(bytes.size()), static_cast<int32_t>(bytes.size())) ? kSpiOk : kSpiCancelled;
}

std::string ArchiveReader::Method() const {
  std::string format;
  switch (archive_format(archive_) & ARCHIVE_FORMAT_BASE_MASK) {
    case ARCHIVE_FORMAT_ZIP: format = "ZIP"; break;
    case ARCHIVE_FORMAT_7ZIP: format = "7z"; break;
    case ARCHIVE_FORMAT_RAR: format = "RAR"; break;
    case ARCHIVE_FORMAT_RAR_V5: format = "RAR5"; break;
    case ARCHIVE_FORMAT_LHA: format = "LHA"; break;
    case ARCHIVE_FORMAT_TAR: format = "tar"; break;
    case ARCHIVE_FORMAT_CAB: format = "CAB"; break;
    case ARCHIVE_FORMAT_ISO9660: format = "ISO9660"; break;
    default: format = "archive"; break;
  }
  switch (archive_filter_code(archive_, 0)) {
    case ARCHIVE_FILTER_GZIP: return format + ".gz";
    case ARCHIVE_FILTER_BZIP2: return format + ".bz2";
    case ARCHIVE_FILTER_XZ: return format + ".xz";
    case ARCHIVE_FILTER_LZMA: return format + ".lzma";
    default: return format;
  }
}

}  // namespace spi
