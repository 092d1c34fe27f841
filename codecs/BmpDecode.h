#pragma once
// The ways a BMP file's pixel data becomes DIB rows; each writes every row of
// `target` in full (padding zeroed) and returns false when the data is bad.
#include "codecs/BmpFormat.h"

namespace codecs::bmp {

// Rows that the DIB layout holds as they are stored.
bool CopyPlainRows(const Format& format, RowTarget target);

// 16- or 32-bit pixels with colour masks: each channel scaled to 8 bits.
bool ConvertBitFields(const Format& format, RowTarget target);

// RLE8 and RLE4 streams; pixels the stream skips keep index 0.
bool DecodeRunLengths(const Format& format, RowTarget target);

// False when a pixel of an indexed picture names an entry beyond its colour table.
bool IndicesInPalette(const PictureShape& shape, RowTarget target);

inline uint8_t* TargetRow(RowTarget target, int32_t y) { return target.first + ptrdiff_t{y} * target.step; }

// The target row of the y-th row in the file's order.
inline uint8_t* StoredRow(const Format& format, RowTarget target, int32_t y) {
  return TargetRow(target, format.topDown ? y : format.shape.height - 1 - y);
}

}  // namespace codecs::bmp
