// ResampleBilinear on the program's bitmaps: both become 24 bits per pixel,
// then the row-level resampler fills the destination.
#include <utility>

#include "ui/Bitmap.h"
#include "viewer/ImgCtrl.h"
#include "viewer/ImgCtrlBitmap.h"

namespace {

// Row 0 of a bottom-up DIB section is its last stored row: a negative stride.
Rgb24View ViewOf(ui::Bitmap& bitmap) {
  return Rgb24View{bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), -static_cast<ptrdiff_t>(bitmap.Stride())};
}

ConstRgb24View ViewOf(const ui::Bitmap& bitmap) {
  return ConstRgb24View{bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(),
                        -static_cast<ptrdiff_t>(bitmap.Stride())};
}

}  // namespace

bool ResampleBilinear(ui::Bitmap* destination, ui::Bitmap* source) {
  if (!destination || !source) return false;
  if (source->Width() < 1 || source->Height() < 1 || destination->Width() < 1 || destination->Height() < 1) {
    return false;
  }
  source->SetPixelFormat(ui::PixelFormat::Bits24);
  destination->SetPixelFormat(ui::PixelFormat::Bits24);
  const bool done = ResampleBilinear(ViewOf(*destination), ViewOf(std::as_const(*source)));
  ::GdiFlush();
  return done;
}
