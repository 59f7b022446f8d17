#pragma once

#include <cstdint>
#include <span>

namespace tandel {

enum class PictureFormat { Unknown, Png, Jpeg, Bmp, Gif };

// The format of picture file bytes, told from their signature.
PictureFormat pictureFormat(std::span<const std::uint8_t> bytes);

// "png", "jpg", "bmp", "gif", or "bin" for an unknown format.
const char* pictureExtension(PictureFormat format);

// Whether picture file bytes hold an animation, told from the container alone without
// decoding: a GIF with more than one image, or a PNG whose acTL chunk announces more than one
// frame.
bool looksAnimated(std::span<const std::uint8_t> bytes);

}  // namespace tandel
