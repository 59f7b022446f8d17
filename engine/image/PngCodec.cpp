#include "Codecs.h"
#include "PngStream.h"

namespace tandel {

bool decodePng(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why) {
    DecodedImage image;
    if (!decodePngStream(bytes, image.still, why)) {
        return false;
    }
    image.format = PictureFormat::Png;
    image.canvasWidth = image.still.width();
    image.canvasHeight = image.still.height();
    out = std::move(image);
    return true;
}

std::optional<std::vector<std::uint8_t>> encodePng(const Bitmap&) {
    return std::nullopt;
}

}  // namespace tandel
