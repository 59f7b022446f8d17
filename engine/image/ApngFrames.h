// Animated PNG: the acTL, fcTL and fdAT chunks, which libpng does not read, and each frame
// decoded through libpng from a PNG stream built for it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "DecodedImage.h"
#include "PngChunks.h"

namespace tandel {

struct ApngFrame {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t offsetX = 0;
    std::uint32_t offsetY = 0;
    int delayMs = 0;
    Disposal disposal = Disposal::Keep;
    Blend blend = Blend::Source;
    bool isDefaultImage = false;                      // its pixels are the IDAT image
    std::vector<std::span<const std::uint8_t>> data;  // the fdAT payloads after their numbers
};

struct ApngAnimation {
    std::span<const std::uint8_t> header;  // the file's IHDR data
    std::vector<PngChunk> colourChunks;    // PLTE and tRNS, repeated in every frame's stream
    std::vector<ApngFrame> frames;
    std::uint32_t numPlays = 0;
    std::uint64_t pixelCount = 0;  // of the canvas and every frame together
};

// The animation the chunks of a file describe; nothing when there is no acTL or the chunks
// break the rules of animated PNG, in which case the file is shown as its still image.
std::optional<ApngAnimation> readApngAnimation(const std::vector<PngChunk>& chunks);

// Every frame of the animation; the default image's frame copies still. False when a frame
// does not decode.
bool decodeApngFrames(const ApngAnimation& animation, const Bitmap& still,
                      std::vector<ImageFrame>& frames);

}  // namespace tandel
