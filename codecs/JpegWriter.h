#pragma once
#include <cstdint>
#include <vector>

#include "codecs/Picture.h"

namespace codecs {

// Encodes 24-bit B-G-R rows (row y at source.first + y*source.step) as a JPEG: RGB input, the library's defaults, float DCT, quality 90 with baseline tables, sequential. Returns the whole file in memory; false on an encoder error (nothing half-written anywhere).
bool EncodeJpeg(int32_t width, int32_t height, ConstRowSource source, std::vector<uint8_t>& out);

}  // namespace codecs
