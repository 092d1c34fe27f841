#include "spi/axpixolet/ArchiveCache.h"

namespace spi {

void ArchiveCache::Follow(const FileIdentity& identity) {
  if (identity == identity_) return;
  reader_.reset();
  source_.reset();
  listing_.reset();
  identity_ = identity;
}

void ArchiveCache::Clear() {
  const std::lock_guard lock(mutex_);
  Follow(FileIdentity{});
}

SpiResult ArchiveCache::List(const std::string& path, int64_t start, std::shared_ptr<const ArchiveListing>& listing) {
  const std::lock_guard lock(mutex_);
  const FileIdentity identity = IdentityOf(path, start);
  Follow(identity);
  if (identity.size < 0 || start < 0 || start > identity.size) return kSpiReadError;
  if (!listing_) {
    const auto source = FileSource::Open(path, start);
    if (!source) return kSpiReadError;
    auto fresh = std::make_shared<ArchiveListing>();
    if (const SpiResult result = ListArchive(*source, *fresh); result != kSpiOk) return result;
    listing_ = std::move(fresh);
  }
  listing = listing_;
  return kSpiOk;
}

SpiResult ArchiveCache::Extract(const std::string& path, uint32_t number, const Progress& progress,
                                std::vector<uint8_t>& bytes) {
  const std::lock_guard lock(mutex_);
  const FileIdentity identity = IdentityOf(path, 0);
  Follow(identity);
  if (identity.size < 0) return kSpiReadError;
  if (!reader_ || !reader_->Opened() || reader_->Index() >= static_cast<int64_t>(number)) {
    reader_.reset();
    source_ = FileSource::Open(path, 0);
    if (!source_) return kSpiReadError;
    reader_ = std::make_unique<ArchiveReader>(*source_);
    if (!reader_->Opened()) {
      reader_.reset();
      return kSpiUnknownFormat;
    }
  }
  const SpiResult result = ExtractEntry(*reader_, number, progress, bytes);
  // After a failure or a stop part way, where the reader stands is unsure.
  if (result != kSpiOk) reader_.reset();
  source_->Close();
  return result;
}

}  // namespace spi
