#include "viewer/ResampleRows.h"

#include <cassert>

#if defined(__SSE2__)
#include <emmintrin.h>
#elif defined(__i386__) || defined(__x86_64__)
#error "build this file with SSE2 enabled (-msse2): every target machine has it"
#endif

namespace resample_rows {
namespace {

// The last pixel once more, where a clamped i1 reads it as the next pixel,
// then zeros for the part of a wide load that no weight uses.
void PadBlended(uint16_t* blended, int sourceWidth) {
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

}  // namespace

#if defined(__SSE2__)

size_t ColumnWeightBytes(int destWidth) { return sizeof(__m128i) * size_t(destWidth); }

// Per column the eight words g, g, g, f, f, f, 0, 0: one multiply weighs the
// pixel at i0 and the pixel after it in a single load of the blended row.
void PrepareColumns(uint8_t* weights, const SampleStep* columns, int destWidth) {
  for (int x = 0; x < destWidth; ++x) {
    const SampleStep& col = columns[x];
    assert(col.i1 == col.i0 + 1 || col.i1 == col.i0);
    const short g = short(col.g), f = short(col.f);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(weights) + x,
                     _mm_setr_epi16(g, g, g, f, f, f, 0, 0));
  }
}

void BlendRows(uint16_t* blended, const uint8_t* upper, const uint8_t* lower,
               int sourceWidth, int upperWeight, int lowerWeight) {
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

// Words 0..2 of the result: g * blended[i0] + f * blended[i0 + 1], per channel.
inline __m128i BlendPixel(const uint16_t* blended, int32_t i0, const __m128i* weight) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blended + 3 * size_t(i0)));
  const __m128i m = _mm_mullo_epi16(v, _mm_loadu_si128(weight));
  return _mm_add_epi16(m, _mm_srli_si128(m, 6));
}

}  // namespace

// Four pixels a step: the two pairs of three words are joined, shifted down
// to bytes and stored as two overlapping 8-byte writes (the second covers the
// two spare bytes of the first). The loop stops while the spare bytes of the
// second write still fall inside the row; the rest is done one by one.
void BlendColumns(uint8_t* dstRow, const uint16_t* blended,
                  const SampleStep* columns, const uint8_t* weights,
                  int destWidth) {
  const __m128i* w = reinterpret_cast<const __m128i*>(weights);
  const __m128i low3 = _mm_setr_epi16(-1, -1, -1, 0, 0, 0, 0, 0);
  int x = 0;
  for (; x + 5 <= destWidth; x += 4) {
    const __m128i p0 = BlendPixel(blended, columns[x].i0, w + x);
    const __m128i p1 = BlendPixel(blended, columns[x + 1].i0, w + x + 1);
    const __m128i p2 = BlendPixel(blended, columns[x + 2].i0, w + x + 2);
    const __m128i p3 = BlendPixel(blended, columns[x + 3].i0, w + x + 3);
    const __m128i q01 = _mm_or_si128(_mm_and_si128(p0, low3), _mm_slli_si128(p1, 6));
    const __m128i q23 = _mm_or_si128(_mm_and_si128(p2, low3), _mm_slli_si128(p3, 6));
    const __m128i bytes = _mm_packus_epi16(_mm_srli_epi16(q01, 8), _mm_srli_epi16(q23, 8));
    uint8_t* out = dstRow + 3 * size_t(x);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), bytes);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6), _mm_unpackhi_epi64(bytes, bytes));
  }
  BlendColumnsScalar(dstRow, blended, columns, x, destWidth);
}

#else  // no SSE2: the same two passes in plain code

size_t ColumnWeightBytes(int) { return 0; }
void PrepareColumns(uint8_t*, const SampleStep*, int) {}

void BlendRows(uint16_t* blended, const uint8_t* upper, const uint8_t* lower,
               int sourceWidth, int upperWeight, int lowerWeight) {
  const size_t bytes = 3 * size_t(sourceWidth);
  for (size_t i = 0; i < bytes; ++i) {
    blended[i] = uint16_t(upperWeight * upper[i] + lowerWeight * lower[i]);
  }
  PadBlended(blended, sourceWidth);
}

void BlendColumns(uint8_t* dstRow, const uint16_t* blended,
                  const SampleStep* columns, const uint8_t*, int destWidth) {
  BlendColumnsScalar(dstRow, blended, columns, 0, destWidth);
}

#endif

}  // namespace resample_rows
