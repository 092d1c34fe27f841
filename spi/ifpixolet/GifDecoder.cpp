// GIF through giflib: the first frame, drawn on a canvas of the logical screen
// (grown to hold the frame when a file understates it), the background where
// the frame does not reach or is transparent.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "spi/ifpixolet/PictureDecoder.h"

namespace spi {

namespace {

struct MemorySource {
  std::span<const uint8_t> file;
  size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length) {
  auto* source = static_cast<MemorySource*>(gif->UserData);
  const size_t count = std::min(static_cast<size_t>(std::max(length, 0)), source->file.size() - source->position);
  std::memcpy(out, source->file.data() + source->position, count);
  source->position += count;
  return static_cast<int>(count);
}

// Owns giflib's decoder.
class GifReader {
 public:
  explicit GifReader(std::span<const uint8_t> file) : source_{file} {
    int error = 0;
    gif_ = DGifOpen(&source_, ReadFromMemory, &error);
  }
  ~GifReader() {
    int error = 0;
    if (gif_) DGifCloseFile(gif_, &error);
  }
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;
  GifFileType* Get() const { return gif_; }

 private:
  MemorySource source_;
  GifFileType* gif_ = nullptr;
};

struct FirstFrame {
  int transparentIndex = NO_TRANSPARENT_COLOR;
  int64_t canvasWidth = 0;
  int64_t canvasHeight = 0;
};

// Reads up to the first image's descriptor, keeping the transparent index of
// the graphic control block that precedes it.
SpiResult FindFirstFrame(GifFileType* gif, FirstFrame& frame) {
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) != GIF_OK) return kSpiBrokenData;
    if (type == IMAGE_DESC_RECORD_TYPE) break;
    if (type != EXTENSION_RECORD_TYPE) return kSpiBrokenData;  // the trailer: no picture at all
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return kSpiBrokenData;
    GraphicsControlBlock control;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      frame.transparentIndex = control.TransparentColor;
    }
    while (block) {
      if (DGifGetExtensionNext(gif, &block) != GIF_OK) return kSpiBrokenData;
    }
  }
  if (DGifGetImageDesc(gif) != GIF_OK) return kSpiBrokenData;
  const GifImageDesc& image = gif->Image;
  frame.canvasWidth = std::max<int64_t>(gif->SWidth, int64_t{image.Left} + image.Width);
  frame.canvasHeight = std::max<int64_t>(gif->SHeight, int64_t{image.Top} + image.Height);
  return FitsLimits(frame.canvasWidth, frame.canvasHeight) ? kSpiOk : kSpiNoMemory;
}

// BGR of every index; indices beyond a short colour map are black. A file
// without any colour map gets a grey ramp.
std::array<std::array<uint8_t, 3>, 256> Palette(const GifFileType* gif) {
  std::array<std::array<uint8_t, 3>, 256> palette{};
  const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
  for (int i = 0; i < 256; ++i) {
    if (!map) {
      palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    } else if (i < map->ColorCount) {
      const GifColorType& c = map->Colors[i];
      palette[i] = {c.Blue, c.Green, c.Red};
    }
  }
  return palette;
}

// The frame's rows in the order the file stores them: interlaced files give
// every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  }
  return order;
}

SpiResult DrawFrame(GifFileType* gif, const FirstFrame& frame, const Progress& progress, Dib& dib) {
  AllocateDib(dib, static_cast<int32_t>(frame.canvasWidth), static_cast<int32_t>(frame.canvasHeight));
  const GifImageDesc& image = gif->Image;
  const auto palette = Palette(gif);
  std::vector<GifPixelType> line(static_cast<size_t>(image.Width) + 1);
  const std::vector<int> order = RowOrder(image.Height, image.Interlace);
  for (size_t i = 0; i < order.size(); ++i) {
    if (!GoOn(progress, static_cast<int32_t>(i), image.Height)) return kSpiCancelled;
    if (DGifGetLine(gif, line.data(), image.Width) != GIF_OK) return kSpiBrokenData;
    uint8_t* out = dib.Row(image.Top + order[i]) + static_cast<size_t>(image.Left) * 3;
    for (int x = 0; x < image.Width; ++x, out += 3) {
      if (line[x] == frame.transparentIndex) continue;
      std::memcpy(out, palette[line[x]].data(), 3);
    }
  }
  return GoOn(progress, image.Height, image.Height) ? kSpiOk : kSpiCancelled;
}

}  // namespace

SpiResult GifHeader(std::span<const uint8_t> file, PictureHeader& header) {
  GifReader reader(file);
  if (!reader.Get()) return kSpiBrokenData;
  FirstFrame frame;
  if (const SpiResult result = FindFirstFrame(reader.Get(), frame); result != kSpiOk) return result;
  header.width = static_cast<int32_t>(frame.canvasWidth);
  header.height = static_cast<int32_t>(frame.canvasHeight);
  const ColorMapObject* map = reader.Get()->Image.ColorMap ? reader.Get()->Image.ColorMap : reader.Get()->SColorMap;
  header.bitDepth = static_cast<int16_t>(map ? map->BitsPerPixel : 8);
  return kSpiOk;
}

SpiResult DecodeGif(std::span<const uint8_t> file, const Progress& progress, Dib& dib) {
  GifReader reader(file);
  if (!reader.Get()) return kSpiBrokenData;
  FirstFrame frame;
  if (const SpiResult result = FindFirstFrame(reader.Get(), frame); result != kSpiOk) return result;
  return DrawFrame(reader.Get(), frame, progress, dib);
}

}  // namespace spi
