#include "codecs/JpegWriter.h"

#include <cstdlib>
#include <memory>

#include "codecs/JpegError.h"

#include <jerror.h>

namespace codecs {

namespace {

// The compressed bytes, in a block that grows by doubling. The library's own
// memory destination loses its block when an error interrupts it; this one
// stays owned by the job and is freed on every path.
struct MemoryDestination {
  jpeg_destination_mgr pub;  // first, so that the library's pointer to it is one to us
  unsigned char* data = nullptr;
  size_t capacity = 0;
  size_t used = 0;
};

constexpr size_t kFirstBlock = size_t{1} << 16;

MemoryDestination& DestinationOf(j_compress_ptr info) {
  return *reinterpret_cast<MemoryDestination*>(info->dest);
}

void InitDestination(j_compress_ptr info) {
  MemoryDestination& d = DestinationOf(info);
  d.data = static_cast<unsigned char*>(std::malloc(kFirstBlock));
  if (d.data == nullptr) ERREXIT(info, JERR_OUT_OF_MEMORY);
  d.capacity = kFirstBlock;
  d.pub.next_output_byte = d.data;
  d.pub.free_in_buffer = d.capacity;
}

boolean GrowDestination(j_compress_ptr info) {
  MemoryDestination& d = DestinationOf(info);
  if (d.capacity > SIZE_MAX / 2) ERREXIT(info, JERR_OUT_OF_MEMORY);
  auto* grown = static_cast<unsigned char*>(std::realloc(d.data, d.capacity * 2));
  if (grown == nullptr) ERREXIT(info, JERR_OUT_OF_MEMORY);
  d.data = grown;
  // The library calls this only when the block is full.
  d.pub.next_output_byte = d.data + d.capacity;
  d.pub.free_in_buffer = d.capacity;
  d.capacity *= 2;
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  MemoryDestination& d = DestinationOf(info);
  d.used = d.capacity - d.pub.free_in_buffer;
}

struct EncodeJob {
  jpeg_compress_struct info{};
  jpeg::ErrorManager errors{};
  MemoryDestination destination{};
  bool created = false;

  EncodeJob() {
    destination.pub.init_destination = InitDestination;
    destination.pub.empty_output_buffer = GrowDestination;
    destination.pub.term_destination = TermDestination;
  }
  ~EncodeJob() {
    if (created) jpeg_destroy_compress(&info);
    std::free(destination.data);
  }
};

// The library's part, in a frame that holds nothing to destroy when an error
// jumps back to its setjmp.
bool Compress(EncodeJob& job, int32_t width, int32_t height, ConstRowSource source) {
  job.info.err = jpeg::InstallErrorManager(job.errors);
  if (setjmp(job.errors.escape)) return false;
  job.created = true;  // the struct starts zeroed, so destroying a half-made one is safe
  jpeg_create_compress(&job.info);
  job.info.dest = &job.destination.pub;
  job.info.image_width = JDIMENSION(width);
  job.info.image_height = JDIMENSION(height);
  job.info.input_components = 3;
  // R, G and B in the bitmap's byte order: the same encoding as RGB rows, without a copy.
  job.info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&job.info);
  job.info.dct_method = JDCT_FLOAT;
  jpeg_set_quality(&job.info, 90, TRUE);
  jpeg_start_compress(&job.info, TRUE);
  while (job.info.next_scanline < job.info.image_height) {
    // The library reads input rows only; its interface lacks the const.
    JSAMPROW row = const_cast<JSAMPROW>(source.first + ptrdiff_t(job.info.next_scanline) * source.step);
    jpeg_write_scanlines(&job.info, &row, 1);
  }
  jpeg_finish_compress(&job.info);
  return true;
}

}  // namespace

bool EncodeJpeg(int32_t width, int32_t height, ConstRowSource source, std::vector<uint8_t>& out) {
  out.clear();
  if (width < 1 || height < 1) return false;
  const auto job = std::make_unique<EncodeJob>();
  if (!Compress(*job, width, height, source)) return false;
  out.assign(job->destination.data, job->destination.data + job->destination.used);
  return true;
}

}  // namespace codecs
