#include "Codecs.h"

namespace tandel {

bool decodeBmp(std::span<const std::uint8_t>, DecodedImage&, std::string* why) {
    if (why != nullptr) {
        *why = "Bmp pictures are not supported yet";
    }
    return false;
}

std::optional<std::vector<std::uint8_t>> encodeBmp(const Bitmap&) {
    return std::nullopt;
}

}  // namespace tandel
