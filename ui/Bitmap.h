#pragma once
// A picture in memory: a DIB section of a chosen pixel format (or a bitmap of
// the display's format), with a device context to draw on it. Copies share
// their pixels until one of them is changed, so that the viewer's decoded
// picture and the copy its picture control shows cost the memory of one.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/Handles.h"

namespace ui {

enum class PixelFormat { Device, Bits1, Bits4, Bits8, Bits16, Bits24, Bits32 };

int BitsPerPixel(PixelFormat format);

class Bitmap {
 public:
  Bitmap() = default;
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  PixelFormat Format() const { return format_; }

  // Resizing keeps the top-left part of the picture; new area is white.
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  void SetSize(int width, int height);
  // Converts the picture in place.
  void SetPixelFormat(PixelFormat format);
  // Replaces the picture by a new one of this size and format, with `colors`
  // as the colour table of a palette format, for the caller to fill (its
  // pixels start as zeros). Nothing of the old picture is kept, so the two
  // never need memory at the same time.
  void Reset(int width, int height, PixelFormat format, const std::vector<RGBQUAD>& colors = {});

  HBITMAP Handle() const { return bitmap_ ? bitmap_->Get() : nullptr; }
  // A memory device context with the picture selected, to draw on it; valid
  // until the picture is next changed or copied.
  HDC Dc();
  // Rows of a DIB section, from the top; null for a device-format bitmap.
  // The writable rows belong to this picture alone.
  const uint8_t* ScanLine(int y) const;
  uint8_t* ScanLine(int y);
  int Stride() const;

  // Sets the colour table of a palette picture (1, 4 or 8 bits per pixel).
  void SetColorTable(const std::vector<RGBQUAD>& colors);
  // Copies the rows of a device-independent bitmap into this picture,
  // converting them to its format (SetDIBits with DIB_RGB_COLORS).
  int SetDIBits(int startLine, int lines, const void* bits, const BITMAPINFO* info);
  // Makes this picture a copy of `other`: size, format and pixels. A DIB
  // section's pixels are shared until either picture changes.
  void Assign(const Bitmap& other);
  // Draws the whole picture into `dc` at (x, y), unscaled.
  void Draw(HDC dc, int x, int y) const;
  // Draws the whole picture smoothly stretched over `target` of `dc`.
  void StretchDraw(HDC dc, const RECT& target) const;

 private:
  // Replaces the bitmap by a new one of this size and format, copying the old
  // picture's top-left part into it.
  enum class Fill { White, None };
  void Recreate(int width, int height, PixelFormat format, const std::vector<RGBQUAD>& colors,
                Fill fill = Fill::White);
  // Gives this picture pixels of its own before they change.
  void Unshare();
  // The colour table of a palette picture; empty for other formats.
  std::vector<RGBQUAD> ColorTable() const;
  void Deselect() const;
  // Runs use(dc) with the picture selected into a DC: its own DC when it holds
  // the picture (a bitmap can be selected into one DC at a time), else a
  // temporary one.
  template <typename Use>
  void WithSelectedDc(Use use) const {
    if (oldObject_) {
      use(dc_.Get());
      return;
    }
    MemoryDc temporary(::CreateCompatibleDC(nullptr));
    SelectGuard select(temporary.Get(), Handle());
    use(temporary.Get());
  }

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::Device;
  std::shared_ptr<GdiBitmap> bitmap_;  // shared with copies until changed
  uint8_t* bits_ = nullptr;            // DIB section rows, bottom-up
  // A shared picture is selected into no DC for long: a bitmap can be
  // selected into one DC at a time, and a copy may want to draw it.
  mutable MemoryDc dc_;
  mutable HGDIOBJ oldObject_ = nullptr;
};

}  // namespace ui
