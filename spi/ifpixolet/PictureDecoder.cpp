#include "spi/ifpixolet/PictureDecoder.h"

#include <cstring>
#include <new>

namespace spi {

namespace {
bool StartsWith(std::span<const uint8_t> bytes, size_t at, const char* text) {
  const size_t length = std::strlen(text);
  return bytes.size() >= at + length && std::memcmp(bytes.data() + at, text, length) == 0;
}
}  // namespace

PictureFormat DetectPicture(std::span<const uint8_t> head) {
  if (StartsWith(head, 0, "\x89PNG\r\n\x1a\n")) return PictureFormat::kPng;
  if (StartsWith(head, 0, "GIF87a") || StartsWith(head, 0, "GIF89a")) return PictureFormat::kGif;
  if (StartsWith(head, 0, "RIFF") && StartsWith(head, 8, "WEBPVP8")) return PictureFormat::kWebp;
  return PictureFormat::kUnknown;
}

SpiResult ReadPictureHeader(std::span<const uint8_t> file, PictureHeader& header) {
  switch (DetectPicture(file)) {
    case PictureFormat::kPng: return PngHeader(file, header);
    case PictureFormat::kGif: return GifHeader(file, header);
    case PictureFormat::kWebp: return WebpHeader(file, header);
    case PictureFormat::kUnknown: break;
  }
  return kSpiUnknownFormat;
}

SpiResult DecodePicture(std::span<const uint8_t> file, const Progress& progress, Dib& dib) {
  try {
    switch (DetectPicture(file)) {
      case PictureFormat::kPng: return DecodePng(file, progress, dib);
      case PictureFormat::kGif: return DecodeGif(file, progress, dib);
      case PictureFormat::kWebp: return DecodeWebp(file, progress, dib);
      case PictureFormat::kUnknown: break;
    }
    return kSpiUnknownFormat;
  } catch (const std::bad_alloc&) {
    dib = Dib{};
    return kSpiNoMemory;
  }
}

}  // namespace spi
