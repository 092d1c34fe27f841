// The archive plug-in's entry list: any block, of any length, is walked
// without reading past its end, and the stored texts keep within their fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/ArchiveList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view block(reinterpret_cast<const char*>(data), size);
  size_t bytes = 0;
  const size_t count = archive::WalkList(block, 4096, [&](const archive::Record& record) {
    if (record.method.empty() || record.method.size() > 8 || record.name.size() > 200 ||
        record.path.size() > 200) {
      std::abort();
    }
    bytes += record.name.size() + record.path.size() + record.position;
    archive::IsPlainFileName(record.name);
  });
  if (count * archive::kRecordSize > size || count > 4096) std::abort();
  return bytes == 1 ? 1 : 0;
}
