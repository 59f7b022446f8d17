// The surface the engine draws on, in place of a memory device context: a 32-bit picture
// (bytes B, G, R, A, straight alpha, rows top-down) with a clip box. An alpha canvas keeps
// coverage in its alpha bytes and is what compositing needs; a screen surface is an opaque
// picture whose alpha bytes mean nothing, on which only the read-back drawing works.
#pragma once

#include <cstdint>
#include <optional>

#include "Bitmap.h"
#include "Geometry.h"

namespace tandel {

class Canvas {
public:
    enum class Kind { Alpha, Screen };

    Canvas() = default;
    // A cleared (transparent black) canvas; nothing when the size is empty or too large.
    static std::optional<Canvas> create(int width, int height, Kind kind = Kind::Alpha);

    int width() const { return pixels_.width(); }
    int height() const { return pixels_.height(); }
    Kind kind() const { return kind_; }
    bool isAlphaCanvas() const { return kind_ == Kind::Alpha && !pixels_.isEmpty(); }
    Rect bounds() const { return {0, 0, width(), height()}; }

    Bitmap& pixels() { return pixels_; }
    const Bitmap& pixels() const { return pixels_; }

    // The clip box: the part of the canvas drawing may touch; the whole canvas by default.
    Rect clipBox() const { return clip_; }
    void setClip(const Rect& clip) { clip_ = clip.intersected(bounds()); }
    void resetClip() { clip_ = bounds(); }

    // Fills a rectangle (clipped) with one packed 0xAARRGGBB value.
    void fill(const Rect& rect, std::uint32_t argb);
    void clear() { fill(bounds(), 0); }

    // Copies pixels as they are (a plain block copy): the area (x, y, width, height) of source
    // to (dstX, dstY) here, clipped to this canvas's clip box and to the source. Source and
    // destination may be the same canvas when the areas do not overlap.
    void copyFrom(const Canvas& source, int x, int y, int width, int height, int dstX, int dstY);

private:
    Bitmap pixels_;
    Rect clip_;
    Kind kind_ = Kind::Alpha;
};

}  // namespace tandel
