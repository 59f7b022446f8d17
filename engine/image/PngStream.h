// libpng's reader on a complete PNG file in memory: the still PNG of a file and, fed with a
// stream built for it, each frame of an animated PNG.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "Bitmap.h"

namespace tandel {

// Decodes the IDAT image to 8-bit B, G, R, A (palette and tRNS expanded, 16-bit samples
// rounded to 8 bits, greyscale spread to three channels, gamma not applied). The bitmap has
// alpha when the file has an alpha channel or tRNS; otherwise every alpha byte is 255.
// Refuses pictures over the limits before allocating them.
bool decodePngStream(std::span<const std::uint8_t> bytes, Bitmap& out, std::string* why);

}  // namespace tandel
