#include "codecs/Picture.h"

#include "core/DibLayout.h"

namespace codecs {

size_t DibStride(int32_t width, PixelLayout layout) {
  if (width < 1) return 0;
  const uint64_t bits = uint64_t(width) * uint64_t(layout);
  const uint64_t stride = (bits + 31) / 32 * 4;
  return stride > SIZE_MAX ? 0 : size_t(stride);
}

bool FitsLimits(int32_t width, int32_t height, PixelLayout layout) {
  if (width < 1 || height < 1 || width > dib::kMaxSide || height > dib::kMaxSide) return false;
  if (int64_t{width} * height > dib::kMaxPixels) return false;
  const size_t stride = DibStride(width, layout);
  return stride != 0 && uint64_t{stride} * uint64_t(height) <= SIZE_MAX;
}

}  // namespace codecs
