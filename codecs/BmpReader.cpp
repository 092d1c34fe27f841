#include "codecs/BmpReader.h"

#include "codecs/BmpDecode.h"

namespace codecs {

std::optional<PictureShape> ReadBmpShape(std::span<const uint8_t> file) {
  std::optional<bmp::Format> format = bmp::ParseBmp(file);
  if (!format) return std::nullopt;
  return std::move(format->shape);
}

bool DecodeBmp(std::span<const uint8_t> file, const PictureShape& shape, RowTarget target) {
  const std::optional<bmp::Format> format = bmp::ParseBmp(file);
  if (!format || format->shape.width != shape.width || format->shape.height != shape.height ||
      format->shape.layout != shape.layout) {
    return false;
  }
  bool decoded = false;
  switch (format->coding) {
    case bmp::Coding::Plain: decoded = bmp::CopyPlainRows(*format, target); break;
    case bmp::Coding::BitFields: decoded = bmp::ConvertBitFields(*format, target); break;
    case bmp::Coding::Rle8:
    case bmp::Coding::Rle4: decoded = bmp::DecodeRunLengths(*format, target); break;
  }
  return decoded && bmp::IndicesInPalette(format->shape, target);
}

}  // namespace codecs
