// Compositing into canvases, measured beside the same work done by Cairo (pixman) on its
// ARGB32 surfaces: compare each of our rows with its Cairo row.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstring>

#include <pango/pangocairo.h>

#include "Canvas.h"
#include "DrawText.h"
#include "Font.h"
#include "RUZizod.h"
#include "TextFormat.h"

using namespace tandel;

namespace {

constexpr int kWidth = 800, kHeight = 600;

// A picture with a smooth colour field; with alpha, the alpha varies over the whole range.
std::vector<std::uint32_t> picturePixels(bool alpha) {
    std::vector<std::uint32_t> px(std::size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            std::uint32_t a = alpha ? std::uint32_t((x + y) % 256) : 255;
            px[std::size_t(y) * kWidth + std::size_t(x)] =
                a << 24 | std::uint32_t(x % 256) << 16 | std::uint32_t(y % 256) << 8 | 0x80;
        }
    }
    return px;
}

std::unique_ptr<RUZizodGdi> ourPicture(bool alpha) {
    std::vector<std::uint32_t> px = picturePixels(alpha);
    auto image = std::make_unique<RUZizodGdi>();
    image->LoadFromBgra(reinterpret_cast<const std::uint8_t*>(px.data()), kWidth, kHeight);
    if (!alpha) {
        std::optional<Canvas> opaque = image->CreateHBitmap();
        image->LoadFromHBitmap(*opaque);  // alpha 255 everywhere... imported with alpha
        const_cast<Bitmap&>(image->Image().pixels()).setHasAlpha(false);
    }
    return image;
}

