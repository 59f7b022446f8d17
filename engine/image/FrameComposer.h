// Composes the frames of an animation on a canvas the size of the picture, each composed
// frame being what is shown while that frame is current.
#pragma once

#include <cstdint>
#include <vector>

#include "DecodedImage.h"

namespace tandel {

// One full-size bitmap (with alpha) per frame of image; empty when it has no frames or the
// canvas cannot be made. Animated PNG frames follow dispose_op and blend_op; GIF frames follow
// GIF89a: pixels of the transparent colour leave the canvas alone, disposal 2 clears the
// frame's area to transparent afterwards and disposal 3 restores the canvas as it was before.
// Frames are clipped to the canvas.
// With a limit, only the first frames up to it are composed.
std::vector<Bitmap> composeFrames(const DecodedImage& image, std::size_t limit = SIZE_MAX);

}  // namespace tandel
