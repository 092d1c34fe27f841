#include "ui/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "ui/Win32Error.h"

namespace ui {

int BitsPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::Bits1: return 1;
    case PixelFormat::Bits4: return 4;
    case PixelFormat::Bits8: return 8;
    case PixelFormat::Bits16: return 16;
    case PixelFormat::Bits24: return 24;
    case PixelFormat::Bits32: return 32;
    default: return 0;
  }
}

namespace {

// BITMAPINFO with room for a full 256-entry colour table.
struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

DibInfo MakeInfo(int width, int height, int bitCount, const std::vector<RGBQUAD>& colors) {
  DibInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;  // bottom-up, as most DIBs are
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  info.header.biCompression = BI_RGB;
  if (bitCount <= 8) {
    // The picture's own colours when it has them; otherwise a grey ramp, since
    // converting into a palette format needs some table.
    const int entries = 1 << bitCount;
    info.header.biClrUsed = entries;
    for (int i = 0; i < entries; ++i) {
      const auto level = static_cast<BYTE>(i * 255 / (entries - 1));
      info.colors[i] = i < static_cast<int>(colors.size()) ? colors[i] : RGBQUAD{level, level, level, 0};
    }
  }
  return info;
}

}  // namespace

Bitmap::~Bitmap() { Deselect(); }

Bitmap::Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this == &other) return *this;
  Deselect();
  other.Deselect();
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  format_ = std::exchange(other.format_, PixelFormat::Device);
  bitmap_ = std::move(other.bitmap_);
  bits_ = std::exchange(other.bits_, nullptr);
  dc_ = std::move(other.dc_);
  return *this;
}

void Bitmap::Deselect() const {
  if (dc_ && oldObject_) ::SelectObject(dc_.Get(), oldObject_);
  oldObject_ = nullptr;
}

HDC Bitmap::Dc() {
  Unshare();
  if (!dc_) {
    dc_.Reset(::CreateCompatibleDC(nullptr));
    if (!dc_) ThrowLastError("CreateCompatibleDC");
  }
  if (!oldObject_ && bitmap_) oldObject_ = ::SelectObject(dc_.Get(), Handle());
  return dc_.Get();
}

const uint8_t* Bitmap::ScanLine(int y) const {
  if (!bits_) return nullptr;
  return bits_ + static_cast<ptrdiff_t>(height_ - 1 - y) * Stride();
}

uint8_t* Bitmap::ScanLine(int y) {
  Unshare();
  if (!bits_) return nullptr;
  return bits_ + static_cast<ptrdiff_t>(height_ - 1 - y) * Stride();
}

void Bitmap::Unshare() {
  if (!bitmap_ || bitmap_.use_count() == 1) return;
  const std::shared_ptr<GdiBitmap> shared = bitmap_;
  const uint8_t* sharedBits = bits_;
  const std::vector<RGBQUAD> colors = ColorTable();
  bitmap_.reset();
  bits_ = nullptr;
  const int width = std::exchange(width_, 0);
  const int height = std::exchange(height_, 0);
  Recreate(width, height, format_, colors, Fill::None);
  if (bits_ && sharedBits) {
    std::memcpy(bits_, sharedBits, static_cast<size_t>(Stride()) * height_);
  } else {
    MemoryDc source(::CreateCompatibleDC(nullptr));
    SelectGuard select(source.Get(), shared->Get());
    ::BitBlt(Dc(), 0, 0, width_, height_, source.Get(), 0, 0, SRCCOPY);
  }
  ::GdiFlush();
}

int Bitmap::Stride() const { return ((width_ * BitsPerPixel(format_) + 31) / 32) * 4; }

void Bitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  Recreate(width, height, format_, ColorTable());
}

void Bitmap::SetPixelFormat(PixelFormat format) {
  if (format == format_) return;
  Recreate(width_, height_, format, {});
}

