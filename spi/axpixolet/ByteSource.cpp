#include "spi/axpixolet/ByteSource.h"

#include <sys/stat.h>

#include <algorithm>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace spi {

namespace {

#ifdef _WIN32
using Stat = struct _stati64;
int StatPath(const char* path, Stat* s) { return _stati64(path, s); }
int SeekTo(std::FILE* file, int64_t offset) { return _fseeki64(file, offset, SEEK_SET); }
// Others may rename, move or delete the archive while it is read, which
// fopen's sharing would refuse them.
std::FILE* OpenForReading(const std::string& path) {
  const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) {
    ::CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "rb");
  if (!file) _close(descriptor);  // closes the handle too
  return file;
}
#else
using Stat = struct stat;
int StatPath(const char* path, Stat* s) { return stat(path, s); }
int SeekTo(std::FILE* file, int64_t offset) { return fseeko(file, offset, SEEK_SET); }
std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }
#endif

}  // namespace

std::span<const uint8_t> MemorySource::ReadAt(int64_t offset, size_t count) {
  if (offset < 0 || offset >= Size()) return {};
  return bytes_.subspan(static_cast<size_t>(offset), std::min<size_t>(count, bytes_.size() - offset));
}

FileIdentity IdentityOf(const std::string& path, int64_t start) {
  FileIdentity identity{path, start};
  Stat s{};
  if (StatPath(path.c_str(), &s) == 0 && (s.st_mode & S_IFMT) == S_IFREG) {
    identity.size = s.st_size;
    identity.modified = s.st_mtime;
  }
  return identity;
}

std::unique_ptr<FileSource> FileSource::Open(const std::string& path, int64_t start) {
  FileIdentity identity = IdentityOf(path, start);
  if (identity.size < 0 || start < 0 || start > identity.size) return nullptr;
  std::FILE* file = OpenForReading(path);
  if (!file) return nullptr;
  return std::unique_ptr<FileSource>(new FileSource(file, std::move(identity)));
}

FileSource::~FileSource() { Close(); }

void FileSource::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  filePosition_ = -1;
}

std::span<const uint8_t> FileSource::ReadAt(int64_t offset, size_t count) {
  if (offset < 0 || offset >= Size()) return {};
  if (!file_ && !(file_ = OpenForReading(identity_.path))) return {};
  count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), Size() - offset));
  const int64_t at = identity_.start + offset;
  if (at != filePosition_ && SeekTo(file_, at) != 0) {
    filePosition_ = -1;
    return {};
  }
  buffer_.resize(count);
  const size_t got = std::fread(buffer_.data(), 1, count, file_);
  filePosition_ = got == count ? at + static_cast<int64_t>(got) : -1;
  return {buffer_.data(), got};
}

}  // namespace spi
