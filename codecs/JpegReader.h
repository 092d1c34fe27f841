#pragma once
// JPEG files read with libjpeg-turbo, at full size into 24-bit B-G-R rows.
// Damaged files: whatever the library can recover with a warning (data cut
// short, corrupt entropy-coded data: it fills the rest) is decoded and
// reported by Damaged(); whatever it calls an error refuses the file. The
// EXIF orientation is not applied: the stored pixels are what is shown.
#include <cstdint>
#include <memory>
#include <span>

#include "codecs/Picture.h"

namespace codecs {

class JpegReader {
 public:
  explicit JpegReader(std::span<const uint8_t> file);  // the bytes must outlive the reader
  ~JpegReader();
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // False: not a JPEG we can decode (not a JPEG, 12-bit samples, a colour
  // space with no RGB form, larger than FitsLimits allows, or a library error
  // while reading the headers or, for a progressive file, its scans).
  bool ReadHeader();
  int32_t Width() const;
  int32_t Height() const;
  // 24-bit B-G-R rows (DibStride(width, Bits24) bytes each, padding zeroed);
  // false on a library error, and the rows are then incomplete.
  bool Decode(RowTarget target);
  // The library warned while reading: the picture holds what it recovered.
  bool Damaged() const;

 private:
  struct State;
  // The library's part of ReadHeader, in a frame of its own for setjmp.
  bool StartDecompress();
  std::span<const uint8_t> file_;
  std::unique_ptr<State> state_;
};

}  // namespace codecs
