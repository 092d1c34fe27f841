// PNG through libpng: every colour type and depth is turned into 8-bit BGRA
// rows by libpng's own transforms, then composited into the DIB.
#include <png.h>

#include <climits>
#include <cstring>
#include <vector>

#include "spi/ifpixolet/PictureDecoder.h"

namespace spi {

namespace {

struct MemoryReader {
  std::span<const uint8_t> file;
  size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->file.size() - reader->position) png_error(png, "truncated");
  std::memcpy(out, reader->file.data() + reader->position, length);
  reader->position += length;
}

// libpng's default error handler would print and abort the process.
void ErrorExit(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Owns libpng's read and info structures.
class PngReader {
 public:
  explicit PngReader(std::span<const uint8_t> file) : reader_{file} {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorExit, IgnoreWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (info_) {
      png_set_read_fn(png_, &reader_, ReadFromMemory);
      // libpng's own side limit (a million) is below ours for long strips.
      png_set_user_limits(png_, INT32_MAX / 4, INT32_MAX / 4);
    }
  }
  ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  bool Ready() const { return info_ != nullptr; }
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  MemoryReader reader_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// What the decode needs beyond libpng's structures, kept in the caller's frame:
// libpng leaves by longjmp, after which locals changed since setjmp are undefined.
struct DecodeState {
  PictureHeader header;
  std::vector<uint8_t> rows;  // one row, or every row of an interlaced picture
  const Progress* progress = nullptr;
  Dib* dib = nullptr;  // none: the header alone is wanted
};

// Sets libpng's transforms so that every row comes out as 8-bit BGRA.
// Answers the number of interlace passes.
int RequestBgra(png_structp png, png_infop info) {
  const int colorType = png_get_color_type(png, info);
  png_set_expand(png);  // palette to RGB, gray below 8 bits to 8, tRNS to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return passes;
}

// Runs under ReadPng's setjmp: holds nothing that a longjmp must destroy.
SpiResult ReadRows(png_structp png, png_infop info, DecodeState& state) {
  const int passes = RequestBgra(png, info);
  const int32_t width = state.header.width, height = state.header.height;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  if (png_get_rowbytes(png, info) != rowBytes) return kSpiInternalError;
  AllocateDib(*state.dib, width, height);
  const bool whole = passes > 1;
  state.rows.assign(rowBytes * (whole ? height : 1), 0);
  const int32_t total = height * passes;
  for (int pass = 0; pass < passes; ++pass) {
    for (int32_t y = 0; y < height; ++y) {
      if (!GoOn(*state.progress, pass * height + y, total)) return kSpiCancelled;
      uint8_t* row = state.rows.data() + (whole ? y * rowBytes : 0);
      png_read_row(png, row, nullptr);
      if (!whole) PutBgraRow(*state.dib, y, row);
    }
  }
  for (int32_t y = 0; whole && y < height; ++y) PutBgraRow(*state.dib, y, state.rows.data() + y * rowBytes);
  return GoOn(*state.progress, total, total) ? kSpiOk : kSpiCancelled;
}

SpiResult ReadPng(PngReader& reader, DecodeState& state) {
  png_structp png = reader.Png();
  png_infop info = reader.Info();
  if (setjmp(png_jmpbuf(png))) return kSpiBrokenData;
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!FitsLimits(width, height)) return kSpiNoMemory;
  state.header.width = static_cast<int32_t>(width);
  state.header.height = static_cast<int32_t>(height);
  state.header.bitDepth = static_cast<int16_t>(png_get_bit_depth(png, info) * png_get_channels(png, info));
  return state.dib ? ReadRows(png, info, state) : kSpiOk;
}

}  // namespace

SpiResult PngHeader(std::span<const uint8_t> file, PictureHeader& header) {
  PngReader reader(file);
  if (!reader.Ready()) return kSpiNoMemory;
  DecodeState state;
  const SpiResult result = ReadPng(reader, state);
  if (result == kSpiOk) header = state.header;
  return result;
}

SpiResult DecodePng(std::span<const uint8_t> file, const Progress& progress, Dib& dib) {
  PngReader reader(file);
  if (!reader.Ready()) return kSpiNoMemory;
  DecodeState state{{}, {}, &progress, &dib};
  return ReadPng(reader, state);
}

}  // namespace spi
