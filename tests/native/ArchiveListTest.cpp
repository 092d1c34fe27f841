#include "core/ArchiveList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Word(uint32_t v) {
  return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

std::string Field(const std::string& text, size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  return field;
}

std::string Record(const std::string& method, uint32_t position, const std::string& name) {
  return Field(method, 8) + Word(position) + Word(2) + Word(3) + Word(4) + Field("dir", 200) +
         Field(name, 200) + Word(0);
}

// The bytes in a heap block of exactly their size, so that the sanitizer
// reports any read past the end.
struct ExactBlock {
  explicit ExactBlock(const std::string& bytes) : data(new char[bytes.size() + (bytes.empty() ? 1 : 0)]), size(bytes.size()) {
    std::memcpy(data.get(), bytes.data(), bytes.size());
  }
  std::string_view View() const { return {data.get(), size}; }
  std::unique_ptr<char[]> data;
  size_t size;
};

std::vector<archive::Record> Walk(const std::string& bytes, size_t limit = 4096) {
  const ExactBlock block(bytes);
  std::vector<archive::Record> records;
  const size_t count = archive::WalkList(block.View(), limit, [&](const archive::Record& r) { records.push_back(r); });
  EXPECT_EQ(count, records.size());
  for (auto& r : records) {  // the views die with the block
    r.method = r.path = r.name = {};
  }
  return records;
}

TEST(ArchiveList, WalkStopsAtTerminatorMethodChangeLimitAndBlockEnd) {
  const std::string a = Record("-lh5-", 1, "a"), b = Record("-lh5-", 2, "b"), c = Record("-lh6-", 3, "c");
  const std::string end(428, '\0');
  struct Case {
    const char* what;
    std::string block;
    size_t limit;
    size_t count;
  };
  const Case cases[] = {
      {"terminated", a + b + end, 4096, 2},
      {"method changes", a + b + c + end, 4096, 2},
      {"first record terminates", end + a, 4096, 0},
      {"no terminator", a + b, 4096, 2},
      {"cut-off last record", a + b + b.substr(0, 427), 4096, 2},
      {"one byte of terminator", a + std::string(1, '\0'), 4096, 1},
      {"shorter than a record", a.substr(0, 427), 4096, 0},
      {"a single byte", "-", 4096, 0},
      {"empty", "", 4096, 0},
      {"limit", a + b + a + end, 2, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Walk(c.block, c.limit).size(), c.count) << c.what;
  }
}

TEST(ArchiveList, FieldsAreReadAndTextsBoundedByTheirWidth) {
  const std::string name(200, 'n');
  std::string record = Record("ABCDEFGH", 0x01020304, name);
  std::memset(&record[24], 'p', 200);  // path without NUL runs into the name
  const ExactBlock block(record);
  std::vector<archive::Record> seen;
  archive::WalkList(block.View(), 10, [&](const archive::Record& r) { seen.push_back(r); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "ABCDEFGH");
  EXPECT_EQ(seen[0].position, 0x01020304u);
  EXPECT_EQ(seen[0].compressedSize, 2u);
  EXPECT_EQ(seen[0].originalSize, 3u);
  EXPECT_EQ(seen[0].timeStamp, 4u);
  EXPECT_EQ(seen[0].path, std::string(200, 'p'));
  EXPECT_EQ(seen[0].name, name);
}

TEST(ArchiveList, OnlyPlainFileNamesAreSafeToWrite) {
  const std::string hyou = "\x95\x5C";  // 表: its trail byte is a backslash
  for (const std::string& name : std::vector<std::string>{"a.jpg", "..a", "a..", ".hidden", "CONFIG.SYS", "COM10", "LPT", hyou + ".jpg",
                                 std::string("con") + hyou}) {
    EXPECT_TRUE(archive::IsPlainFileName(name)) << name;
  }
  for (const std::string& name : std::vector<std::string>{"", ".", "..", "...", ". .", ".. ", "a\\b", "..\\x", "a/b", "C:x", "x:",
                                 "CON", "con.txt", "Nul", "aux .txt", "COM1", "lpt9.jpg", "CONOUT$",
                                 hyou + "\\x"}) {
    EXPECT_FALSE(archive::IsPlainFileName(name)) << name;
  }
}

}  // namespace
