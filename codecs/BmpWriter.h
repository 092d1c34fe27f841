#pragma once
#include <cstdint>
#include <vector>

#include "codecs/Picture.h"

namespace codecs {

// Encodes rows of `shape`'s layout as a BMP file: a 14-byte file header, a
// 40-byte information header (BI_RGB, bottom-up rows), the palette of a 1-, 4-
// or 8-bit picture, then the pixels padded to 4 bytes. 16-bit rows are x-5-5-5
// and 32-bit rows B-G-R-x, as BI_RGB defines them. Returns the whole file in
// memory; false for a shape outside FitsLimits, a palette longer than the
// layout allows or a file beyond the format's 32-bit sizes.
bool EncodeBmp(const PictureShape& shape, ConstRowSource source, std::vector<uint8_t>& out);

}  // namespace codecs
