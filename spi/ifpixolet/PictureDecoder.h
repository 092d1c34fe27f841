#pragma once
// The picture plug-in's decoding, free of Win32: file bytes in, a 24-bit DIB out.
#include <cstdint>
#include <span>

#include "spi/common/Dib.h"
#include "spi/common/Progress.h"
#include "spi/common/SpiResult.h"

namespace spi {

enum class PictureFormat { kUnknown, kPng, kGif, kWebp };

// Bytes a file must begin with for DetectPicture to tell its format.
constexpr size_t kSignatureBytes = 16;

// The format that a file's first bytes announce.
PictureFormat DetectPicture(std::span<const uint8_t> head);

struct PictureHeader {
  int32_t width = 0;
  int32_t height = 0;
  int16_t bitDepth = 0;  // bits per pixel of the stored picture
};

// Reads sides and depth without decoding the pixels.
SpiResult ReadPictureHeader(std::span<const uint8_t> file, PictureHeader& header);
// Decodes the whole picture (the first frame of an animation) into `dib`.
SpiResult DecodePicture(std::span<const uint8_t> file, const Progress& progress, Dib& dib);

// One decoder per format; the file's signature has been checked.
SpiResult PngHeader(std::span<const uint8_t> file, PictureHeader& header);
SpiResult DecodePng(std::span<const uint8_t> file, const Progress& progress, Dib& dib);
SpiResult GifHeader(std::span<const uint8_t> file, PictureHeader& header);
SpiResult DecodeGif(std::span<const uint8_t> file, const Progress& progress, Dib& dib);
SpiResult WebpHeader(std::span<const uint8_t> file, PictureHeader& header);
SpiResult DecodeWebp(std::span<const uint8_t> file, const Progress& progress, Dib& dib);

}  // namespace spi
