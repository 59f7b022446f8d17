#include <png.h>

#include <cstring>

#include "Codecs.h"

namespace tandel {

bool decodePng(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why) {
    auto refuse = [&](const std::string& reason) {
        if (why != nullptr) {
            *why = reason;
        }
        return false;
    };
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        return refuse(std::string("PNG: ") + image.message);
    }
    if (!withinImageLimits(image.width, image.height)) {
        png_image_free(&image);
        return refuse("PNG: picture of " + std::to_string(image.width) + " x " +
                      std::to_string(image.height) + " pixels is over the size limit");
    }
    std::optional<Bitmap> bitmap = Bitmap::create(int(image.width), int(image.height));
    image.format = PNG_FORMAT_BGRA;
    if (!bitmap || !png_image_finish_read(&image, nullptr, bitmap->data(), 0, nullptr)) {
        std::string message = image.message;
        png_image_free(&image);
        return refuse("PNG: " + message);
    }
    bitmap->setHasAlpha(true);
    out.format = PictureFormat::Png;
    out.canvasWidth = bitmap->width();
    out.canvasHeight = bitmap->height();
    out.still = std::move(*bitmap);
    return true;
}

std::optional<std::vector<std::uint8_t>> encodePng(const Bitmap&) {
    return std::nullopt;
}

}  // namespace tandel
