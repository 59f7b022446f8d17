#include "Codecs.h"

namespace tandel {

bool decodeGif(std::span<const std::uint8_t>, DecodedImage&, std::string* why) {
    if (why != nullptr) {
        *why = "Gif pictures are not supported yet";
    }
    return false;
}

std::optional<std::vector<std::uint8_t>> encodeGif(const Bitmap&) {
    return std::nullopt;
}

}  // namespace tandel
