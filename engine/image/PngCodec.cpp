#include "Codecs.h"

namespace tandel {

bool decodePng(std::span<const std::uint8_t>, DecodedImage&, std::string* why) {
    if (why != nullptr) {
        *why = "Png pictures are not supported yet";
    }
    return false;
}

std::optional<std::vector<std::uint8_t>> encodePng(const Bitmap&) { return std::nullopt; }

}  // namespace tandel
