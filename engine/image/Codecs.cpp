#include "Codecs.h"

namespace tandel {

bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why) {
    out = DecodedImage{};
    switch (pictureFormat(bytes)) {
        case PictureFormat::Png: return decodePng(bytes, out, why);
        case PictureFormat::Jpeg: return decodeJpeg(bytes, out, why);
        case PictureFormat::Bmp: return decodeBmp(bytes, out, why);
        case PictureFormat::Gif: return decodeGif(bytes, out, why);
        case PictureFormat::Unknown: break;
    }
    if (why != nullptr) {
        *why = "not a PNG, JPEG, BMP or GIF picture";
    }
    return false;
}

}  // namespace tandel
