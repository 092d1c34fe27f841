// A JPEG file: the reader refuses it or decodes it into rows sized from its
// header, never leaving the process and never writing outside those rows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  codecs::JpegReader reader(std::span<const uint8_t>(data, size));
  if (!reader.ReadHeader()) return 0;
  const size_t stride = codecs::DibStride(reader.Width(), codecs::PixelLayout::Bits24);
  // Small headers can claim large pictures; decoding them teaches the fuzzer nothing new.
  if (stride * size_t(reader.Height()) > (size_t{1} << 22)) return 0;
  std::vector<uint8_t> rows(stride * size_t(reader.Height()));
  reader.Decode({rows.data(), ptrdiff_t(stride)});
  return 0;
}
