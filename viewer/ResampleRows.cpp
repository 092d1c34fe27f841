#include "viewer/ResampleRows.h"

#include <cassert>

#if defined(__SSE2__)
#include <emmintrin.h>
#elif defined(__i386__)
#error "build this file with -msse2: every i686 machine the program runs on has SSE2"
#endif

namespace resample_rows {
namespace {

// Pixel 0 of a blended row sits 16 bytes into its buffer, which keeps the
// stores of the first pass aligned; the word before it is read with weight 0.
constexpr size_t kFrontWords = 8;

// Around a blended row: the word before it, then the last pixel once more
// (read as the pixel after i0 where i1 is clamped) and zeros to the end of
// the widest load.
void PadBlended(uint16_t* blended, int sourceWidth) {
  blended[-1] = 0;
  uint16_t* end = blended + 3 * size_t(sourceWidth);
  for (int c = 0; c < 3; ++c) end[c] = end[c - 3];
  for (int c = 3; c < 8; ++c) end[c] = 0;
}

void BlendColumnsScalar(uint8_t* dstRow, const uint16_t* blended,
                        const SampleStep* columns, int from, int destWidth) {
  for (int x = from; x < destWidth; ++x) {
    const SampleStep& col = columns[x];
    const uint16_t* p0 = blended + 3 * size_t(col.i0);
    const uint16_t* p1 = blended + 3 * size_t(col.i1);
    for (int c = 0; c < 3; ++c) {
      dstRow[3 * size_t(x) + c] = uint8_t((col.g * p0[c] + col.f * p1[c]) >> 8);
    }
  }
}

void BlendSampledScalar(uint8_t* dstRow, const uint8_t* upper, const uint8_t* lower,
                        int upperWeight, int lowerWeight, const SampleStep* columns,
                        int from, int destWidth) {
  for (int x = from; x < destWidth; ++x) {
    const SampleStep& col = columns[x];
    const size_t a = 3 * size_t(col.i0), b = 3 * size_t(col.i1);
    for (int c = 0; c < 3; ++c) {
      const int first = upperWeight * upper[a + c] + lowerWeight * lower[a + c];
      const int next = upperWeight * upper[b + c] + lowerWeight * lower[b + c];
      dstRow[3 * size_t(x) + c] = uint8_t((col.g * first + col.f * next) >> 8);
    }
  }
}

}  // namespace

#if defined(__SSE2__)

// Four consecutive columns: for each pair the weights 0, then g of the first
// column three times, then g of the second three times, 0 (and the same with
// f), then where each column's first pixel starts, in channels (3 x i0). The
// first column's pixels sit one word up, so that the sums of the pair pack
// into 6 adjacent bytes.
struct ColumnQuad {
  __m128i g01;
  __m128i f01;
  __m128i g23;
  __m128i f23;
  int32_t at[4];
};

size_t ColumnLayoutBytes(int destWidth) { return sizeof(ColumnQuad) * (size_t(destWidth) / 4); }

namespace {

__m128i PairWeights(int32_t a, int32_t b) {
  const short wa = short(a), wb = short(b);
  return _mm_setr_epi16(0, wa, wa, wa, wb, wb, wb, 0);
}

}  // namespace

void PrepareColumns(uint8_t* layout, const SampleStep* columns, int destWidth) {
  assert(reinterpret_cast<uintptr_t>(layout) % alignof(ColumnQuad) == 0);
  auto* quad = reinterpret_cast<ColumnQuad*>(layout);
  for (int x = 0; x + 4 <= destWidth; x += 4, ++quad) {
    const SampleStep* c = columns + x;
    quad->g01 = PairWeights(c[0].g, c[1].g);
    quad->f01 = PairWeights(c[0].f, c[1].f);
    quad->g23 = PairWeights(c[2].g, c[3].g);
    quad->f23 = PairWeights(c[2].f, c[3].f);
    for (int k = 0; k < 4; ++k) {
      // The SIMD loops read the pixel after i0 in place of i1.
      assert(c[k].i1 == c[k].i0 + 1 || c[k].i1 == c[k].i0);
      quad->at[k] = 3 * c[k].i0;
    }
  }
}

void BlendRows(uint16_t* buffer, const uint8_t* upper, const uint8_t* lower,
               int sourceWidth, int upperWeight, int lowerWeight) {
  uint16_t* blended = buffer + kFrontWords;
  const size_t bytes = 3 * size_t(sourceWidth);
  const __m128i zero = _mm_setzero_si128();
  const __m128i gy = _mm_set1_epi16(short(upperWeight));
  const __m128i fy = _mm_set1_epi16(short(lowerWeight));
  size_t i = 0;
  if (lowerWeight == 0) {
    // The row falls on a source row: the lower one is not read at all.
    for (; i + 16 <= bytes; i += 16) {
      const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(blended + i),
                       _mm_slli_epi16(_mm_unpacklo_epi8(u, zero), 4));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(blended + i + 8),
                       _mm_slli_epi16(_mm_unpackhi_epi8(u, zero), 4));
    }
  } else {
    for (; i + 16 <= bytes; i += 16) {
      const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
      const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
      const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(u, zero), gy),
                                       _mm_mullo_epi16(_mm_unpacklo_epi8(l, zero), fy));
      const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(u, zero), gy),
                                       _mm_mullo_epi16(_mm_unpackhi_epi8(l, zero), fy));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(blended + i), lo);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(blended + i + 8), hi);
    }
  }
  for (; i < bytes; ++i) {
    blended[i] = uint16_t(upperWeight * upper[i] + lowerWeight * lower[i]);
  }
  PadBlended(blended, sourceWidth);
}

