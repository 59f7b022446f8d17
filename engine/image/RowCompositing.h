// Row loops of the compositor: the engine's blending rule (Compositing.h) applied to runs of
// pixels, four at a time where the processor offers SSE2.
#pragma once

#include <cstdint>

namespace tandel {

// Each pixel of src over the pixel of dst by the engine's rule, with the source's own alpha.
void blendRow(std::uint8_t* dst, const std::uint8_t* src, int count);
// Text coverage over the canvas: source pixel i has the colour bgr (0x00RRGGBB as the canvas
// stores it) and, as alpha, the top byte of coverage[i].
void blendCoverageRow(std::uint8_t* dst, const std::uint32_t* coverage, std::uint32_t bgr,
                      int count);
// Source-over of premultiplied pixels (what the engine paints onto a cleared canvas) onto opaque
// ones: each colour becomes src + dst * (255 - alpha) / 255, rounded and at most 255, and every
// pixel stays opaque.
void blendPremultipliedRow(std::uint8_t* dst, const std::uint8_t* src, int count);
// Copies colours and makes every pixel opaque: a picture without alpha.
void copyRowOpaque(std::uint8_t* dst, const std::uint8_t* src, int count);

}  // namespace tandel
