#include "Bitmap.h"

#include <cstring>

namespace tandel {

bool withinImageLimits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           std::uint64_t(width) * std::uint64_t(height) <= kMaxImagePixels;
}

std::optional<Bitmap> Bitmap::create(int width, int height) {
    if (!withinImageLimits(width, height)) {
        return std::nullopt;
    }
    return allocate(width, height, true);
}

Bitmap Bitmap::allocate(int width, int height, bool zeroed) {
    Bitmap bitmap;
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.byteSize_ = 4 * std::size_t(width) * std::size_t(height);
    bitmap.pixels_ = zeroed ? std::shared_ptr<std::uint8_t[]>(new std::uint8_t[bitmap.byteSize_]())
                            : std::shared_ptr<std::uint8_t[]>(new std::uint8_t[bitmap.byteSize_]);
    return bitmap;
}

void Bitmap::detach() {
    std::shared_ptr<std::uint8_t[]> own(new std::uint8_t[byteSize_]);
    std::memcpy(own.get(), pixels_.get(), byteSize_);
    pixels_ = std::move(own);
}

std::uint32_t Bitmap::argb(int x, int y) const {
    std::uint32_t value;
    std::memcpy(&value, pixel(x, y), 4);
    return value;
}

void Bitmap::setArgb(int x, int y, std::uint32_t argb) {
    std::memcpy(pixel(x, y), &argb, 4);
}

Bitmap Bitmap::cropped(int x, int y, int width, int height) const {
    Bitmap out = allocate(width, height, false);
    out.hasAlpha_ = hasAlpha_;
    for (int r = 0; r < height; ++r) {
        std::memcpy(out.row(r), pixel(x, y + r), out.stride());
    }
    return out;
}

}  // namespace tandel
