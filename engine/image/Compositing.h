// The engine's rule for laying one straight-alpha pixel over another. It is the rule of the
// input method's renderer, kept to the bit so that the preview shows what the input method
// shows: a = 0 leaves the canvas, a = 255 copies, anything between mixes each colour byte as
// (canvas * (255 - a) + source * a) >> 8 and raises the canvas alpha by (255 - alpha) * a >> 8.
#pragma once

#include <cstdint>

namespace tandel {

// dst and src point at B, G, R, A bytes; a is the source's effective alpha.
inline void blendPixel(std::uint8_t* dst, const std::uint8_t* src, unsigned a) {
    if (a == 0) {
        return;
    }
    if (a == 255) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = 255;
        return;
    }
    const unsigned keep = 255 - a;
    dst[0] = std::uint8_t((dst[0] * keep + src[0] * a) >> 8);
    dst[1] = std::uint8_t((dst[1] * keep + src[1] * a) >> 8);
    dst[2] = std::uint8_t((dst[2] * keep + src[2] * a) >> 8);
    dst[3] = std::uint8_t(dst[3] + ((255 - dst[3]) * a >> 8));
}

}  // namespace tandel
