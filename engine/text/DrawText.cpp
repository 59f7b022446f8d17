#include "DrawText.h"

#include <pango/pangocairo.h>

#include <bit>
#include <cstring>
#include <memory>
#include <vector>

#include "CxImage.h"
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

// Draws the text with cr's source; the surface of cr shows the canvas from origin on.
void showText(cairo_t* cr, std::u16string_view text, const Rect& rect, const Font& font,
              unsigned format, Point origin) {
    LayoutPtr layout = makeLayout(font, text, (format & kDtNoPrefix) == 0);
    const Point line = placeLine(rect, layoutWidth(layout.get()), font.lineHeight(), format);
    // The baseline goes at the font's own ascent, as GDI puts it, even where a fallback font
    // with a taller ascent makes the layout's line taller.
    const double layoutBaseline = double(pango_layout_get_baseline(layout.get())) / PANGO_SCALE;
    cairo_move_to(cr, line.x - origin.x, line.y + font.ascent() - layoutBaseline - origin.y);
    pango_cairo_show_layout(cr, layout.get());
}

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
    SurfacePtr coverage = createSurface(CAIRO_FORMAT_A8, width, height);
    if (!coverage) {
        return 0;
    }
    {
        CairoPtr cr(cairo_create(coverage.get()));
        cairo_set_source_rgba(cr.get(), 1, 1, 1, 1);
        showText(cr.get(), text, rect, font, format, {rect.left, rect.top});
    }
    cairo_surface_flush(coverage.get());

    const std::uint8_t red = colour & 0xFF;
    const std::uint8_t green = (colour >> 8) & 0xFF;
    const std::uint8_t blue = (colour >> 16) & 0xFF;
    const std::uint8_t* alpha = cairo_image_surface_get_data(coverage.get());
    const std::size_t alphaStride = std::size_t(cairo_image_surface_get_stride(coverage.get()));
    std::vector<std::uint8_t> pixels(4 * std::size_t(width) * std::size_t(height));
    std::uint8_t* p = pixels.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* a = alpha + std::size_t(y) * alphaStride;
        for (int x = 0; x < width; ++x, p += 4) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
            p[3] = a[x];
        }
    }
    CxImageEx image;
    if (!image.createFromBgra(pixels.data(), width, height)) {
        return 0;
    }
    image.drawToCanvas(canvas, rect.left, rect.top, width, height);
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
        showText(cr.get(), text, rect, font, format, {area.left, area.top});
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
