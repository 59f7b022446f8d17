// Row loops of the compositor: the engine's blending rule (Compositing.h) applied to runs of
// pixels, four at a time where the processor offers SSE2.
#pragma once

#include <cstdint>

namespace tandel {

// Each pixel of src over the pixel of dst by the engine's rule, with the source's own alpha.
void blendRow(std::uint8_t* dst, const std::uint8_t* src, int count);
// Copies colours and makes every pixel opaque: a picture without alpha.
void copyRowOpaque(std::uint8_t* dst, const std::uint8_t* src, int count);

}  // namespace tandel
