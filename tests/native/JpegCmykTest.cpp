// Four-colour JPEGs made here with the library itself: plain CMYK (0 is no
// ink), CMYK and YCCK with Adobe's marker (the inks stored inverted), each a
// flat colour that must come out as the same RGB.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "native/CodecSupport.h"

namespace {

struct Ink {
  uint8_t c, m, y, k;  // 0 = none, 255 = full
};

enum class Storage { Plain, Adobe, AdobeYcck };

// An 8 × 8 JPEG of one ink colour, stored as `storage` says; the library's
// defaults otherwise, at quality 100 so that the flat colour stays exact. The
// library's own error handling is enough for these fixed, valid parameters.
std::vector<uint8_t> MakeCmykJpeg(Ink ink, Storage storage) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 8;
  info.image_height = 8;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, storage == Storage::AdobeYcck ? JCS_YCCK : JCS_CMYK);
  info.write_Adobe_marker = storage != Storage::Plain;
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  const uint8_t flip = storage == Storage::Plain ? 0 : 255;
  std::vector<uint8_t> row;
  for (int x = 0; x < 8; ++x) {
    row.insert(row.end(), {uint8_t(ink.c ^ flip), uint8_t(ink.m ^ flip), uint8_t(ink.y ^ flip), uint8_t(ink.k ^ flip)});
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> file(buffer, buffer + size);
  std::free(buffer);
  return file;
}

TEST(JpegCmyk, InksBecomeRgb) {
  struct Case {
    const char* what;
    Ink ink;
    uint8_t r, g, b;
  };
  const Case cases[] = {
      {"magenta and yellow: red", {0, 255, 255, 0}, 255, 0, 0},
      {"cyan: no red", {255, 0, 0, 0}, 0, 255, 255},
      {"no ink: white", {0, 0, 0, 0}, 255, 255, 255},
      // (255 − 128) × (255 − 128) / 255 = 63.25
      {"half black over half cyan", {128, 0, 0, 128}, 63, 127, 127},
  };
  for (Storage storage : {Storage::Plain, Storage::Adobe, Storage::AdobeYcck}) {
    for (const Case& c : cases) {
      const std::optional<codec_test::BgrPicture> p = codec_test::DecodeJpeg(MakeCmykJpeg(c.ink, storage));
      ASSERT_TRUE(p) << c.what;
      EXPECT_FALSE(p->damaged);
      const uint8_t* px = p->Pixel(3, 3);
      // Within 2 levels: YCCK passes through a colour transform.
      EXPECT_NEAR(px[2], c.r, 2) << c.what << ", storage " << int(storage);
      EXPECT_NEAR(px[1], c.g, 2) << c.what << ", storage " << int(storage);
      EXPECT_NEAR(px[0], c.b, 2) << c.what << ", storage " << int(storage);
    }
  }
}

}  // namespace
