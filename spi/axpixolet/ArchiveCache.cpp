#include "spi/axpixolet/ArchiveCache.h"

namespace spi {

void ArchiveCache::Follow(const FileIdentity& identity) {
  if (identity == identity_) return;
  reader_.reset();
  source_.reset();
  listing_.reset();
  lastNumber_ = -1;
  lastBytes_ = {};
  identity_ = identity;
}

void ArchiveCache::Clear() {
  const std::lock_guard lock(mutex_);
  Follow(FileIdentity{});
}

SpiResult ArchiveCache::FollowFile(const std::string& path, int64_t start) {
  const FileIdentity identity = IdentityOf(path, start);
  Follow(identity);
  return identity.size < 0 || start < 0 || start > identity.size ? kSpiReadError : kSpiOk;
}

SpiResult ArchiveCache::ListFollowed() {
  if (listing_) return kSpiOk;
  const auto source = FileSource::Open(identity_.path, identity_.start);
  if (!source) return kSpiReadError;
  auto fresh = std::make_shared<ArchiveListing>();
  if (const SpiResult result = ListArchive(*source, *fresh); result != kSpiOk) return result;
  listing_ = std::move(fresh);
  return kSpiOk;
}

SpiResult ArchiveCache::ExtractFollowed(uint32_t number, const Progress& progress, std::vector<uint8_t>& bytes) {
  if (lastNumber_ == number) {
    bytes = lastBytes_;
    const int32_t size = static_cast<int32_t>(bytes.size());
    return GoOn(progress, size, size) ? kSpiOk : kSpiCancelled;
  }
  if (!reader_ || !reader_->Opened() || reader_->Index() >= static_cast<int64_t>(number)) {
    reader_.reset();
    source_ = FileSource::Open(identity_.path, identity_.start);
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
  const bool keep = result == kSpiOk && bytes.size() <= kMaxKeptMember;
  lastNumber_ = keep ? number : -1;
  lastBytes_ = keep ? bytes : std::vector<uint8_t>{};
  return result;
}

SpiResult ArchiveCache::List(const std::string& path, int64_t start, std::shared_ptr<const ArchiveListing>& listing) {
  const std::lock_guard lock(mutex_);
  if (const SpiResult result = FollowFile(path, start); result != kSpiOk) return result;
  if (const SpiResult result = ListFollowed(); result != kSpiOk) return result;
  listing = listing_;
  return kSpiOk;
}

SpiResult ArchiveCache::Extract(const std::string& path, uint32_t number, const Progress& progress,
                                std::vector<uint8_t>& bytes) {
  const std::lock_guard lock(mutex_);
  if (const SpiResult result = FollowFile(path, 0); result != kSpiOk) return result;
  return ExtractFollowed(number, progress, bytes);
}

SpiResult ArchiveCache::ExtractListed(const std::string& path, uint32_t number, const Progress& progress,
                                      ArchiveMember& member, std::vector<uint8_t>& bytes) {
  const std::lock_guard lock(mutex_);
  if (const SpiResult result = FollowFile(path, 0); result != kSpiOk) return result;
  if (const SpiResult result = ListFollowed(); result != kSpiOk) return result;
  const auto& members = listing_->members;
  const auto found = std::find_if(members.begin(), members.end(), [&](const auto& m) { return m.number == number; });
  if (found == members.end()) return kSpiBrokenData;
  member = *found;
  if (member.encrypted) return kSpiUnknownFormat;
  return ExtractFollowed(number, progress, bytes);
}

}  // namespace spi
