#pragma once
#include "ui/Bitmap.h"

// Scales `source` into `destination` (whose size is the target size) by
// bilinear interpolation. Both are converted to 24 bits per pixel in place once
// both exist and have pixels; false when nothing was drawn.
bool ResampleBilinear(ui::Bitmap* destination, ui::Bitmap* source);
