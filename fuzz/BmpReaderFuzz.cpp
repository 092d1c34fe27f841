// A BMP file: whatever it claims, a shape that comes out fits the limits and
// decoding into rows of that shape stays inside them (ASan watches the rows).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codecs/BmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  const std::optional<codecs::PictureShape> shape = codecs::ReadBmpShape(file);
  if (!shape) return 0;
  if (!codecs::FitsLimits(shape->width, shape->height, shape->layout)) std::abort();
  const int bits = int(shape->layout);
  if (bits <= 8 ? shape->palette.empty() || shape->palette.size() > (size_t{1} << bits) : !shape->palette.empty()) {
    std::abort();
  }
  const size_t stride = codecs::DibStride(shape->width, shape->layout);
  // Run-length files may claim large blank pictures from a few bytes; the
  // fuzzer's time is better spent on the decoding than on clearing them.
  if (stride * size_t(shape->height) > (size_t{1} << 24)) return 0;
  std::vector<uint8_t> rows(stride * size_t(shape->height));
  // Bottom-up, as the viewer's DIB sections are.
  codecs::DecodeBmp(file, *shape, {rows.data() + rows.size() - stride, -ptrdiff_t(stride)});
  return 0;
}