namespace {

inline __m128i Load8(const void* p) {
  return _mm_loadl_epi64(static_cast<const __m128i*>(p));
}

// Sums of two columns as words 0, b, g, r, b, g, r, 0 (at most 65280 each),
// from `first` (each column's pixel i0 placed to match the weights) and
// `next` (the pixel after it, placed the same way).
inline __m128i WeighTwo(__m128i first, __m128i next, __m128i g, __m128i f) {
  return _mm_add_epi16(_mm_mullo_epi16(first, g), _mm_mullo_epi16(next, f));
}

// Four pixels from two pair sums: as bytes they are 0, a, b, 0 and 0, c, d,
// 0 (3 bytes a pixel); one byte shift leaves a, b and c, d at the start of
// each half, written as two overlapping 8-byte stores that also write 2 spare
// bytes after the 12.
inline void StoreFour(uint8_t* out, __m128i s01, __m128i s23) {
  const __m128i bytes = _mm_packus_epi16(_mm_srli_epi16(s01, 8), _mm_srli_epi16(s23, 8));
  const __m128i closed = _mm_srli_si128(bytes, 1);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), closed);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6), _mm_unpackhi_epi64(closed, closed));
}

// Quads whose spare bytes still fall inside the row: 4 x quads + 1 <= width.
int QuadsInsideRow(int destWidth) { return destWidth >= 5 ? (destWidth - 1) / 4 : 0; }

}  // namespace

// Blended pixels are 3 words and a load takes 4, so two loads per column
// give i0 and i0 + 1 (the padding copy of the last pixel where i1 is
// clamped); the first column of a pair is loaded from one word earlier.
void BlendColumns(uint8_t* dstRow, const uint16_t* buffer,
                  const SampleStep* columns, const uint8_t* layout, int destWidth) {
  const uint16_t* blended = buffer + kFrontWords;
  const int quads = QuadsInsideRow(destWidth);
  const auto* quad = reinterpret_cast<const ColumnQuad*>(layout);
  uint8_t* out = dstRow;
  for (int n = quads; n > 0; --n, ++quad, out += 12) {
    const uint16_t* p[4] = {blended + quad->at[0], blended + quad->at[1],
                            blended + quad->at[2], blended + quad->at[3]};
    const __m128i s01 = WeighTwo(_mm_unpacklo_epi64(Load8(p[0] - 1), Load8(p[1])),
                                 _mm_unpacklo_epi64(Load8(p[0] + 2), Load8(p[1] + 3)),
                                 quad->g01, quad->f01);
    const __m128i s23 = WeighTwo(_mm_unpacklo_epi64(Load8(p[2] - 1), Load8(p[3])),
                                 _mm_unpacklo_epi64(Load8(p[2] + 2), Load8(p[3] + 3)),
                                 quad->g23, quad->f23);
    StoreFour(out, s01, s23);
  }
  BlendColumnsScalar(dstRow, blended, columns, 4 * quads, destWidth);
}

