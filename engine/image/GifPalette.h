// Reduction of a picture to a GIF palette: at most 256 entries, one of them kept for the
// transparent pixels (alpha below 128, when the bitmap has alpha). Pictures with few enough
// colours keep them exactly; others go through a variance-based median cut.
#pragma once

#include <cstdint>
#include <vector>

#include "Bitmap.h"

namespace tandel {

struct PalettedPicture {
    std::vector<std::uint32_t> colours;  // 0xRRGGBB, the transparent entry included
    std::vector<std::uint8_t> indices;   // one per pixel, rows top-down
    int transparentIndex = -1;           // -1 when no pixel is transparent
};

PalettedPicture reduceToPalette(const Bitmap& bitmap);

}  // namespace tandel
