#include "codecs/BmpFormat.h"

#include <algorithm>
#include <bit>

namespace codecs::bmp {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;     // OS/2 1.x: 16-bit sizes, 3-byte palette entries
constexpr uint32_t kOs2ShortHeaderSize = 16; // OS/2 2.x cut after the bit count
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kOs2HeaderSize = 64;      // OS/2 2.x: its compression numbers 3 and 4 differ

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

// The fields of whichever header the file has, widened to the info header's.
struct Header {
  uint32_t size = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored from the top
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = kRgb;
  uint32_t imageSize = 0;
  uint32_t colorsUsed = 0;
  std::array<uint32_t, 3> masks{};
  size_t masksEnd = 0;    // where what follows the header (and any masks) starts
};

bool IsKnownHeaderSize(uint32_t size) {
  switch (size) {
    case kCoreHeaderSize: case kOs2ShortHeaderSize: case kInfoHeaderSize: case 52: case 56:
    case kOs2HeaderSize: case 108: case 124:
      return true;
    default:
      return false;
  }
}

// The header's fields; a header shorter than the info header leaves the rest 0.
std::optional<Header> ReadHeader(std::span<const uint8_t> file) {
  if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  Header h;
  h.size = Le32(&file[kFileHeaderSize]);
  if (!IsKnownHeaderSize(h.size) || kFileHeaderSize + h.size > file.size()) return std::nullopt;
  const uint8_t* p = &file[kFileHeaderSize];
  h.masksEnd = kFileHeaderSize + h.size;
  if (h.size == kCoreHeaderSize) {
    h.width = Le16(p + 4);
    h.height = Le16(p + 6);
    h.planes = Le16(p + 8);
    h.bitCount = Le16(p + 10);
    return h;
  }
  h.width = int32_t(Le32(p + 4));
  h.height = int32_t(Le32(p + 8));
  h.planes = Le16(p + 12);
  h.bitCount = Le16(p + 14);
  if (h.size == kOs2ShortHeaderSize) return h;
  h.compression = Le32(p + 16);
  h.imageSize = Le32(p + 20);
  h.colorsUsed = Le32(p + 32);
  return h;
}

bool IsContiguous(uint32_t mask) {
  return mask == 0 || std::has_single_bit((mask >> std::countr_zero(mask)) + uint64_t{1});
}

// The colour masks of a bit-field file: inside a header of 52 bytes or more,
// else right after the info header (with an alpha mask for BI_ALPHABITFIELDS).
bool ReadMasks(std::span<const uint8_t> file, Header& h) {
  const bool afterHeader = h.size == kInfoHeaderSize;
  const size_t at = afterHeader ? h.masksEnd : kFileHeaderSize + kInfoHeaderSize;
  if (afterHeader) h.masksEnd += h.compression == kAlphaBitFields ? 16 : 12;
  if (h.masksEnd > file.size()) return false;
  uint32_t seen = 0;
  for (size_t i = 0; i < 3; ++i) {
    const uint32_t mask = Le32(&file[at + 4 * i]);
    if (!IsContiguous(mask) || (mask & seen) != 0) return false;
    if (h.bitCount == 16 && mask > 0xFFFF) return false;
    seen |= mask;
    h.masks[i] = mask;
  }
  return seen != 0;
}

bool IsValidCoding(const Header& h) {
  switch (h.compression) {
    case kRgb:
      return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
             h.bitCount == 24 || h.bitCount == 32;
    case kRle8:
      return h.bitCount == 8 && h.height > 0;  // run-length rows are bottom-up only
    case kRle4:
      return h.bitCount == 4 && h.height > 0;
    case kBitFields:
      // OS/2 2.x uses 3 for its own Huffman coding.
      return (h.bitCount == 16 || h.bitCount == 32) && h.size != kOs2HeaderSize;
    case kAlphaBitFields:
      return (h.bitCount == 16 || h.bitCount == 32) && h.size >= kInfoHeaderSize && h.size != kOs2HeaderSize;
    default:
      return false;  // embedded JPEG or PNG, OS/2 RLE24 and Huffman
  }
}

// Width, height and depth as a DIB shape, within the limits of every picture we hold.
std::optional<Format> ShapeOf(const Header& h) {
  if (h.planes != 1 || h.width < 1 || h.height == 0 || !IsValidCoding(h)) return std::nullopt;
  if (h.width > INT32_MAX || h.height > INT32_MAX || -h.height > INT32_MAX) return std::nullopt;
  Format f;
  f.bitCount = h.bitCount;
  f.topDown = h.height < 0;
  f.shape.width = int32_t(h.width);
  f.shape.height = int32_t(f.topDown ? -h.height : h.height);
  f.shape.layout = PixelLayout(h.bitCount);
  f.coding = h.compression == kRle8 ? Coding::Rle8 : h.compression == kRle4 ? Coding::Rle4 : Coding::Plain;
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    f.masks = h.masks;
    const bool x555 = h.bitCount == 16 && h.masks == std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F};
    const bool bgrx = h.bitCount == 32 && h.masks == std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
    // A DIB holds 16-bit pixels as x555 only; any other 16-bit masks become B-G-R.
    if (!x555 && !bgrx) f.coding = Coding::BitFields;
    if (f.coding == Coding::BitFields && h.bitCount == 16) f.shape.layout = PixelLayout::Bits24;
  }
  if (!FitsLimits(f.shape.width, f.shape.height, f.shape.layout)) return std::nullopt;
  return f;
}

