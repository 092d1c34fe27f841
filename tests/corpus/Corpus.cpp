#include "corpus/Corpus.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace corpus {

std::filesystem::path Dir() { return PIXOLET_CORPUS_DIR; }

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> FilesIn(const std::string& folder, const std::string& extension) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(Dir() / folder)) {
    if (entry.path().extension() == extension) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace corpus
