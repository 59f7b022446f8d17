#include "Canvas.h"

#include <cstring>

namespace tandel {

std::optional<Canvas> Canvas::create(int width, int height, Kind kind) {
    std::optional<Bitmap> pixels = Bitmap::create(width, height);
    if (!pixels) {
        return std::nullopt;
    }
    Canvas canvas;
    canvas.pixels_ = std::move(*pixels);
    canvas.pixels_.setHasAlpha(kind == Kind::Alpha);
    canvas.kind_ = kind;
    canvas.clip_ = canvas.bounds();
    return canvas;
}

void Canvas::fill(const Rect& rect, std::uint32_t argb) {
    Rect area = rect.intersected(clip_);
    if (area.isEmpty()) {
        return;
    }
    const std::size_t rowBytes = 4 * std::size_t(area.width());
    std::uint8_t* first = pixels_.pixel(area.left, area.top);
    if (argb == 0) {
        for (int y = area.top; y < area.bottom; ++y) {
            std::memset(pixels_.pixel(area.left, y), 0, rowBytes);
        }
        return;
    }
    for (std::size_t x = 0; x < rowBytes; x += 4) {
        std::memcpy(first + x, &argb, 4);
    }
    for (int y = area.top + 1; y < area.bottom; ++y) {
        std::memcpy(pixels_.pixel(area.left, y), first, rowBytes);
    }
}

void Canvas::copyFrom(const Canvas& source, int x, int y, int width, int height, int dstX,
                      int dstY) {
    Rect target = Rect{dstX, dstY, dstX + width, dstY + height}.intersected(clip_);
    Rect fromSource = Rect{x, y, x + width, y + height}.intersected(source.bounds());
    target = target.intersected(fromSource.offset(dstX - x, dstY - y));
    if (target.isEmpty()) {
        return;
    }
    const std::size_t rowBytes = 4 * std::size_t(target.width());
    for (int row = target.top; row < target.bottom; ++row) {
        std::memmove(pixels_.pixel(target.left, row),
                     source.pixels_.pixel(target.left - dstX + x, row - dstY + y), rowBytes);
    }
}

}  // namespace tandel