void Bitmap::Reset(int width, int height, PixelFormat format, const std::vector<RGBQUAD>& colors) {
  Deselect();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  Recreate(std::max(width, 0), std::max(height, 0), format, colors, Fill::None);
}

std::vector<RGBQUAD> Bitmap::ColorTable() const {
  if (!bits_ || BitsPerPixel(format_) > 8) return {};
  std::vector<RGBQUAD> colors(static_cast<size_t>(1) << BitsPerPixel(format_));
  WithSelectedDc([&](HDC dc) {
    colors.resize(::GetDIBColorTable(dc, 0, static_cast<UINT>(colors.size()), colors.data()));
  });
  return colors;
}

void Bitmap::SetColorTable(const std::vector<RGBQUAD>& colors) {
  if (!bits_ || BitsPerPixel(format_) > 8 || colors.empty()) return;
  Unshare();
  ::SetDIBColorTable(Dc(), 0, static_cast<UINT>(colors.size()), colors.data());
}

void Bitmap::Recreate(int width, int height, PixelFormat format, const std::vector<RGBQUAD>& colors,
                      Fill fill) {
  auto fresh = std::make_shared<GdiBitmap>();
  uint8_t* freshBits = nullptr;
  if (width > 0 && height > 0) {
    if (format == PixelFormat::Device) {
      WindowDc screen(nullptr);
      fresh->Reset(::CreateCompatibleBitmap(screen.Get(), width, height));
    } else {
      DibInfo info = MakeInfo(width, height, BitsPerPixel(format), colors);
      void* bits = nullptr;
      fresh->Reset(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0));
      freshBits = static_cast<uint8_t*>(bits);
    }
    if (!*fresh) ThrowLastError("Bitmap " + std::to_string(width) + " x " + std::to_string(height));
    if (fill == Fill::White || bitmap_) {
      MemoryDc target(::CreateCompatibleDC(nullptr));
      SelectGuard select(target.Get(), fresh->Get());
      if (fill == Fill::White) ::PatBlt(target.Get(), 0, 0, width, height, WHITENESS);
      if (bitmap_) {
        WithSelectedDc([&](HDC old) {
          ::BitBlt(target.Get(), 0, 0, std::min(width, width_), std::min(height, height_), old, 0, 0, SRCCOPY);
        });
      }
    }
  } else {
    fresh.reset();
  }
  Deselect();
  bitmap_ = std::move(fresh);
  bits_ = freshBits;
  width_ = width;
  height_ = height;
  format_ = format;
  ::GdiFlush();
}

int Bitmap::SetDIBits(int startLine, int lines, const void* bits, const BITMAPINFO* info) {
  if (!bitmap_) return 0;
  Unshare();
  // The bitmap must not be selected into a device context meanwhile.
  Deselect();
  WindowDc screen(nullptr);
  const int copied = ::SetDIBits(screen.Get(), Handle(), startLine, lines, bits, info,
                                 DIB_RGB_COLORS);
  ::GdiFlush();
  return copied;
}

void Bitmap::Assign(const Bitmap& other) {
  if (this == &other) return;
  Deselect();
  // Neither holder may keep the shared bitmap selected: the other could not draw it.
  other.Deselect();
  bitmap_ = other.bitmap_;
  bits_ = other.bits_;
  width_ = other.width_;
  height_ = other.height_;
  format_ = other.format_;
}

void Bitmap::Draw(HDC dc, int x, int y) const {
  if (Empty()) return;
  WithSelectedDc([&](HDC source) { ::BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCCOPY); });
}

void Bitmap::StretchDraw(HDC dc, const RECT& target) const {
  if (Empty()) return;
  // HALFTONE gives a smooth stretch instead of dropped rows and columns.
  ::SetStretchBltMode(dc, HALFTONE);
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  WithSelectedDc([&](HDC source) {
    ::StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source, 0,
                 0, width_, height_, SRCCOPY);
  });
}

}  // namespace ui
