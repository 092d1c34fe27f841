#pragma once
// Pictures and buffers shared by the resampler benchmark and the timer
// program: the cases, a source filled with noise, and the source rows a case
// actually reads, for the copy that bounds a downscale's speed.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "viewer/ImgCtrl.h"

struct ResampleCase {
  const char* name;
  int sourceWidth, sourceHeight, destWidth, destHeight;
};

inline constexpr ResampleCase kResampleCases[] = {
    {"6000x4000->1920x1280", 6000, 4000, 1920, 1280},
    {"4000x3000->1024x768", 4000, 3000, 1024, 768},
    {"800x600->1024x768", 800, 600, 1024, 768},
    {"1000x500->1024x512", 1000, 500, 1024, 512},
};

class ResampleWork {
 public:
  explicit ResampleWork(const ResampleCase& c)
      : case_(c),
        sourceStride_(RowStride(c.sourceWidth)),
        destStride_(RowStride(c.destWidth)),
        source_(size_t(sourceStride_) * c.sourceHeight),
        dest_(size_t(destStride_) * c.destHeight),
        rowBuffer_(sourceStride_) {
    uint32_t state = 12345;
    for (uint8_t& b : source_) b = uint8_t((state = state * 1664525u + 1013904223u) >> 24);
    FindRowsRead();
    rowsCopy_.resize(rowsRead_.size() * size_t(sourceStride_));
  }

  bool Shipped() { return ResampleBilinear(Dest(), Source()); }
  bool Reference() { return ResampleBilinearReference(Dest(), Source()); }

  // Every row read, copied into one row-sized buffer: the reads alone.
  void ReadRows() {
    for (int r : rowsRead_) std::memcpy(rowBuffer_.data(), RowOf(r), sourceStride_);
  }
  // Every row read, copied into a buffer as large as those rows.
  void CopyRows() {
    uint8_t* out = rowsCopy_.data();
    for (int r : rowsRead_) {
      std::memcpy(out, RowOf(r), sourceStride_);
      out += sourceStride_;
    }
  }

  double DestMegapixels() const { return double(case_.destWidth) * case_.destHeight / 1e6; }
  size_t BytesRead() const { return rowsRead_.size() * size_t(sourceStride_); }
  uint8_t Probe() const { return dest_[dest_.size() / 2] ^ rowBuffer_[0] ^ rowsCopy_[0]; }

 private:
  static ptrdiff_t RowStride(int width) { return (3 * ptrdiff_t(width) + 3) / 4 * 4; }

  Rgb24View Dest() { return Rgb24View{dest_.data(), case_.destWidth, case_.destHeight, destStride_}; }
  ConstRgb24View Source() const {
    return ConstRgb24View(source_.data(), case_.sourceWidth, case_.sourceHeight, sourceStride_);
  }
  const uint8_t* RowOf(int r) const { return source_.data() + size_t(r) * sourceStride_; }

  // The upper row of every destination row, and the lower one where it has weight.
  void FindRowsRead() {
    std::vector<SampleStep> rows(case_.destHeight);
    FillSampleTable(rows.data(), case_.destHeight, case_.sourceHeight);
    std::set<int> read;
    for (const SampleStep& r : rows) {
      read.insert(r.i0);
      if (r.f > 0) read.insert(r.i1);
    }
    rowsRead_.assign(read.begin(), read.end());
  }

  ResampleCase case_;
  ptrdiff_t sourceStride_, destStride_;
  std::vector<uint8_t> source_, dest_, rowBuffer_, rowsCopy_;
  std::vector<int> rowsRead_;
};
