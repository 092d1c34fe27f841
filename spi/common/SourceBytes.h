#pragma once
// Where a Susie call finds its input: a file from a given offset, or a block
// of the caller's memory; and IsSupported's two forms of its second argument.
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "spi/common/Progress.h"
#include "spi/common/SpiResult.h"
#include "spi/common/SpiTypes.h"

namespace spi {

// IsSupported reads at most this much of a file.
constexpr size_t kHeadBytes = 2048;

class SourceBytes {
 public:
  // Takes `source` as a path (file source: `length` is the offset to start
  // at) or as the address of `length` bytes (memory source).
  SpiResult Take(const char* source, long length, unsigned flag);
  std::span<const uint8_t> Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> owned_;
  std::span<const uint8_t> bytes_;
};

// Reads a whole file from `offset` on.
SpiResult ReadFileFrom(const char* path, int64_t offset, std::vector<uint8_t>& bytes);

// IsSupported's second argument is an open file handle when it fits in 16
// bits and the address of the file's first 2048 bytes otherwise. The handle is
// read from where it stands and left after what was read. A host that could
// not open the file passes the invalid handle (all bits set, so above 16 bits):
// the file is then read by its path rather than taken as an address.
std::vector<uint8_t> SupportedHead(const char* path, DWORD_PTR fileOrHead);

// The host's callback as a Progress; none when the host gave none.
Progress FromCallback(SpiProgressCallback callback, long userValue);

}  // namespace spi
