#include "viewer/NativePicture.h"

#include <vector>

#include "codecs/BmpReader.h"
#include "codecs/JpegReader.h"
#include "core/SjisText.h"
#include "plugins/WholeFile.h"
#include "ui/Win32Error.h"

namespace {

enum class NativeKind { None, Bmp, Jpeg };

NativeKind KindOf(const std::string& path) {
  const std::string extension = sjis::ExtensionPart(path);
  if (sjis::SameText(extension, ".bmp")) return NativeKind::Bmp;
  if (sjis::SameText(extension, ".jpg") || sjis::SameText(extension, ".jpeg")) return NativeKind::Jpeg;
  return NativeKind::None;
}

ui::PixelFormat FormatOf(codecs::PixelLayout layout) {
  switch (layout) {
    case codecs::PixelLayout::Bits1: return ui::PixelFormat::Bits1;
    case codecs::PixelLayout::Bits4: return ui::PixelFormat::Bits4;
    case codecs::PixelLayout::Bits8: return ui::PixelFormat::Bits8;
    case codecs::PixelLayout::Bits16: return ui::PixelFormat::Bits16;
    case codecs::PixelLayout::Bits32: return ui::PixelFormat::Bits32;
    default: return ui::PixelFormat::Bits24;
  }
}

std::vector<RGBQUAD> ColorsOf(const std::vector<uint32_t>& palette) {
  std::vector<RGBQUAD> colors;
  colors.reserve(palette.size());
  for (const uint32_t rgb : palette) {
    colors.push_back(RGBQUAD{static_cast<BYTE>(rgb), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb >> 16), 0});
  }
  return colors;
}

// The picture's rows from the top: a bottom-up DIB section starts with its last row.
codecs::RowTarget RowsOf(ui::Bitmap& picture) {
  return {picture.ScanLine(0), -static_cast<ptrdiff_t>(picture.Stride())};
}

bool DecodeJpegBytes(std::span<const uint8_t> file, ui::Bitmap& picture) {
  codecs::JpegReader reader(file);
  if (!reader.ReadHeader()) return false;
  // The old picture goes before the new one is made, so that two large
  // pictures never share the address space.
  picture = ui::Bitmap();
  picture.Reset(reader.Width(), reader.Height(), ui::PixelFormat::Bits24);
  if (reader.Decode(RowsOf(picture))) return true;
  picture = ui::Bitmap();
  return false;
}

std::span<const uint8_t> BytesOf(const FileBytes& bytes) {
  return {reinterpret_cast<const uint8_t*>(bytes.buffer.data()), static_cast<size_t>(bytes.length)};
}

}  // namespace

bool HasNativeReader(const std::string& path) { return KindOf(path) != NativeKind::None; }

bool DecodeBmpBytes(std::span<const uint8_t> file, ui::Bitmap& picture) {
  const std::optional<codecs::PictureShape> shape = codecs::ReadBmpShape(file);
  if (!shape) return false;
  picture = ui::Bitmap();
  picture.Reset(shape->width, shape->height, FormatOf(shape->layout), ColorsOf(shape->palette));
  if (codecs::DecodeBmp(file, *shape, RowsOf(picture))) return true;
  picture = ui::Bitmap();
  return false;
}

bool DecodeNativePicture(const std::string& path, ui::Bitmap& picture) {
  const NativeKind kind = KindOf(path);
  if (kind == NativeKind::None) return false;
  FileBytes bytes;
  try {
    bytes = ReadWholeFile(path);
  } catch (const ui::Win32Error&) {
    return false;  // missing, locked or unreadable: the plug-ins may still open it
  }
  return kind == NativeKind::Bmp ? DecodeBmpBytes(BytesOf(bytes), picture) : DecodeJpegBytes(BytesOf(bytes), picture);
}
