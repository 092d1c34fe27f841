#pragma once
// The 24-megapixel JPEG of the decoding benchmark and timer, made here with
// our writer, and the two decodes they compare: ours (the reader into a
// bottom-up picture, as the viewer's DIB section) and the library's plain
// loop of its own command-line decoder (RGB rows, a few at a time, into one
// small buffer, nothing written anywhere).
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "codecs/JpegReader.h"
#include "codecs/JpegWriter.h"

class JpegDecodeWork {
 public:
  static constexpr int32_t kWidth = 6000, kHeight = 4000;

  // A photograph's kind of content: smooth shading, edges and fine grain, so
  // that the entropy decoding has as much to do as in a real q90 photo.
  JpegDecodeWork() {
    const size_t stride = codecs::DibStride(kWidth, codecs::PixelLayout::Bits24);
    std::vector<uint8_t> rows(stride * kHeight);
    uint32_t noise = 12345;
    for (int32_t y = 0; y < kHeight; ++y) {
      uint8_t* p = rows.data() + y * stride;
      for (int32_t x = 0; x < kWidth; ++x, p += 3) {
        noise = noise * 1664525u + 1013904223u;
        const int grain = int(noise >> 28) - 8;
        const int band = ((x / 300 + y / 200) % 2) * 60;
        p[0] = Clamp(40 + x * 150 / kWidth + grain + band);
        p[1] = Clamp(60 + y * 120 / kHeight + grain);
        p[2] = Clamp(200 - (x + y) * 150 / (kWidth + kHeight) + grain - band);
      }
    }
    codecs::EncodeJpeg(kWidth, kHeight, {rows.data(), ptrdiff_t(stride)}, file_);
    picture_.resize(stride * kHeight);
  }

  size_t FileBytes() const { return file_.size(); }
  double Megapixels() const { return double(kWidth) * kHeight / 1e6; }

  bool Ours() {
    codecs::JpegReader reader(file_);
    if (!reader.ReadHeader()) return false;
    const size_t stride = codecs::DibStride(reader.Width(), codecs::PixelLayout::Bits24);
    return reader.Decode({picture_.data() + (reader.Height() - 1) * stride, -ptrdiff_t(stride)});
  }

  // No error manager of its own: the file is known good.
  bool LibraryLoop() {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file_.data(), static_cast<unsigned long>(file_.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const int batch = info.rec_outbuf_height;
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * info.output_components, JDIMENSION(batch));
    while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, rows, JDIMENSION(batch));
    probe_ += rows[0][0];
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
  }

  unsigned Probe() const { return probe_ + picture_[picture_.size() / 2]; }

 private:
  static uint8_t Clamp(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

  std::vector<uint8_t> file_;
  std::vector<uint8_t> picture_;
  unsigned probe_ = 0;
};
