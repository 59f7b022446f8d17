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
    Bitmap bitmap;
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.pixels_.assign(4 * std::size_t(width) * std::size_t(height), 0);
    return bitmap;
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
    Bitmap out;
    out.width_ = width;
    out.height_ = height;
    out.hasAlpha_ = hasAlpha_;
    out.pixels_.resize(4 * std::size_t(width) * std::size_t(height));
    for (int r = 0; r < height; ++r) {
        std::memcpy(out.row(r), pixel(x, y + r), out.stride());
    }
    return out;
}

}  // namespace tandel
