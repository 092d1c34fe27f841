#include "viewer/ImgCtrl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "viewer/ResampleRows.h"

namespace {

// A view can be read or written row by row: pixels present, rows that do not
// overlap, and a row length that the address arithmetic can hold.
bool IsUsable(const ConstRgb24View& v) {
  if (v.bits == nullptr || v.width < 1 || v.height < 1) return false;
  const int64_t rowBytes = 3 * int64_t(v.width);
  if (rowBytes > PTRDIFF_MAX) return false;
  const int64_t reach = v.stride < 0 ? -int64_t(v.stride) : int64_t(v.stride);
  return v.height == 1 || reach >= rowBytes;
}

// nullptr when memory is exhausted or the byte count does not fit a size_t.
template <class T>
std::unique_ptr<T[]> TryAllocate(uint64_t count) {
  if (count > SIZE_MAX / sizeof(T)) return nullptr;
  return std::unique_ptr<T[]>(new (std::nothrow) T[size_t(count)]);
}

}  // namespace

bool ResampleBilinearReference(const Rgb24View& dst, const ConstRgb24View& src) {
  if (!IsUsable(dst) || !IsUsable(src)) return false;
  auto columns = TryAllocate<SampleStep>(uint64_t(dst.width));
  auto rows = TryAllocate<SampleStep>(uint64_t(dst.height));
  if (!columns || !rows) return false;
  FillSampleTable(columns.get(), dst.width, src.width);
  FillSampleTable(rows.get(), dst.height, src.height);

  for (int y = 0; y < dst.height; ++y) {
    const SampleStep& ry = rows[y];
    const uint8_t* upper = src.Row(ry.i0);
    const uint8_t* lower = src.Row(ry.i1);
    uint8_t* out = dst.Row(y);
    for (int x = 0; x < dst.width; ++x) {
      const SampleStep& cx = columns[x];
      const uint32_t w00 = cx.g * ry.g, w01 = cx.f * ry.g;
      const uint32_t w10 = cx.g * ry.f, w11 = cx.f * ry.f;
      const uint8_t* p00 = upper + 3 * size_t(cx.i0);
      const uint8_t* p01 = upper + 3 * size_t(cx.i1);
      const uint8_t* p10 = lower + 3 * size_t(cx.i0);
      const uint8_t* p11 = lower + 3 * size_t(cx.i1);
      for (int c = 0; c < 3; ++c) {
        const uint32_t sum = w00 * p00[c] + w01 * p01[c] + w10 * p10[c] + w11 * p11[c];
        out[3 * size_t(x) + c] = uint8_t(sum >> 8);
      }
    }
  }
  return true;
}

namespace {

// The fast version's working memory, one block: the column layout of the
// kernels (on a 16-byte boundary), both tables, and the buffer of a blended
// source row when the two-pass way is taken.
struct Workspace {
  static constexpr uint64_t kAlign = 16;
  std::unique_ptr<uint8_t[]> block;
  uint8_t* layout = nullptr;
  SampleStep* columns = nullptr;
  SampleStep* rows = nullptr;
  uint16_t* blended = nullptr;

  bool Allocate(int destWidth, int destHeight, uint64_t blendedWords) {
    const uint64_t layoutBytes = resample_rows::ColumnLayoutBytes(destWidth);
    const uint64_t tableBytes = sizeof(SampleStep) * (uint64_t(destWidth) + destHeight);
    const uint64_t blendedBytes = sizeof(uint16_t) * blendedWords;
    block = TryAllocate<uint8_t>(kAlign + layoutBytes + tableBytes + blendedBytes);
    if (!block) return false;
    const uintptr_t start = reinterpret_cast<uintptr_t>(block.get());
    layout = block.get() + (kAlign - start % kAlign) % kAlign;
    columns = reinterpret_cast<SampleStep*>(layout + layoutBytes);
    rows = columns + destWidth;
    blended = reinterpret_cast<uint16_t*>(rows + destHeight);
    return true;
  }
};

bool SameSource(const SampleStep& a, const SampleStep& b) {
  return a.i0 == b.i0 && a.i1 == b.i1 && a.f == b.f;
}

// Shrinking the width by 1.5 or more leaves enough source pixels unread that
// blending only the sampled ones beats blending whole rows (measured).
bool SampleDirectly(int destWidth, int sourceWidth) {
  return 2 * int64_t(sourceWidth) >= 3 * int64_t(destWidth);
}

}  // namespace

// Row by row; a destination row that samples the same source rows with the
// same weight as the row above it is a copy of that row. A lower row of
// weight 0 is not read.
bool ResampleBilinear(const Rgb24View& dst, const ConstRgb24View& src) {
  if (!IsUsable(dst) || !IsUsable(src)) return false;
  const bool sampled = SampleDirectly(dst.width, src.width);
  Workspace ws;
  if (!ws.Allocate(dst.width, dst.height,
                   sampled ? 0 : resample_rows::BlendedWords(src.width))) {
    return false;
  }
  FillSampleTable(ws.columns, dst.width, src.width);
  FillSampleTable(ws.rows, dst.height, src.height);
  resample_rows::PrepareColumns(ws.layout, ws.columns, dst.width);

  const size_t dstRowBytes = 3 * size_t(dst.width);
  for (int y = 0; y < dst.height; ++y) {
    const SampleStep& ry = ws.rows[y];
    uint8_t* out = dst.Row(y);
    if (y > 0 && SameSource(ry, ws.rows[y - 1])) {
      std::memcpy(out, dst.Row(y - 1), dstRowBytes);
      continue;
    }
    const uint8_t* upper = src.Row(ry.i0);
    const uint8_t* lower = ry.f > 0 ? src.Row(ry.i1) : upper;
    if (sampled) {
      resample_rows::BlendSampled(out, upper, lower, ry.g, ry.f, src.width, ws.columns,
                                  ws.layout, dst.width);
    } else {
      resample_rows::BlendRows(ws.blended, upper, lower, src.width, ry.g, ry.f);
      resample_rows::BlendColumns(out, ws.blended, ws.columns, ws.layout, dst.width);
    }
  }
  return true;
}