// The colour table of an indexed picture. A count of 0 means a full table; a
// table that the pixel offset cuts short (old OS/2 writers) keeps what is there.
bool ReadPalette(std::span<const uint8_t> file, const Header& h, size_t pixelOffset, Format& f) {
  if (h.bitCount > 8) return true;
  const size_t entrySize = h.size == kCoreHeaderSize ? 3 : 4;
  const uint64_t full = uint64_t{1} << h.bitCount;
  const uint64_t claimed = h.colorsUsed != 0 ? h.colorsUsed : full;
  if (h.masksEnd + claimed * entrySize > file.size() && h.colorsUsed != 0) return false;
  const uint64_t room = pixelOffset > h.masksEnd ? (pixelOffset - h.masksEnd) / entrySize : 0;
  const uint64_t count = std::min({claimed, full, room});
  if (count == 0) return false;
  f.shape.palette.resize(size_t(count));
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = &file[h.masksEnd + i * entrySize];
    f.shape.palette[i] = uint32_t(e[0]) | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16;
  }
  return true;
}

// The pixel data, checked against the file: enough for every row of a plain
// picture, and never less than the header's own image size says.
bool PlacePixels(std::span<const uint8_t> file, const Header& h, size_t pixelOffset, Format& f) {
  if (pixelOffset < h.masksEnd || pixelOffset >= file.size()) return false;
  const size_t available = file.size() - pixelOffset;
  if (h.imageSize > available) return false;
  const bool runLength = f.coding == Coding::Rle8 || f.coding == Coding::Rle4;
  if (runLength) {
    const size_t length = h.imageSize != 0 ? h.imageSize : available;
    f.pixels = file.subspan(pixelOffset, length);
    return true;
  }
  const uint64_t rowBytes = (uint64_t(f.shape.width) * f.bitCount + 7) / 8;
  const uint64_t stride = (rowBytes + 3) / 4 * 4;
  // The last row needs no padding after it.
  if (stride * uint64_t(f.shape.height - 1) + rowBytes > available) return false;
  f.pixels = file.subspan(pixelOffset);
  return true;
}

}  // namespace

std::optional<Format> ParseBmp(std::span<const uint8_t> file) {
  std::optional<Header> h = ReadHeader(file);
  if (!h) return std::nullopt;
  // A file size beyond the file's end means the file was cut short.
  if (Le32(&file[2]) > file.size()) return std::nullopt;
  if ((h->compression == kBitFields || h->compression == kAlphaBitFields) && !ReadMasks(file, *h)) {
    return std::nullopt;
  }
  std::optional<Format> f = ShapeOf(*h);
  if (!f) return std::nullopt;
  const size_t pixelOffset = Le32(&file[10]);
  // The pixels first: the table is read up to their offset, which must be inside the file.
  if (!PlacePixels(file, *h, pixelOffset, *f) || !ReadPalette(file, *h, pixelOffset, *f)) return std::nullopt;
  return f;
}

}  // namespace codecs::bmp
