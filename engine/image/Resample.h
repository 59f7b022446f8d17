#pragma once

#include <optional>

#include "Bitmap.h"

namespace tandel {

// The picture at a new size: each output pixel averages the area of the source it covers when
// shrinking, and interpolates bilinearly between the nearest source pixels when enlarging
// (each direction on its own). Colours are weighted by alpha so that transparent pixels do not
// darken edges. Nothing when the size is empty or over the limits.
std::optional<Bitmap> resampleBitmap(const Bitmap& source, int width, int height);

}  // namespace tandel
