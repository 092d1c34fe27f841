// WebP through libwebp: lossy, lossless and alpha by the plain decoder; an
// animation by the demuxing decoder, which composes its first frame on the canvas.
#include <webp/decode.h>
#include <webp/demux.h>

#include "spi/ifpixolet/PictureDecoder.h"

namespace spi {

namespace {

// Owns the plain decoder's output rows.
class DecodedRows {
 public:
  DecodedRows() { WebPInitDecoderConfig(&config_); }
  ~DecodedRows() { WebPFreeDecBuffer(&config_.output); }
  DecodedRows(const DecodedRows&) = delete;
  DecodedRows& operator=(const DecodedRows&) = delete;
  WebPDecoderConfig& Config() { return config_; }

 private:
  WebPDecoderConfig config_;
};

// Owns the animation decoder.
class AnimationReader {
 public:
  explicit AnimationReader(std::span<const uint8_t> file) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return;
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    const WebPData data{file.data(), file.size()};
    decoder_ = WebPAnimDecoderNew(&data, &options);
  }
  ~AnimationReader() { WebPAnimDecoderDelete(decoder_); }
  AnimationReader(const AnimationReader&) = delete;
  AnimationReader& operator=(const AnimationReader&) = delete;
  WebPAnimDecoder* Get() const { return decoder_; }

 private:
  WebPAnimDecoder* decoder_ = nullptr;
};

void PutRows(Dib& dib, const uint8_t* bgra, size_t stride) {
  for (int32_t y = 0; y < dib.height; ++y) PutBgraRow(dib, y, bgra + static_cast<size_t>(y) * stride);
}

SpiResult DecodeStill(std::span<const uint8_t> file, Dib& dib) {
  DecodedRows rows;
  WebPDecoderConfig& config = rows.Config();
  config.output.colorspace = MODE_BGRA;
  if (WebPDecode(file.data(), file.size(), &config) != VP8_STATUS_OK) return kSpiBrokenData;
  const WebPRGBABuffer& out = config.output.u.RGBA;
  AllocateDib(dib, config.output.width, config.output.height);
  PutRows(dib, out.rgba, static_cast<size_t>(out.stride));
  return kSpiOk;
}

SpiResult DecodeFirstFrame(std::span<const uint8_t> file, Dib& dib) {
  AnimationReader reader(file);
  WebPAnimInfo info;
  if (!reader.Get() || !WebPAnimDecoderGetInfo(reader.Get(), &info)) return kSpiBrokenData;
  if (!FitsLimits(info.canvas_width, info.canvas_height)) return kSpiNoMemory;
  uint8_t* canvas = nullptr;
  int timestamp = 0;
  if (!WebPAnimDecoderGetNext(reader.Get(), &canvas, &timestamp)) return kSpiBrokenData;
  AllocateDib(dib, static_cast<int32_t>(info.canvas_width), static_cast<int32_t>(info.canvas_height));
  PutRows(dib, canvas, static_cast<size_t>(info.canvas_width) * 4);
  return kSpiOk;
}

SpiResult ReadFeatures(std::span<const uint8_t> file, WebPBitstreamFeatures& features) {
  if (WebPGetFeatures(file.data(), file.size(), &features) != VP8_STATUS_OK) return kSpiBrokenData;
  return FitsLimits(features.width, features.height) ? kSpiOk : kSpiNoMemory;
}

}  // namespace

SpiResult WebpHeader(std::span<const uint8_t> file, PictureHeader& header) {
  WebPBitstreamFeatures features;
  if (const SpiResult result = ReadFeatures(file, features); result != kSpiOk) return result;
  header.width = features.width;
  header.height = features.height;
  header.bitDepth = features.has_alpha ? 32 : 24;
  return kSpiOk;
}

// libwebp decodes a picture in one call: progress is reported before and after it.
SpiResult DecodeWebp(std::span<const uint8_t> file, const Progress& progress, Dib& dib) {
  WebPBitstreamFeatures features;
  if (const SpiResult result = ReadFeatures(file, features); result != kSpiOk) return result;
  if (!GoOn(progress, 0, 1)) return kSpiCancelled;
  const SpiResult result = features.has_animation ? DecodeFirstFrame(file, dib) : DecodeStill(file, dib);
  if (result != kSpiOk) return result;
  return GoOn(progress, 1, 1) ? kSpiOk : kSpiCancelled;
}

}  // namespace spi
