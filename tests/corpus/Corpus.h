#pragma once
// Files of the shared corpus, and a test fixture that skips when it is absent.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace corpus {

std::filesystem::path Dir();
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);
// The files of a corpus folder whose names end in `extension`, sorted.
std::vector<std::filesystem::path> FilesIn(const std::string& folder, const std::string& extension);

class CorpusTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(Dir())) GTEST_SKIP() << "no corpus at " << Dir() << ": not tested";
  }
};

}  // namespace corpus
