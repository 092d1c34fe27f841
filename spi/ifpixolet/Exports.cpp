// The picture plug-in's Susie exports: PNG, GIF and WebP.
#include <windows.h>

#include <array>

#include "spi/common/Guarded.h"
#include "spi/common/InfoText.h"
#include "spi/common/LocalDib.h"
#include "spi/common/SourceBytes.h"
#include "spi/common/SpiTypes.h"
#include "spi/ifpixolet/PictureDecoder.h"

using namespace spi;

namespace {

constexpr std::array<const char*, 8> kInfoTexts = {
    "00IN",
    "ifpixolet: PNG, GIF, WebP (libpng, giflib, libwebp)",
    "*.png", "PNG",
    "*.gif", "GIF",
    "*.webp", "WebP",
};

int Decode(const char* source, long length, unsigned flag, HLOCAL* info, HLOCAL* bits,
           SpiProgressCallback callback, long userValue) {
  if (info) *info = nullptr;
  if (bits) *bits = nullptr;
  SourceBytes input;
  if (const SpiResult result = input.Take(source, length, flag); result != kSpiOk) return result;
  Dib dib;
  if (const SpiResult result = DecodePicture(input.Bytes(), FromCallback(callback, userValue), dib);
      result != kSpiOk) {
    return result;
  }
  return HandOutDib(dib, info, bits);
}

}  // namespace

extern "C" {

int __stdcall GetPluginInfo(int infoNumber, char* buffer, int size) {
  return Guarded([&] { return CopyInfoText(kInfoTexts, infoNumber, buffer, size); });
}

// The file's content decides, not its name.
int __stdcall IsSupported(const char* path, DWORD_PTR fileOrHead) {
  return Guarded([&] { return DetectPicture(SupportedHead(path, fileOrHead)) != PictureFormat::kUnknown ? 1 : 0; });
}

int __stdcall GetPictureInfo(const char* source, long length, unsigned flag, PictureInfo* info) {
  return Guarded([&]() -> int {
    if (!info) return kSpiMemoryError;
    SourceBytes input;
    if (const SpiResult result = input.Take(source, length, flag); result != kSpiOk) return result;
    PictureHeader header;
    if (const SpiResult result = ReadPictureHeader(input.Bytes(), header); result != kSpiOk) return result;
    *info = PictureInfo{0, 0, header.width, header.height, 0, 0, header.bitDepth, nullptr};
    return kSpiOk;
  });
}

int __stdcall GetPicture(const char* source, long length, unsigned flag, HLOCAL* info, HLOCAL* bits,
                         SpiProgressCallback callback, long userValue) {
  return Guarded([&] { return Decode(source, length, flag, info, bits, callback, userValue); });
}

// Our decoders are fast enough that a preview is the whole picture.
int __stdcall GetPreview(const char* source, long length, unsigned flag, HLOCAL* info, HLOCAL* bits,
                         SpiProgressCallback callback, long userValue) {
  return Guarded([&] { return Decode(source, length, flag, info, bits, callback, userValue); });
}

}  // extern "C"