namespace {

// Words b, g, r of the source pixel at `at` and of the one after it (then
// two spare words): upper row x gy + lower row x fy; the lower row only when
// it has weight.
template <bool kLower>
inline __m128i BlendDown(const uint8_t* upper, const uint8_t* lower, int32_t at,
                         __m128i gy, __m128i fy) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i up = _mm_unpacklo_epi8(Load8(upper + at), zero);
  if (!kLower) return _mm_slli_epi16(up, 4);
  return _mm_add_epi16(_mm_mullo_epi16(up, gy),
                       _mm_mullo_epi16(_mm_unpacklo_epi8(Load8(lower + at), zero), fy));
}

template <bool kLower>
inline __m128i BlendTwoSampled(const uint8_t* upper, const uint8_t* lower, const int32_t* at,
                               __m128i gy, __m128i fy, __m128i g, __m128i f) {
  const __m128i a = BlendDown<kLower>(upper, lower, at[0], gy, fy);
  const __m128i b = BlendDown<kLower>(upper, lower, at[1], gy, fy);
  return WeighTwo(_mm_unpacklo_epi64(_mm_slli_si128(a, 2), b),
                  _mm_unpacklo_epi64(_mm_srli_si128(a, 4), _mm_srli_si128(b, 6)), g, f);
}

template <bool kLower>
void BlendSampledQuads(uint8_t* out, const uint8_t* upper, const uint8_t* lower,
                       __m128i gy, __m128i fy, const ColumnQuad* quad, int quads) {
  for (int n = quads; n > 0; --n, ++quad, out += 12) {
    StoreFour(out, BlendTwoSampled<kLower>(upper, lower, quad->at, gy, fy, quad->g01, quad->f01),
              BlendTwoSampled<kLower>(upper, lower, quad->at + 2, gy, fy, quad->g23, quad->f23));
  }
}

// Quads inside the row whose 8-byte loads stay inside the source rows too
// (i0 at most sourceWidth - 3).
int QuadsInsideSource(const ColumnQuad* quad, int destWidth, int sourceWidth) {
  int quads = QuadsInsideRow(destWidth);
  while (quads > 0 && quad[quads - 1].at[3] > 3 * (sourceWidth - 3)) --quads;
  return quads;
}

}  // namespace

void BlendSampled(uint8_t* dstRow, const uint8_t* upper, const uint8_t* lower,
                  int upperWeight, int lowerWeight, int sourceWidth,
                  const SampleStep* columns, const uint8_t* layout, int destWidth) {
  const __m128i gy = _mm_set1_epi16(short(upperWeight));
  const __m128i fy = _mm_set1_epi16(short(lowerWeight));
  const auto* quad = reinterpret_cast<const ColumnQuad*>(layout);
  const int quads = QuadsInsideSource(quad, destWidth, sourceWidth);
  if (lowerWeight == 0) {
    BlendSampledQuads<false>(dstRow, upper, lower, gy, fy, quad, quads);
  } else {
    BlendSampledQuads<true>(dstRow, upper, lower, gy, fy, quad, quads);
  }
  BlendSampledScalar(dstRow, upper, lower, upperWeight, lowerWeight, columns, 4 * quads,
                     destWidth);
}

#else  // no SSE2: the same arithmetic in plain code

size_t ColumnLayoutBytes(int) { return 0; }
void PrepareColumns(uint8_t*, const SampleStep*, int) {}

void BlendRows(uint16_t* buffer, const uint8_t* upper, const uint8_t* lower,
               int sourceWidth, int upperWeight, int lowerWeight) {
  uint16_t* blended = buffer + kFrontWords;
  const size_t bytes = 3 * size_t(sourceWidth);
  for (size_t i = 0; i < bytes; ++i) {
    blended[i] = uint16_t(upperWeight * upper[i] + lowerWeight * lower[i]);
  }
  PadBlended(blended, sourceWidth);
}

void BlendColumns(uint8_t* dstRow, const uint16_t* buffer,
                  const SampleStep* columns, const uint8_t*, int destWidth) {
  BlendColumnsScalar(dstRow, buffer + kFrontWords, columns, 0, destWidth);
}

void BlendSampled(uint8_t* dstRow, const uint8_t* upper, const uint8_t* lower,
                  int upperWeight, int lowerWeight, int, const SampleStep* columns,
                  const uint8_t*, int destWidth) {
  BlendSampledScalar(dstRow, upper, lower, upperWeight, lowerWeight, columns, 0, destWidth);
}

#endif

}  // namespace resample_rows
