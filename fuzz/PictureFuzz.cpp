// The picture plug-in's decoders on arbitrary bytes: header and full decode.
#include <cstddef>
#include <cstdint>

#include "spi/ifpixolet/PictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  spi::PictureHeader header;
  spi::ReadPictureHeader(file, header);
  spi::Dib dib;
  if (spi::DecodePicture(file, {}, dib) == spi::kSpiOk && dib.bits.size() != dib.Stride() * dib.height) {
    __builtin_trap();
  }
  return 0;
}
