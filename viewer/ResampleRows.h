#pragma once
// Row kernels of the fast resampler. The 2 x 2 weighted sum is taken in two
// passes: a vertical blend of two source rows into 16-bit sums (at most
// 16 x 255), then a horizontal blend of two of those sums (at most 16 x 4080 =
// 65280). Both stay within 16 bits and the sum is the same integer, so the
// result matches the single-pass formula bit for bit.
#include <cstddef>
#include <cstdint>

#include "viewer/ImgCtrl.h"

namespace resample_rows {

// Words a blended row of `sourceWidth` pixels needs: three per pixel, then the
// last pixel once more (read where i1 is clamped to i0) and room for the wide
// loads of the horizontal pass.
inline size_t BlendedWords(int sourceWidth) { return 3 * size_t(sourceWidth) + 8; }

// Bytes of the per-column weights that `PrepareColumns` lays out.
size_t ColumnWeightBytes(int destWidth);
void PrepareColumns(uint8_t* weights, const SampleStep* columns, int destWidth);

// blended[i] = upperWeight * upper[i] + lowerWeight * lower[i] for the
// `sourceWidth` pixels of a row, followed by the padding BlendedWords counts.
void BlendRows(uint16_t* blended, const uint8_t* upper, const uint8_t* lower,
               int sourceWidth, int upperWeight, int lowerWeight);

// One destination row: each column x takes (g * blended[i0] + f * blended[i1])
// >> 8 per channel. Relies on i1 being i0 + 1, or i0 at the last source pixel.
void BlendColumns(uint8_t* dstRow, const uint16_t* blended,
                  const SampleStep* columns, const uint8_t* weights,
                  int destWidth);

}  // namespace resample_rows
