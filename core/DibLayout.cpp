#include "core/DibLayout.h"

#include <cstring>

namespace dib {

namespace {

constexpr uint32_t kHeaderSize = 40;

template <typename T>
T Field(std::string_view block, size_t offset) {
  T value;
  std::memcpy(&value, block.data() + offset, sizeof value);
  return value;
}

bool IsKnownDepth(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::string CheckSizes(const Layout& layout) {
  if (layout.width <= 0 || layout.width > kMaxSide) return "bad width";
  if (layout.lines == 0) return "bad height";
  if (int64_t{layout.width} * layout.lines > kMaxPixels) return "too many pixels";
  return {};
}

std::string CheckFormat(const Layout& layout) {
  if (!IsKnownDepth(layout.bitCount)) return "bad bit count";
  if (layout.compression == kRgb) return {};
  const bool masked = layout.bitCount == 16 || layout.bitCount == 32;
  return layout.compression == kBitFields && masked ? std::string() : "unsupported compression";
}

// Colour masks and table: where they are and how much of them is used.
void PlaceTables(std::string_view block, uint32_t headerSize, Layout& layout) {
  const bool masked = layout.compression == kBitFields;
  layout.maskOffset = kHeaderSize;  // after a plain header, or inside a larger one
  layout.colorOffset = headerSize + (masked && headerSize == kHeaderSize ? 12 : 0);
  if (layout.bitCount > 8) return;
  const uint32_t full = 1u << layout.bitCount;
  const uint32_t used = Field<uint32_t>(block, 32);
  layout.colorCount = used == 0 || used > full ? full : used;
}

std::string CheckTables(std::string_view block, const Layout& layout) {
  const uint64_t maskEnd = layout.compression == kBitFields ? layout.maskOffset + 12 : 0;
  const uint64_t tableEnd = layout.colorOffset + uint64_t{layout.colorCount} * 4;
  return maskEnd > block.size() || tableEnd > block.size() ? "colour table outside the block"
                                                            : std::string();
}

}  // namespace

Layout CheckInfo(std::string_view block) {
  Layout layout;
  const uint32_t headerSize = block.size() >= kHeaderSize ? Field<uint32_t>(block, 0) : 0;
  if (headerSize < kHeaderSize || headerSize > block.size()) {
    layout.problem = "header outside the block";
    return layout;
  }
  layout.width = Field<int32_t>(block, 4);
  layout.height = Field<int32_t>(block, 8);
  const int64_t lines = layout.height < 0 ? -int64_t{layout.height} : int64_t{layout.height};
  layout.lines = lines > kMaxSide ? 0 : static_cast<int32_t>(lines);
  layout.bitCount = Field<uint16_t>(block, 14);
  layout.compression = Field<uint32_t>(block, 16);
  layout.problem = CheckSizes(layout);
  if (layout.problem.empty()) layout.problem = CheckFormat(layout);
  if (!layout.problem.empty()) return layout;
  PlaceTables(block, headerSize, layout);
  layout.problem = CheckTables(block, layout);
  const uint64_t stride = (uint64_t{static_cast<uint32_t>(layout.width)} * layout.bitCount + 31) / 32 * 4;
  layout.imageBytes = stride * static_cast<uint32_t>(layout.lines);
  return layout;
}

}  // namespace dib
