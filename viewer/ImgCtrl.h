#pragma once
// Bilinear resampling of 24-bit pictures with 1/16-step weights.
//
// Pixels are three bytes, blue, green, red. A view names row 0 as the top row;
// `stride` is the signed distance in bytes from one row to the next one down,
// so a bottom-up DIB is viewed with `bits` at its last stored row and a
// negative stride.
#include <cstddef>
#include <cstdint>

struct Rgb24View {
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;

  uint8_t* Row(int r) const { return bits + r * stride; }
};

struct ConstRgb24View {
  const uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;

  ConstRgb24View() = default;
  ConstRgb24View(const uint8_t* b, int w, int h, ptrdiff_t s)
      : bits(b), width(w), height(h), stride(s) {}
  ConstRgb24View(const Rgb24View& v)  // NOLINT: a writable view reads as well
      : bits(v.bits), width(v.width), height(v.height), stride(v.stride) {}

  const uint8_t* Row(int r) const { return bits + r * stride; }
};

// Where one destination column (or row) samples the source: the two
// neighbouring source indices and the weights f (of i1) and g = 16 - f (of i0).
struct SampleStep {
  int32_t i0;
  int32_t i1;
  int32_t f;
  int32_t g;
};

// Fills `table[0 .. destSize)` for a destination of `destSize` pixels sampling
// a source of `sourceSize` pixels (both at least 1).
void FillSampleTable(SampleStep* table, int destSize, int sourceSize);

// Scales `src` into the whole of `dst` (its size is the target size); the two
// must not share memory. Returns false, with no pixel written, when a view has
// no pixels or a dimension below 1, when a stride is shorter than a row, or
// when memory runs out.
bool ResampleBilinear(const Rgb24View& dst, const ConstRgb24View& src);

// The same result computed the plain way, pixel by pixel from the 2 x 2
// neighbourhood; kept as the yardstick for the fast version.
bool ResampleBilinearReference(const Rgb24View& dst, const ConstRgb24View& src);
