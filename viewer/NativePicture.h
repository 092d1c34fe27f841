#pragma once
// The pictures the viewer decodes itself: BMP and JPEG files, chosen by the
// file name's extension, decoded straight into a bitmap of the file's own
// pixel format (JPEG: 24 bits per pixel).
#include <cstdint>
#include <span>
#include <string>

#include "ui/Bitmap.h"

// Whether the extension names a native reader whose picture can be shown
// ("bmp", "jpg", "jpeg", without regard to letter case).
bool HasNativeReader(const std::string& path);

// Decodes the file at `path` into `picture`. False, with `picture` untouched,
// when the extension names no native reader or the file cannot be opened;
// false, with `picture` emptied, when the file turns out to be damaged. Throws
// what allocating the picture throws.
bool DecodeNativePicture(const std::string& path, ui::Bitmap& picture);

// The same for the bytes of a BMP file in memory.
bool DecodeBmpBytes(std::span<const uint8_t> file, ui::Bitmap& picture);
