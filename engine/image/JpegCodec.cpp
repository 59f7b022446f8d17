#include "Codecs.h"

namespace tandel {

bool decodeJpeg(std::span<const std::uint8_t>, DecodedImage&, std::string* why) {
    if (why != nullptr) {
        *why = "Jpeg pictures are not supported yet";
    }
    return false;
}

std::optional<std::vector<std::uint8_t>> encodeJpeg(const Bitmap&, int) {
    return std::nullopt;
}

}  // namespace tandel
