#pragma once
// The entry list that a Susie archive plug-in hands back: packed records of
// 428 bytes, ended by a record whose first byte is 0. Read in place, never
// past the end of the block, however the block ends.
#include <cstdint>
#include <string_view>

namespace archive {

inline constexpr size_t kRecordSize = 428;

// One record; the texts point into the block.
struct Record {
  std::string_view method;  // compression method, at most 8 bytes
  uint32_t position;
  uint32_t compressedSize;
  uint32_t originalSize;
  uint32_t timeStamp;
  std::string_view path;  // folder inside the archive, at most 200 bytes
  std::string_view name;  // file name, at most 200 bytes
};

// The record at `offset`; the caller makes sure a whole record is there.
Record ReadRecord(std::string_view block, size_t offset);

// Whether the record at `offset` is walked: it lies wholly inside the block,
// its method is not empty and equals the list's first method, byte for byte.
bool ContinuesList(std::string_view block, size_t offset, std::string_view firstMethod);

// Calls visit(record) for each record of the list, in order, and returns how
// many there were. The walk ends at the terminating record, at the first
// record whose method differs from the first record's, after `limit` records,
// or where less than a whole record is left in the block.
template <typename Visit>
size_t WalkList(std::string_view block, size_t limit, Visit&& visit) {
  if (block.size() < kRecordSize) return 0;
  const std::string_view firstMethod = ReadRecord(block, 0).method;
  size_t count = 0;
  for (size_t offset = 0; count < limit && ContinuesList(block, offset, firstMethod);
       offset += kRecordSize) {
    visit(ReadRecord(block, offset));
    ++count;
  }
  return count;
}

// Whether `name` can be written into a folder as a file of that very folder:
// not empty, no folder part (backslash, slash or colon outside double-byte
// characters), not a name that the system reads as "." or "..", and not a
// device name such as "CON" or "LPT1".
bool IsPlainFileName(std::string_view name);

}  // namespace archive
