#include "codecs/JpegReader.h"

#include <algorithm>
#include <climits>

#include "codecs/JpegError.h"

namespace codecs {

// Lives on the heap so that the library's structures keep their address for
// the reader's life and the frames that call setjmp hold nothing to destroy.
struct JpegReader::State {
  jpeg_decompress_struct info{};
  jpeg::ErrorManager errors{};
  bool created = false;
  bool started = false;
  bool cmyk = false;

  ~State() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

namespace {

// Rows that one call to jpeg_read_scanlines may fill (rec_outbuf_height is at
// most the largest vertical sampling factor, 4).
constexpr int kMaxBatch = 16;

// Four-colour samples as B-G-R: each channel is the light that its ink and
// the black ink let through, (255 − ink) × (255 − black) / 255. Adobe's
// writers store 255 − ink (the usual inverted CMYK and YCCK, marked by their
// APP14 segment); other files store the ink itself.
void CmykToBgr(const JSAMPLE* in, uint8_t* out, int32_t width, bool storedInverted) {
  const unsigned flip = storedInverted ? 0 : 255;  // x ^ 255 is 255 − x
  for (int32_t x = 0; x < width; ++x, in += 4, out += 3) {
    const unsigned red = in[0] ^ flip, green = in[1] ^ flip, blue = in[2] ^ flip, white = in[3] ^ flip;
    out[0] = uint8_t((blue * white + 127) / 255);
    out[1] = uint8_t((green * white + 127) / 255);
    out[2] = uint8_t((red * white + 127) / 255);
  }
}

}  // namespace

JpegReader::JpegReader(std::span<const uint8_t> file) : file_(file), state_(std::make_unique<State>()) {}

JpegReader::~JpegReader() = default;

bool JpegReader::ReadHeader() {
  if (state_->created) return state_->started;
  return StartDecompress();
}

int32_t JpegReader::Width() const { return state_->started ? int32_t(state_->info.output_width) : 0; }
int32_t JpegReader::Height() const { return state_->started ? int32_t(state_->info.output_height) : 0; }
bool JpegReader::Damaged() const { return state_->errors.pub.num_warnings > 0; }

bool JpegReader::StartDecompress() {
  State& s = *state_;
  if (file_.size() > ULONG_MAX) return false;
  s.info.err = jpeg::InstallErrorManager(s.errors);
  if (setjmp(s.errors.escape)) return false;
  s.created = true;  // the struct starts zeroed, so destroying a half-made one is safe
  jpeg_create_decompress(&s.info);
  jpeg_mem_src(&s.info, file_.data(), static_cast<unsigned long>(file_.size()));
  if (jpeg_read_header(&s.info, TRUE) != JPEG_HEADER_OK) return false;
  if (s.info.image_width > INT32_MAX || s.info.image_height > INT32_MAX ||
      !FitsLimits(int32_t(s.info.image_width), int32_t(s.info.image_height), PixelLayout::Bits24)) {
    return false;
  }
  // The library turns every colour space into B-G-R itself except four-colour ones.
  s.cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
  s.info.out_color_space = s.cmyk ? JCS_CMYK : JCS_EXT_BGR;
  // A progressive file's scans are all read here, so that their errors refuse
  // the file before the caller allocates any row.
  if (!jpeg_start_decompress(&s.info)) return false;
  s.started = true;
  return true;
}

bool JpegReader::Decode(RowTarget target) {
  State& s = *state_;
  if (!s.started || s.info.output_scanline != 0) return false;
  if (setjmp(s.errors.escape)) return false;
  const int32_t width = int32_t(s.info.output_width), height = int32_t(s.info.output_height);
  const size_t stride = DibStride(width, PixelLayout::Bits24), rowBytes = size_t(width) * 3;
  const int batch = s.info.rec_outbuf_height < kMaxBatch ? s.info.rec_outbuf_height : kMaxBatch;
  // Four-colour rows pass through a few rows of the library's own memory (freed with it).
  JSAMPARRAY inks = s.cmyk ? (*s.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.info), JPOOL_IMAGE,
                                                         JDIMENSION(width) * 4, JDIMENSION(batch))
                           : nullptr;
  JSAMPROW rows[kMaxBatch];
  while (s.info.output_scanline < s.info.output_height) {
    const int32_t y = int32_t(s.info.output_scanline);
    const int count = height - y < batch ? height - y : batch;
    for (int k = 0; k < count; ++k) rows[k] = s.cmyk ? inks[k] : target.first + (y + k) * target.step;
    const int got = int(jpeg_read_scanlines(&s.info, rows, JDIMENSION(count)));
    if (got == 0) return false;  // only a suspending source returns nothing; ours never should
    for (int k = 0; k < got; ++k) {
      uint8_t* row = target.first + (y + k) * target.step;
      if (s.cmyk) CmykToBgr(inks[k], row, width, s.info.saw_Adobe_marker);
      std::fill(row + rowBytes, row + stride, uint8_t{0});
    }
  }
  return true;
}

}  // namespace codecs
