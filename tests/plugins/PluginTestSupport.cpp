#include "PluginTestSupport.h"

#include <cstring>
#include <stdexcept>

#include "app/Globals.h"
#include "plugins/SpiFunc.h"

namespace plugin_testing {

namespace {

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\'));
}

std::string Word(uint32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

std::string Field(const std::string& text, size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  return field;
}

}  // namespace

std::string BuiltPlugin(const std::string& name) { return ExeFolder() + "\\plugins\\" + name + ".spi"; }

void CopyPlugin(const std::string& name, const std::string& target) {
  if (!::CopyFileA(BuiltPlugin(name).c_str(), target.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + name + " to " + target);
  }
}

TestPluginControl& Control(int row) {
  const auto accessor = reinterpret_cast<TestControlFunction>(
      reinterpret_cast<void*>(::GetProcAddress(PluginTable[row].handle, "TestControl")));
  if (!accessor) throw std::runtime_error("row has no test plug-in");
  return *accessor();
}

void PluginHostTest::SetUp() {
  logForm_ = std::make_unique<TOutputForm>();
  OutputForm = logForm_.get();
  DebugEnabled = true;
  savedAppDir_ = AppDir;
}

void PluginHostTest::TearDown() {
  UnloadPlugins();
  PluginCount = 0;
  for (auto& row : PluginTable) row = PluginRow{};
  ArchiveEntryCount = 0;
  ExtractedFilePath.clear();
  AppDir = savedAppDir_;
  DebugEnabled = false;
  OutputForm = nullptr;
}

void PluginHostTest::LoadBuilt(const std::vector<std::string>& names) {
  for (const auto& name : names) LoadPlugin(BuiltPlugin(name));
  ASSERT_EQ(PluginCount, static_cast<int32_t>(names.size()));
  for (int row = 0; row < PluginCount; ++row) LogPluginInfo(row);
  ClearLog();
}

std::vector<std::string> PluginHostTest::Log() const {
  std::vector<std::string> lines;
  for (int i = 0; i < logForm_->OutputListBox.Count(); ++i) lines.push_back(logForm_->OutputListBox.Item(i));
  return lines;
}

void PluginHostTest::ClearLog() { logForm_->OutputListBox.Clear(); }

std::string InfoHeader(int width, int height, int bitCount, uint32_t compression, uint32_t colorsUsed,
                       const std::string& tableBytes) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biCompression = compression;
  header.biClrUsed = colorsUsed;
  return std::string(reinterpret_cast<const char*>(&header), sizeof header) + tableBytes;
}

std::string PictureFile(const std::string& info, const std::string& bits) {
  return std::string(kPictureMagic, 4) + Word(info.size()) + Word(bits.size()) + info + bits;
}

std::string SmallPictureFile() {
  // Rows are bottom-up, BGR, padded to four bytes.
  const std::string bottom("\xFF\x00\x00" "\x00\x00\xFF" "\0\0", 8);
  const std::string top("\x00\xFF\x00" "\xFF\xFF\xFF" "\0\0", 8);
  return PictureFile(InfoHeader(2, 2, 24), bottom + top);
}

std::string ArchiveRecord(const std::string& method, uint32_t position, const std::string& name,
                          const std::string& path, uint32_t compressed, uint32_t original, uint32_t time) {
  return Field(method, 8) + Word(position) + Word(compressed) + Word(original) + Word(time) +
         Field(path, 200) + Field(name, 200) + Word(0);
}

std::string ArchiveFile(const std::vector<Member>& members, bool terminated) {
  const size_t listSize = (members.size() + (terminated ? 1 : 0)) * 428;
  std::string list, data;
  for (size_t i = 0; i < members.size(); ++i) {
    const auto position = static_cast<uint32_t>(8 + listSize + data.size());
    list += ArchiveRecord(members[i].method, position, members[i].name, "dir", members[i].bytes.size() / 2 + 1,
                          members[i].bytes.size(), 1000 + i);
    data += Word(members[i].bytes.size()) + members[i].bytes;
  }
  if (terminated) list += std::string(428, '\0');
  return std::string(kArchiveMagic, 4) + Word(list.size()) + list + data;
}

std::string ArchiveWithList(const std::string& list) {
  return std::string(kArchiveMagic, 4) + Word(list.size()) + list;
}

}  // namespace plugin_testing
