#pragma once
// Row kernels of the fast resampler. The 2 x 2 weighted sum is taken in two
// steps: a vertical blend of the two source rows into 16-bit sums (at most
// 16 x 255 = 4080), then a horizontal blend of two of those sums (at most
// 16 x 4080 = 65280). Both stay within 16 bits and the total is the same
// integer, so the result matches the single-formula version bit for bit.
//
// Two ways to apply it to a destination row:
// - two passes: blend whole source rows vertically into a buffer, then sample
//   that buffer; best when each source pixel serves one or more destination
//   pixels (enlarging, mild shrinking);
// - sampled: blend only the pixels each destination column reads, straight
//   from the source rows; best when shrinking leaves most pixels unread.
#include <cstddef>
#include <cstdint>

#include "viewer/ImgCtrl.h"

namespace resample_rows {

// Bytes of the column layout that PrepareColumns writes; it must start on a
// 16-byte boundary.
size_t ColumnLayoutBytes(int destWidth);
void PrepareColumns(uint8_t* layout, const SampleStep* columns, int destWidth);

// Words of the buffer of a blended row of `sourceWidth` pixels: three per
// pixel, with padding on both sides for the wide loads of the second pass.
inline size_t BlendedWords(int sourceWidth) { return 3 * size_t(sourceWidth) + 16; }

// First pass: blended[i] = upperWeight * upper[i] + lowerWeight * lower[i]
// for the 3 x `sourceWidth` channels of a row.
void BlendRows(uint16_t* buffer, const uint8_t* upper, const uint8_t* lower,
               int sourceWidth, int upperWeight, int lowerWeight);

// Second pass: column x of the destination row is (g * blended[i0] +
// f * blended[i1]) >> 8 per channel.
void BlendColumns(uint8_t* dstRow, const uint16_t* buffer,
                  const SampleStep* columns, const uint8_t* layout, int destWidth);

// A destination row straight from its two source rows, each of `sourceWidth`
// pixels: the vertical weights are applied only to the pixels sampled.
void BlendSampled(uint8_t* dstRow, const uint8_t* upper, const uint8_t* lower,
                  int upperWeight, int lowerWeight, int sourceWidth,
                  const SampleStep* columns, const uint8_t* layout, int destWidth);

}  // namespace resample_rows
