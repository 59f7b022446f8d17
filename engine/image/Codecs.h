// One decoder and one encoder per format. Decoders check every size and offset against the
// bytes they were given, refuse pictures over the limits of Bitmap.h before allocating them,
// and report why they refused a file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "DecodedImage.h"

namespace tandel {

// Decodes any supported format; on failure returns false and says why.
bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why);

bool decodePng(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why);
bool decodeJpeg(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why);
bool decodeBmp(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why);
bool decodeGif(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why);

// Encoders of one still picture; nothing on failure. PNG and BMP keep the alpha channel when
// the bitmap has one; JPEG drops it; GIF reduces the picture to at most 256 colours and keeps
// a transparent colour for pixels whose alpha is below 128.
std::optional<std::vector<std::uint8_t>> encodePng(const Bitmap& bitmap);
std::optional<std::vector<std::uint8_t>> encodeBmp(const Bitmap& bitmap);
std::optional<std::vector<std::uint8_t>> encodeJpeg(const Bitmap& bitmap, int quality = 90);
std::optional<std::vector<std::uint8_t>> encodeGif(const Bitmap& bitmap);

}  // namespace tandel
