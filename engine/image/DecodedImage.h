// What the decoders deliver: the picture and, for animations, every frame as the file stores
// it (its own size, offset, delay, disposal and blend), before any composition.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "PictureSniff.h"

namespace tandel {

// What happens to a frame's area before the next frame is drawn. The numbers are those of
// GIF's disposal method; animated PNG's dispose_op 0, 1, 2 map to Keep, Background, Previous.
enum class Disposal : std::uint8_t {
    Unspecified = 0,
    Keep = 1,
    Background = 2,  // cleared to transparent black
    Previous = 3,    // the canvas as it was before the frame
};

// How a frame's pixels meet the canvas: Source replaces the frame's area (animated PNG
// blend_op 0), Over composites onto it (animated PNG blend_op 1; GIF, whose transparent pixels
// leave the canvas alone).
enum class Blend : std::uint8_t { Source = 0, Over = 1 };

struct ImageFrame {
    Bitmap bitmap;  // the frame's own pixels, hasAlpha when it has transparency
    int offsetX = 0;
    int offsetY = 0;
    int delayMs = 0;
    Disposal disposal = Disposal::Unspecified;
    Blend blend = Blend::Over;
};

struct DecodedImage {
    PictureFormat format = PictureFormat::Unknown;
    // The picture shown when it is not animated: for PNG its IDAT image (the default image of
    // an animated PNG), for GIF the first frame composed on the logical screen, else the
    // decoded picture.
    Bitmap still;
    // The animation frames in order; empty for pictures that are not animations. GIF reports
    // every image of the file when it has two or more, animated PNG every frame that has an
    // fcTL (the default image only when an fcTL precedes its IDAT).
    std::vector<ImageFrame> frames;
    // Size of the area the frames are composed on: GIF's logical screen, PNG's IHDR size.
    int canvasWidth = 0;
    int canvasHeight = 0;
    int loopCount = 0;          // 0 = forever; a GIF without loop extension plays once: 1
    bool hasLoopCount = false;  // whether the file stores a loop count
};

}  // namespace tandel
