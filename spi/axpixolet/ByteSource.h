#pragma once
// Where the archive plug-in reads an archive from: a file (from an offset on,
// for archives behind a self-extractor or inside another file) or a block of
// the caller's memory. libarchive reads, skips and seeks through it.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace spi {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual int64_t Size() const = 0;
  // Up to `count` bytes from `offset`, valid until the next call. Fewer than
  // asked only at the end; none past the end or when the file fails.
  virtual std::span<const uint8_t> ReadAt(int64_t offset, size_t count) = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  std::span<const uint8_t> ReadAt(int64_t offset, size_t count) override;

 private:
  std::span<const uint8_t> bytes_;
};

// What tells one state of a file from another: a cached listing stays valid
// while these stay the same.
struct FileIdentity {
  std::string path;
  int64_t start = 0;
  int64_t size = -1;
  int64_t modified = 0;
  bool operator==(const FileIdentity&) const = default;
};

class FileSource : public ByteSource {
 public:
  // Null when the file cannot be opened or `start` lies beyond its end.
  static std::unique_ptr<FileSource> Open(const std::string& path, int64_t start);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  int64_t Size() const override { return identity_.size - identity_.start; }
  // Reopens the file when it was closed.
  std::span<const uint8_t> ReadAt(int64_t offset, size_t count) override;
  // Lets the file go between calls, so that the user may delete or move it.
  void Close();
  const FileIdentity& Identity() const { return identity_; }

 private:
  FileSource(std::FILE* file, FileIdentity identity) : file_(file), identity_(std::move(identity)) {}

  std::FILE* file_;  // null while closed
  FileIdentity identity_;
  int64_t filePosition_ = -1;  // where the next fread starts; -1: unknown
  std::vector<uint8_t> buffer_;
};

// The identity of the file at `path` without opening it for reading; size -1 when it is missing.
FileIdentity IdentityOf(const std::string& path, int64_t start);

}  // namespace spi
