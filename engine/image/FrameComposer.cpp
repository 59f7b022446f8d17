#include "FrameComposer.h"

#include <algorithm>
#include <cstring>

#include "Compositing.h"

namespace tandel {
namespace {

// The part of the frame that lies on the canvas, in canvas coordinates.
struct Area {
    int left, top, right, bottom;
    bool isEmpty() const { return right <= left || bottom <= top; }
};

Area frameArea(const ImageFrame& frame, const Bitmap& canvas) {
    return {std::max(frame.offsetX, 0), std::max(frame.offsetY, 0),
            std::min(frame.offsetX + frame.bitmap.width(), canvas.width()),
            std::min(frame.offsetY + frame.bitmap.height(), canvas.height())};
}

void clearArea(Bitmap& canvas, const Area& area) {
    for (int y = area.top; y < area.bottom; ++y) {
        std::memset(canvas.pixel(area.left, y), 0, 4 * std::size_t(area.right - area.left));
    }
}

void drawFrame(Bitmap& canvas, const ImageFrame& frame, const Area& area) {
    const Bitmap& source = frame.bitmap;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* dst = canvas.pixel(area.left, y);
        const std::uint8_t* src = source.pixel(area.left - frame.offsetX, y - frame.offsetY);
        for (int x = area.left; x < area.right; ++x, dst += 4, src += 4) {
            blendPixel(dst, src, source.hasAlpha() ? src[3] : 255);
        }
    }
}

}  // namespace

std::vector<Bitmap> composeFrames(const DecodedImage& image, std::size_t limit) {
    std::vector<Bitmap> composed;
    std::optional<Bitmap> canvas = Bitmap::create(image.canvasWidth, image.canvasHeight);
    if (!canvas || image.frames.empty()) {
        return composed;
    }
    canvas->setHasAlpha(true);
    const bool png = image.format == PictureFormat::Png;
    const std::size_t count = std::min(limit, image.frames.size());
    composed.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ImageFrame& frame = image.frames[i];
        const Area area = frameArea(frame, *canvas);
        std::optional<Bitmap> saved;
        if (frame.disposal == Disposal::Previous) {
            saved = *canvas;
        }
        if (!area.isEmpty()) {
            if (png && frame.blend == Blend::Source) {
                clearArea(*canvas, area);
            }
            drawFrame(*canvas, frame, area);
        }
        composed.push_back(*canvas);
        if (area.isEmpty()) {
            continue;
        }
        // For the first frame, going back to the previous canvas clears the area.
        if (frame.disposal == Disposal::Background) {
            clearArea(*canvas, area);
        } else if (frame.disposal == Disposal::Previous) {
            *canvas = std::move(*saved);
        }
    }
    return composed;
}

}  // namespace tandel
