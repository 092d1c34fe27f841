// The JPEG reader on real files: every one decodes cleanly, decodes with what
// the library recovered, or is refused, as the library's warnings and errors say.
#include <algorithm>
#include <map>

#include "corpus/Corpus.h"
#include "native/CodecSupport.h"

namespace {

using codec_test::BgrPicture;

std::optional<BgrPicture> Decode(const std::string& name) {
  return codec_test::DecodeJpeg(corpus::ReadFile(corpus::Dir() / name));
}

BgrPicture Decoded(const std::string& name) {
  std::optional<BgrPicture> p = Decode(name);
  EXPECT_TRUE(p) << name;
  return p ? std::move(*p) : BgrPicture{};
}

class JpegCorpus : public corpus::CorpusTest {};

enum class Outcome { Clean, Recovered, Refused };

TEST_F(JpegCorpus, EveryFileDecodesOrIsRefusedAsTheLibrarySays) {
  const std::map<std::string, Outcome> expected = {
      {"libjpeg-turbo/testorig.jpg", Outcome::Clean},
      {"libjpeg-turbo/testimgint.jpg", Outcome::Clean},
      {"libjpeg-turbo/testimgari.jpg", Outcome::Clean},      // arithmetic coding
      {"libjpeg-turbo/testorig12.jpg", Outcome::Refused},    // 12-bit samples: an 8-bit library's error
      {"pillow-jpeg/exif-200dpcm.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_16bit_qtables.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_gray.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_orientation_2.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_orientation_3.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_orientation_4.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_orientation_5.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_orientation_6.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_orientation_7.jpg", Outcome::Clean},
      {"pillow-jpeg/hopper_orientation_8.jpg", Outcome::Clean},
      {"pillow-jpeg/icc_profile_big.jpg", Outcome::Clean},   // progressive
      {"pillow-jpeg/invalid-exif.jpg", Outcome::Clean},      // EXIF is not read
      // Stray bytes between header markers: the library skips them with a warning.
      {"pillow-jpeg/jpeg_ff00_header.jpg", Outcome::Recovered},
      {"pillow-jpeg/junk_jpeg_header.jpg", Outcome::Recovered},
      {"pillow-jpeg/pil_sample_cmyk.jpg", Outcome::Clean},
      {"pillow-jpeg/pil_sample_rgb.jpg", Outcome::Clean},
      {"pillow-jpeg/truncated_app14.jpg", Outcome::Recovered},  // a byte of its cut APP14 left over
      {"pillow-jpeg/truncated_jpeg.jpg", Outcome::Recovered},   // ends in its scans: the rest is filled
  };
  for (const std::string folder : {"libjpeg-turbo", "pillow-jpeg"}) {
    for (const auto& path : corpus::FilesIn(folder, ".jpg")) {
      const std::string name = folder + "/" + path.filename().string();
      const auto want = expected.find(name);
      const std::optional<BgrPicture> p = Decode(name);
      const Outcome got = !p ? Outcome::Refused : p->damaged ? Outcome::Recovered : Outcome::Clean;
      if (want == expected.end()) {
        ADD_FAILURE() << name << " has no expected outcome here; it came out " << int(got);
        continue;
      }
      EXPECT_EQ(int(got), int(want->second)) << name;
    }
  }
}

TEST_F(JpegCorpus, ArithmeticCodingGivesTheSamePixelsAsHuffman) {
  // Both files hold the same quantised coefficients; only the entropy coding differs.
  const BgrPicture huffman = Decoded("libjpeg-turbo/testimgint.jpg");
  const BgrPicture arithmetic = Decoded("libjpeg-turbo/testimgari.jpg");
  EXPECT_EQ(arithmetic.width, 227);
  EXPECT_EQ(arithmetic.height, 149);
  EXPECT_EQ(arithmetic.rows, huffman.rows);
}

TEST_F(JpegCorpus, GreyBecomesEqualChannels) {
  const BgrPicture grey = Decoded("pillow-jpeg/hopper_gray.jpg");
  ASSERT_EQ(grey.width, 128);
  bool allGrey = true, anyDifferent = false;
  for (int32_t y = 0; y < grey.height; ++y) {
    for (int32_t x = 0; x < grey.width; ++x) {
      const uint8_t* p = grey.Pixel(x, y);
      allGrey = allGrey && p[0] == p[1] && p[1] == p[2];
      anyDifferent = anyDifferent || p[0] != grey.Pixel(0, 0)[0];
    }
  }
  EXPECT_TRUE(allGrey);
  EXPECT_TRUE(anyDifferent);
}

TEST_F(JpegCorpus, CmykLooksLikeItsRgbTwin) {
  const BgrPicture cmyk = Decoded("pillow-jpeg/pil_sample_cmyk.jpg");
  const BgrPicture rgb = Decoded("pillow-jpeg/pil_sample_rgb.jpg");
  ASSERT_EQ(cmyk.width, rgb.width);
  ASSERT_EQ(cmyk.height, rgb.height);
  // Two separate lossy encodings of one picture, the CMYK one converted with
  // a plain ink model rather than the colour profile that made it: close, not
  // equal (31 dB). Reading the Adobe inks as not inverted gives under 1 dB.
  EXPECT_GT(codec_test::Psnr(cmyk, rgb), 26.0);
}

TEST_F(JpegCorpus, StoredPixelsAreShownWithoutTheExifOrientation) {
  // Orientation 3 files store the picture turned by 180 degrees.
  const BgrPicture upright = Decoded("pillow-jpeg/hopper.jpg");
  const BgrPicture stored = Decoded("pillow-jpeg/hopper_orientation_3.jpg");
  ASSERT_EQ(stored.width, upright.width);
  ASSERT_EQ(stored.height, upright.height);
  BgrPicture turned = upright;
  for (int32_t y = 0; y < upright.height; ++y) {
    for (int32_t x = 0; x < upright.width; ++x) {
      std::copy_n(upright.Pixel(upright.width - 1 - x, upright.height - 1 - y), 3,
                  turned.rows.begin() + ptrdiff_t(y * turned.stride + x * 3));
    }
  }
  EXPECT_GT(codec_test::Psnr(stored, turned), codec_test::Psnr(stored, upright) + 10);
}

}  // namespace
