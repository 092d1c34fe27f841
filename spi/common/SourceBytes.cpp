#include "spi/common/SourceBytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "ui/Handles.h"

namespace spi {

namespace {

ui::File OpenShared(const char* path) {
  // Others may go on reading or writing the file: a host often holds it open.
  return ui::File(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::vector<uint8_t> ReadHead(HANDLE file) {
  std::vector<uint8_t> head(kHeadBytes);
  DWORD got = 0;
  if (!::ReadFile(file, head.data(), kHeadBytes, &got, nullptr)) got = 0;
  head.resize(got);
  return head;
}

}  // namespace

SpiResult ReadFileFrom(const char* path, int64_t offset, std::vector<uint8_t>& bytes) {
  ui::File file = OpenShared(path);
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size)) return kSpiReadError;
  if (offset < 0 || offset > size.QuadPart) return kSpiReadError;
  const uint64_t remaining = static_cast<uint64_t>(size.QuadPart - offset);
  if (remaining > PTRDIFF_MAX) return kSpiNoMemory;
  bytes.resize(static_cast<size_t>(remaining));
  LARGE_INTEGER start{};
  start.QuadPart = offset;
  if (!::SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return kSpiReadError;
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, ask, &got, nullptr) || got == 0) return kSpiReadError;
    done += got;
  }
  return kSpiOk;
}

SpiResult SourceBytes::Take(const char* source, long length, unsigned flag) {
  if (!source) return kSpiReadError;
  if ((flag & kSourceMask) == kSourceMemory) {
    if (length < 0) return kSpiReadError;
    bytes_ = {reinterpret_cast<const uint8_t*>(source), static_cast<size_t>(length)};
    return kSpiOk;
  }
  if ((flag & kSourceMask) != kSourceFile) return kSpiNotImplemented;
  const SpiResult result = ReadFileFrom(source, length, owned_);
  bytes_ = owned_;
  return result;
}

std::vector<uint8_t> SupportedHead(const char* path, DWORD_PTR fileOrHead) {
  if (reinterpret_cast<HANDLE>(fileOrHead) == INVALID_HANDLE_VALUE) {
    if (!path) return {};
    const ui::File file = OpenShared(path);
    return file ? ReadHead(file.Get()) : std::vector<uint8_t>{};
  }
  if (fileOrHead <= 0xFFFF) return ReadHead(reinterpret_cast<HANDLE>(fileOrHead));
  const auto* head = reinterpret_cast<const uint8_t*>(fileOrHead);
  return std::vector<uint8_t>(head, head + kHeadBytes);
}

Progress FromCallback(SpiProgressCallback callback, long userValue) {
  if (!callback) return {};
  return [callback, userValue](int32_t done, int32_t total) { return callback(done, total, userValue) == 0; };
}

}  // namespace spi
