#include "PictureFixtures.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace spi_testing {

Pixels Gradient(int width, int height) {
  Pixels pixels(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.Set(x, y, uint8_t(x * 7 + y), uint8_t(y * 5 + 3), uint8_t(x * 3 + y * 11), 255);
    }
  }
  return pixels;
}

namespace {

void AppendPng(png_structp png, png_bytep data, size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void FlushPng(png_structp) {}

std::string WritePng(png_structp png, png_infop info, const Pixels& pixels, bool interlaced) {
  std::string out;
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write the fixture");
  png_set_write_fn(png, &out, AppendPng, FlushPng);
  png_set_IHDR(png, info, pixels.width, pixels.height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  std::vector<png_bytep> rows;
  for (int y = 0; y < pixels.height; ++y) {
    rows.push_back(const_cast<png_bytep>(pixels.bgra.data() + static_cast<size_t>(y) * pixels.width * 4));
  }
  png_write_image(png, rows.data());
  png_write_end(png, info);
  return out;
}

}  // namespace

std::string EncodePng(const Pixels& pixels, bool interlaced) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::string out;
  try {
    out = WritePng(png, info, pixels, interlaced);
  } catch (...) {
    png_destroy_write_struct(&png, &info);
    throw;
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string EncodeWebp(const Pixels& pixels, bool lossless) {
  uint8_t* output = nullptr;
  const size_t size =
      lossless ? WebPEncodeLosslessBGRA(pixels.bgra.data(), pixels.width, pixels.height, pixels.width * 4, &output)
               : WebPEncodeBGRA(pixels.bgra.data(), pixels.width, pixels.height, pixels.width * 4, 90, &output);
  std::string out(reinterpret_cast<const char*>(output), size);
  WebPFree(output);
  if (out.empty()) throw std::runtime_error("libwebp could not encode the fixture");
  return out;
}

std::string EncodeAnimatedWebp(const std::vector<Pixels>& frames) {
  WebPAnimEncoderOptions options;
  WebPAnimEncoderOptionsInit(&options);
  WebPAnimEncoder* encoder = WebPAnimEncoderNew(frames[0].width, frames[0].height, &options);
  int timestamp = 0;
  for (const Pixels& frame : frames) {
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.use_argb = 1;
    picture.width = frame.width;
    picture.height = frame.height;
    WebPPictureImportBGRA(&picture, frame.bgra.data(), frame.width * 4);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = 1;
    WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
    WebPPictureFree(&picture);
    timestamp += 100;
  }
  WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
  WebPData data;
  WebPDataInit(&data);
  WebPAnimEncoderAssemble(encoder, &data);
  std::string out(reinterpret_cast<const char*>(data.bytes), data.size);
  WebPDataClear(&data);
  WebPAnimEncoderDelete(encoder);
  if (out.empty()) throw std::runtime_error("libwebp could not encode the animation");
  return out;
}

namespace {

int AppendGif(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
  return length;
}

// A colour map of a power-of-two size holding `colours`, or none.
ColorMapObject* MakeMap(const std::vector<Rgb>& colours) {
  if (colours.empty()) return nullptr;
  int size = 2;
  while (size < static_cast<int>(colours.size())) size *= 2;
  std::vector<GifColorType> entries(size);
  for (size_t i = 0; i < colours.size(); ++i) entries[i] = {colours[i][0], colours[i][1], colours[i][2]};
  return GifMakeMapObject(size, entries.data());
}

void PutFrame(GifFileType* gif, const GifFrame& frame) {
  if (frame.transparentIndex >= 0) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, frame.transparentIndex};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
  }
  ColorMapObject* local = MakeMap(frame.localPalette);
  EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local);
  GifFreeMapObject(local);
  std::vector<int> order;
  if (frame.interlaced) {
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int y = start; y < frame.height; y += step) order.push_back(y);
    }
  } else {
    for (int y = 0; y < frame.height; ++y) order.push_back(y);
  }
  for (const int y : order) {
    std::vector<GifPixelType> row(frame.indices.begin() + y * frame.width,
                                  frame.indices.begin() + (y + 1) * frame.width);
    EGifPutLine(gif, row.data(), frame.width);
  }
  // giflib's encoder drops its copy of a frame's palette without freeing it
  // when the next frame starts.
  GifFreeMapObject(gif->Image.ColorMap);
  gif->Image.ColorMap = nullptr;
}

}  // namespace

std::string EncodeGif(int screenWidth, int screenHeight, const std::vector<Rgb>& globalPalette,
                      const std::vector<GifFrame>& frames) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendGif, &error);
  if (!gif) throw std::runtime_error("giflib could not start the fixture");
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeMap(globalPalette);
  EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global);
  GifFreeMapObject(global);
  for (const GifFrame& frame : frames) PutFrame(gif, frame);
  EGifCloseFile(gif, &error);
  return out;
}

std::string PngSuiteFile(const std::string& name) {
  std::ifstream in(std::string(PNGSUITE_DIR) + "/" + name, std::ios::binary);
  if (!in) throw std::runtime_error("PngSuite file missing: " + name + " (run scripts/setup)");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> PngSuiteNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PNGSUITE_DIR)) {
    if (entry.path().extension() == ".png") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace spi_testing

namespace spi_testing {

spi::Dib Decode(const std::string& file) {
  spi::Dib dib;
  EXPECT_EQ(spi::DecodePicture(Bytes(file), {}, dib), spi::kSpiOk);
  return dib;
}

std::array<int, 3> PixelAt(const spi::Dib& dib, int x, int y) {
  const uint8_t* p = dib.Row(y) + x * 3;
  return {p[0], p[1], p[2]};
}

}  // namespace spi_testing