// The same picture as a Cairo surface (premultiplied; RGB24 when opaque).
cairo_surface_t* cairoPicture(bool alpha) {
    std::vector<std::uint32_t> px = picturePixels(alpha);
    cairo_surface_t* s = cairo_image_surface_create(
        alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_surface_flush(s);
    auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            std::uint32_t p = px[std::size_t(y) * kWidth + std::size_t(x)];
            std::uint32_t a = p >> 24;
            auto pre = [&](int shift) { return ((p >> shift) & 255) * a / 255 << shift; };
            data[y * stride + x] = alpha ? (a << 24 | pre(16) | pre(8) | pre(0)) : p;
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

Canvas ourCanvas(int w, int h) {
    Canvas c = *Canvas::create(w, h);
    c.fill(c.bounds(), 0x80406080);
    return c;
}

cairo_surface_t* cairoCanvas(int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, 0.5, 0.37, 0.25, 0.5);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

void setPixels(benchmark::State& state, int w, int h) {
    state.SetItemsProcessed(std::int64_t(state.iterations()) * w * h);
}

void BM_Ours_CopyOpaque(benchmark::State& state) {
    auto image = ourPicture(false);
    Canvas canvas = ourCanvas(kWidth, kHeight);
    for (auto _ : state) {
        image->Draw(canvas, {0, 0, kWidth, kHeight}, -1, 0);
        benchmark::ClobberMemory();
    }
    setPixels(state, kWidth, kHeight);
}
BENCHMARK(BM_Ours_CopyOpaque);

void BM_Cairo_CopyOpaque(benchmark::State& state) {
    cairo_surface_t* picture = cairoPicture(false);
    cairo_surface_t* canvas = cairoCanvas(kWidth, kHeight);
    cairo_t* cr = cairo_create(canvas);
    for (auto _ : state) {
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_paint(cr);
        cairo_surface_flush(canvas);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(canvas);
    cairo_surface_destroy(picture);
    setPixels(state, kWidth, kHeight);
}
BENCHMARK(BM_Cairo_CopyOpaque);

void BM_Ours_BlendAlpha(benchmark::State& state) {
    auto image = ourPicture(true);
    Canvas canvas = ourCanvas(kWidth, kHeight);
    for (auto _ : state) {
        image->Draw(canvas, {0, 0, kWidth, kHeight}, -1, 0);
        benchmark::ClobberMemory();
    }
    setPixels(state, kWidth, kHeight);
}
BENCHMARK(BM_Ours_BlendAlpha);

void BM_Cairo_BlendAlpha(benchmark::State& state) {
    cairo_surface_t* picture = cairoPicture(true);
    cairo_surface_t* canvas = cairoCanvas(kWidth, kHeight);
    cairo_t* cr = cairo_create(canvas);
    for (auto _ : state) {
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_paint(cr);
        cairo_surface_flush(canvas);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(canvas);
    cairo_surface_destroy(picture);
    setPixels(state, kWidth, kHeight);
}
BENCHMARK(BM_Cairo_BlendAlpha);

void BM_Ours_Stretch2x(benchmark::State& state) {
    auto image = ourPicture(true);
    Canvas canvas = ourCanvas(2 * kWidth, 2 * kHeight);
    for (auto _ : state) {
        image->Draw(canvas, {0, 0, 2 * kWidth, 2 * kHeight}, -1, 0);
        benchmark::ClobberMemory();
    }
    setPixels(state, 2 * kWidth, 2 * kHeight);
}
BENCHMARK(BM_Ours_Stretch2x);

void BM_Cairo_Stretch2x(benchmark::State& state) {
    cairo_surface_t* picture = cairoPicture(true);
    cairo_surface_t* canvas = cairoCanvas(2 * kWidth, 2 * kHeight);
    cairo_t* cr = cairo_create(canvas);
    cairo_scale(cr, 2, 2);
    for (auto _ : state) {
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_surface_flush(canvas);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(canvas);
    cairo_surface_destroy(picture);
    setPixels(state, 2 * kWidth, 2 * kHeight);
}
BENCHMARK(BM_Cairo_Stretch2x);

constexpr int kTargetW = 1600, kTargetH = 400, kBand = 40;

void BM_Ours_NineGridStretched(benchmark::State& state) {
    auto image = ourPicture(true);
    image->SplitNineGrid({kBand, kBand, kBand, kBand});
    Canvas canvas = ourCanvas(kTargetW, kTargetH);
    for (auto _ : state) {
        image->DrawNineGridStretched(canvas, {0, 0, kTargetW, kTargetH},
                                     {kBand, kBand, kBand, kBand}, 0);
        benchmark::ClobberMemory();
    }
    setPixels(state, kTargetW, kTargetH);
}
BENCHMARK(BM_Ours_NineGridStretched);

// Nine pieces, each a scaled sub-rectangle of the picture, as a Cairo program draws a lattice.
void cairoNineGrid(cairo_t* cr, cairo_surface_t* picture, bool tiled) {
    const double src[4] = {0, kBand, kWidth - kBand, kWidth};
    const double srcY[4] = {0, kBand, kHeight - kBand, kHeight};
    const double dst[4] = {0, kBand, kTargetW - kBand, kTargetW};
    const double dstY[4] = {0, kBand, kTargetH - kBand, kTargetH};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            double sw = src[c + 1] - src[c], sh = srcY[r + 1] - srcY[r];
            double dw = dst[c + 1] - dst[c], dh = dstY[r + 1] - dstY[r];
            cairo_save(cr);
            cairo_rectangle(cr, dst[c], dstY[r], dw, dh);
            cairo_clip(cr);
            cairo_surface_t* piece =
                cairo_surface_create_for_rectangle(picture, src[c], srcY[r], sw, sh);
            cairo_pattern_t* pattern = cairo_pattern_create_for_surface(piece);
            cairo_matrix_t m;
            if (tiled) {
                cairo_matrix_init_translate(&m, -dst[c], -dstY[r]);
                cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
            } else {
                cairo_matrix_init_scale(&m, sw / dw, sh / dh);
                cairo_matrix_translate(&m, -dst[c], -dstY[r]);
            }
            cairo_pattern_set_matrix(pattern, &m);
            cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
            cairo_set_source(cr, pattern);
            cairo_paint(cr);
            cairo_pattern_destroy(pattern);
            cairo_surface_destroy(piece);
            cairo_restore(cr);
        }
    }
}

void BM_Cairo_NineGridStretched(benchmark::State& state) {
    cairo_surface_t* picture = cairoPicture(true);
    cairo_surface_t* canvas = cairoCanvas(kTargetW, kTargetH);
    cairo_t* cr = cairo_create(canvas);
    for (auto _ : state) {
        cairoNineGrid(cr, picture, false);
        cairo_surface_flush(canvas);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(canvas);
    cairo_surface_destroy(picture);
    setPixels(state, kTargetW, kTargetH);
}
BENCHMARK(BM_Cairo_NineGridStretched);

void BM_Ours_NineGridTiled(benchmark::State& state) {
    auto image = ourPicture(true);
    image->SplitNineGrid({kBand, kBand, kBand, kBand});
    Canvas canvas = ourCanvas(kTargetW, kTargetH);
    for (auto _ : state) {
        image->DrawNineGridTiled(canvas, {0, 0, kTargetW, kTargetH}, {kBand, kBand, kBand, kBand},
                                 0);
        benchmark::ClobberMemory();
    }
    setPixels(state, kTargetW, kTargetH);
}
BENCHMARK(BM_Ours_NineGridTiled);

void BM_Cairo_NineGridTiled(benchmark::State& state) {
    cairo_surface_t* picture = cairoPicture(true);
    cairo_surface_t* canvas = cairoCanvas(kTargetW, kTargetH);
    cairo_t* cr = cairo_create(canvas);
    for (auto _ : state) {
        cairoNineGrid(cr, picture, true);
        cairo_surface_flush(canvas);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(canvas);
    cairo_surface_destroy(picture);
    setPixels(state, kTargetW, kTargetH);
}
BENCHMARK(BM_Cairo_NineGridTiled);

constexpr char16_t kCandidateLine[] = u"1.输入法 2.输入 3.书 4.数 5.输";
constexpr int kLineW = 400, kLineH = 24;

void BM_Ours_CandidateLine(benchmark::State& state) {
    Font font(LogicalFont{u"宋体", -16, 400, false});
    Canvas canvas = ourCanvas(kLineW, kLineH);
    for (auto _ : state) {
        DrawTextAlpha(canvas, kCandidateLine, 0xFFE47A1C, {0, 0, kLineW, kLineH}, font,
                      kDtSingleLine | kDtVCenter | kDtNoPrefix);
        benchmark::ClobberMemory();
    }
    setPixels(state, kLineW, kLineH);
}
BENCHMARK(BM_Ours_CandidateLine);

// Pango straight onto a Cairo surface, with the face our fonts resolve 宋体 to.
void BM_Cairo_CandidateLine(benchmark::State& state) {
    Font font(LogicalFont{u"宋体", -16, 400, false});
    cairo_surface_t* canvas = cairoCanvas(kLineW, kLineH);
    cairo_t* cr = cairo_create(canvas);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* description = pango_font_description_new();
    std::string family;
    for (char16_t c : font.family()) {
        family += char(c);  // the stand-in families have ASCII names
    }
    pango_font_description_set_family(description, family.c_str());
    pango_font_description_set_absolute_size(description, 16 * PANGO_SCALE);
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, "1.输入法 2.输入 3.书 4.数 5.输", -1);
    for (auto _ : state) {
        cairo_set_source_rgb(cr, 0.1, 0.5, 0.9);
        cairo_move_to(cr, 0, 2);
        pango_cairo_show_layout(cr, layout);
        cairo_surface_flush(canvas);
    }
    pango_font_description_free(description);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(canvas);
    setPixels(state, kLineW, kLineH);
}
BENCHMARK(BM_Cairo_CandidateLine);

}  // namespace

BENCHMARK_MAIN();
