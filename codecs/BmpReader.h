#pragma once
// The native BMP reader: every header Windows itself displays (core, info with
// or without bit fields, V4, V5, and OS/2 2.x), rows stored plainly, as bit
// fields or run-length coded. Plain bytes in, rows of a DIB out.
#include <cstdint>
#include <optional>
#include <span>

#include "codecs/Picture.h"

namespace codecs {

// The picture's shape when `file` is a BMP we can show, else nullopt. Checks every size against the file before anything is allocated.
std::optional<PictureShape> ReadBmpShape(std::span<const uint8_t> file);

// Decodes into rows of shape.layout (each row's DibStride bytes are written, padding zeroed). False when the pixel data turns out bad (the caller then refuses the file).
bool DecodeBmp(std::span<const uint8_t> file, const PictureShape& shape, RowTarget target);

}  // namespace codecs
