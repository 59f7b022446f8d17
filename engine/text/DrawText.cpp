#include "DrawText.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "RowCompositing.h"
#include "TextFormat.h"
#include "TextSystem.h"

namespace tandel {
namespace {

// Cairo's RGB24 pixels are 32-bit 0x00RRGGBB words: the canvas's B, G, R, A byte order only on
// little-endian machines.
static_assert(std::endian::native == std::endian::little);

using SurfacePtr = std::unique_ptr<cairo_surface_t, FreeWith<&cairo_surface_destroy>>;
using CairoPtr = std::unique_ptr<cairo_t, FreeWith<&cairo_destroy>>;

SurfacePtr createSurface(cairo_format_t format, int width, int height) {
    SurfacePtr surface(cairo_image_surface_create(format, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    return surface;
}

// The top-left of the text's line cell, placed in rect as GDI's DrawTextW places it.
Point placeLine(const Rect& rect, int width, int lineHeight, unsigned format) {
    Point at{rect.left, rect.top};
    if (format & kDtCenter) {
        at.x = (rect.left + rect.right - width) / 2;
    } else if (format & kDtRight) {
        at.x = rect.right - width;
    }
    if (format & kDtSingleLine) {
        if (format & kDtVCenter) {
            at.y = (rect.top + rect.bottom - lineHeight) / 2;
        } else if (format & kDtBottom) {
            at.y = rect.bottom - lineHeight;
        }
    }
    return at;
}

// A text placed in its rect, on a surface that shows the canvas from origin on.
struct PlacedText {
    PangoLayout* layout;
    double x, y;  // where the layout's top-left goes
    Rect ink;     // the pixels the glyphs may touch, on the surface
};

PlacedText placeText(std::u16string_view text, const Rect& rect, const Font& font, unsigned format,
                     Point origin) {
    PangoLayout* layout = layoutFor(font, text, (format & kDtNoPrefix) == 0);
    const Point line = placeLine(rect, layoutWidth(layout), font.lineHeight(), format);
    // The baseline goes at the font's own ascent, as GDI puts it, even where a fallback font
    // with a taller ascent makes the layout's line taller.
    const double layoutBaseline = double(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    PlacedText placed{
        layout, double(line.x - origin.x), line.y + font.ascent() - layoutBaseline - origin.y, {}};
    PangoRectangle ink;
    pango_layout_get_pixel_extents(layout, &ink, nullptr);
    // A pixel of margin: the layout's position may fall between pixels.
    placed.ink = {int(std::floor(placed.x)) + ink.x - 1, int(std::floor(placed.y)) + ink.y - 1,
                  int(std::ceil(placed.x)) + ink.x + ink.width + 1,
                  int(std::ceil(placed.y)) + ink.y + ink.height + 1};
    return placed;
}

// Draws a placed text with cr's source.
void showText(cairo_t* cr, const PlacedText& placed) {
    cairo_move_to(cr, placed.x, placed.y);
    pango_cairo_show_layout(cr, placed.layout);
}

// The coverage surface, kept between calls since text is drawn many times a second: it grows
// to the largest rect asked for, and the part a call uses is cleared first.
class CoverageScratch {
public:
    // A context on a surface of at least width x height whose area clear is cleared, or null.
    cairo_t* prepare(int width, int height, const Rect& clear) {
        if (!surface_ || width > width_ || height > height_) {
            width_ = std::max(width, width_);
            height_ = std::max(height, height_);
            context_.reset();
            // A8 would be the natural format, but Cairo draws glyphs into ARGB32 several times
            // faster; the alpha bytes of white text on transparent black are the coverage.
            surface_ = createSurface(CAIRO_FORMAT_ARGB32, width_, height_);
            if (!surface_) {
                width_ = height_ = 0;
                return nullptr;
            }
            context_.reset(cairo_create(surface_.get()));
        }
        cairo_surface_flush(surface_.get());
        for (int y = clear.top; y < clear.bottom; ++y) {
            std::memset(data() + std::size_t(y) * stride() + 4 * std::size_t(clear.left), 0,
                        4 * std::size_t(clear.width()));
        }
        cairo_surface_mark_dirty(surface_.get());
        cairo_new_path(context_.get());
        return context_.get();
    }
    const std::uint8_t* data() const { return cairo_image_surface_get_data(surface_.get()); }
    std::uint8_t* data() { return cairo_image_surface_get_data(surface_.get()); }
    std::size_t stride() const {
        return std::size_t(cairo_image_surface_get_stride(surface_.get()));
    }
    void flush() { cairo_surface_flush(surface_.get()); }

private:
    SurfacePtr surface_;
    CairoPtr context_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

int DrawTextAlpha(Canvas& canvas, std::u16string_view text, std::uint32_t colour, const Rect& rect,
                  const Font& font, unsigned format) {
    if (text.empty() || rect.isEmpty() || !canvas.isAlphaCanvas()) {
        return 0;
    }
    if (rect.intersected(canvas.clipBox()).isEmpty()) {
        return 1;
    }
    const int width = rect.width();
    const int height = rect.height();
    if (!withinImageLimits(width, height)) {
        return 0;
    }
    // Only the glyphs' pixels inside the visible part are cleared, drawn and composited.
    const PlacedText placed = placeText(text, rect, font, format, {rect.left, rect.top});
    const Rect visible = rect.intersected(canvas.clipBox());
    const Rect area = visible.intersected(placed.ink.offset(rect.left, rect.top));
    if (area.isEmpty()) {
        return 1;
    }
    static CoverageScratch coverage;
    cairo_t* cr = coverage.prepare(width, height, area.offset(-rect.left, -rect.top));
    if (cr == nullptr) {
        return 0;
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    showText(cr, placed);
    coverage.flush();

    // The coverage, in the colour, composited as a picture of the rect's size would be.
    const std::uint32_t bgr = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
    for (int y = area.top; y < area.bottom; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            coverage.data() + std::size_t(y - rect.top) * coverage.stride());
        blendCoverageRow(canvas.pixels().pixel(area.left, y), row + (area.left - rect.left), bgr,
                         area.width());
    }
    return 1;
}

int DrawTextOpaque(Canvas& canvas, std::u16string_view text, std::uint32_t colour, const Rect& rect,
                   const Font& font, unsigned format) {
    if (text.empty() || rect.isEmpty() || canvas.pixels().isEmpty()) {
        return 0;
    }
    const Rect area = rect.intersected(canvas.clipBox());
    if (area.isEmpty()) {
        return 1;
    }
    SurfacePtr surface = createSurface(CAIRO_FORMAT_RGB24, area.width(), area.height());
    if (!surface) {
        return 0;
    }
    std::uint8_t* drawn = cairo_image_surface_get_data(surface.get());
    const std::size_t stride = std::size_t(cairo_image_surface_get_stride(surface.get()));
    const std::size_t rowBytes = 4 * std::size_t(area.width());
    for (int y = 0; y < area.height(); ++y) {
        std::memcpy(drawn + std::size_t(y) * stride, canvas.pixels().pixel(area.left, area.top + y),
                    rowBytes);
    }
    cairo_surface_mark_dirty(surface.get());
    {
        CairoPtr cr(cairo_create(surface.get()));
        cairo_set_source_rgb(cr.get(), (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                             ((colour >> 16) & 0xFF) / 255.0);
        showText(cr.get(), placeText(text, rect, font, format, {area.left, area.top}));
    }
    cairo_surface_flush(surface.get());

    for (int y = 0; y < area.height(); ++y) {
        const std::uint8_t* from = drawn + std::size_t(y) * stride;
        std::uint8_t* to = canvas.pixels().pixel(area.left, area.top + y);
        for (int x = 0; x < area.width(); ++x, from += 4, to += 4) {
            if (std::memcmp(from, to, 3) != 0) {
                std::memcpy(to, from, 3);
                to[3] = 255;
            }
        }
    }
    return 1;
}

}  // namespace tandel
