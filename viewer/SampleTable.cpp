#include <algorithm>
#include <cstdint>

#include "viewer/ImgCtrl.h"

// s = d x size / destSize as a double. The product of the two exact doubles
// rounds once, just as the 64-bit integer product converted to a double (a
// 32-bit product overflows for sources tens of thousands of pixels wide).
// s is never negative, so the floors of s and of its fraction x 16 are their
// integer parts. On i686 this file is built with SSE2, whose truncating
// conversion needs no switch of the x87 rounding mode; those switches made
// the table cost a tenth of a large resample. i0 is kept inside the source
// even if a foreign floating-point mode rounded s up to the source size.
void FillSampleTable(SampleStep* table, int destSize, int sourceSize) {
  for (int d = 0; d < destSize; ++d) {
    const double product = double(d) * double(sourceSize);
    const double s = product / destSize;
    const int32_t whole = int32_t(s);
    const int32_t i0 = std::min(whole, sourceSize - 1);
    const int32_t f = int32_t((s - whole) * 16);
    table[d] = SampleStep{i0, std::min(i0 + 1, sourceSize - 1), f, 16 - f};
  }
}
