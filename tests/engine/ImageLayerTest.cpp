// Compositing, splitting, tiling and recolouring of engine pictures.
#include <gtest/gtest.h>

#include <cstring>

#include "AlphaDrawing.h"
#include "Canvas.h"
#include "Compositing.h"
#include "RUZizod.h"
#include "RowCompositing.h"

namespace tandel {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// A picture from packed 0xAARRGGBB pixels, rows top-down.
std::unique_ptr<RUZizodGdi> picture(int w, int h, std::vector<std::uint32_t> argb,
                                    bool alpha = true) {
    auto image = std::make_unique<RUZizodGdi>();
    EXPECT_TRUE(image->LoadFromBgra(reinterpret_cast<const std::uint8_t*>(argb.data()), w, h));
    if (!alpha) {
        std::optional<Canvas> opaque = Canvas::create(w, h);
        std::memcpy(opaque->pixels().data(), argb.data(), 4 * argb.size());
        for (std::size_t i = 0; i < argb.size(); ++i) {
            opaque->pixels().data()[4 * i + 3] = 0;  // a GDI bitmap: no alpha at all
        }
        image->LoadFromHBitmap(*opaque);
    }
    return image;
}

std::unique_ptr<RUZizodGdi> solid(int w, int h, std::uint32_t argb) {
    return picture(w, h, std::vector<std::uint32_t>(std::size_t(w * h), argb));
}

Canvas canvasOf(int w, int h, std::uint32_t fill = 0) {
    Canvas canvas = *Canvas::create(w, h);
    canvas.fill(canvas.bounds(), fill);
    return canvas;
}

std::uint32_t at(const Canvas& c, int x, int y) {
    return c.pixels().argb(x, y);
}

TEST(Compositing, MixesByTheRenderersIntegerRule) {
    struct Case {
        const char* what;
        std::uint32_t canvas, source, expected;
    };
    const Case cases[] = {
        // alpha 128 over alpha 0: alpha 127, colour (old * 127 + new * 128) >> 8
        {"half over transparent", 0x00102030, 0x80F0E0D0, 0x7F7F7F7F},
        {"opaque copies", 0x80102030, 0xFFF0E0D0, 0xFFF0E0D0},
        {"transparent leaves", 0x80102030, 0x00F0E0D0, 0x80102030},
        {"half over opaque", 0xFF000000, 0x80FF0000, 0xFF7F0000},
    };
    for (const Case& c : cases) {
        Canvas canvas = canvasOf(1, 1, c.canvas);
        ASSERT_EQ(solid(1, 1, c.source)->Draw(canvas, {0, 0, 1, 1}, -1, 0), 1);
        EXPECT_EQ(at(canvas, 0, 0), c.expected) << c.what;
    }
    // A picture without alpha is copied opaque whatever its alpha bytes hold.
    Canvas canvas = canvasOf(1, 1, 0x00000000);
    picture(1, 1, {0x00123456}, false)->Draw(canvas, {0, 0, 1, 1}, -1, 0);
    EXPECT_EQ(at(canvas, 0, 0), 0xFF123456u);
}

TEST(Compositing, StretchesByNearestNeighbour) {
    auto image = picture(2, 2, {kRed, kGreen, kBlue, 0xFFFFFFFF});
    Canvas canvas = canvasOf(4, 4);
    image->Draw(canvas, {0, 0, 4, 4}, -1, 0);
    const std::uint32_t expected[4][4] = {{kRed, kRed, kGreen, kGreen},
                                          {kRed, kRed, kGreen, kGreen},
                                          {kBlue, kBlue, 0xFFFFFFFF, 0xFFFFFFFF},
                                          {kBlue, kBlue, 0xFFFFFFFF, 0xFFFFFFFF}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(at(canvas, x, y), expected[y][x]) << x << "," << y;
        }
    }
    // Shrinking picks rows counted from the bottom line.
    Canvas small = canvasOf(1, 1);
    image->Draw(small, {0, 0, 1, 1}, -1, 0);
    EXPECT_EQ(at(small, 0, 0), kBlue);
}

TEST(Compositing, StaysInsideClipAndCanvas) {
    auto image = solid(4, 4, kRed);
    Canvas canvas = canvasOf(4, 4);
    canvas.setClip({1, 1, 3, 3});
    image->Draw(canvas, {-2, -2, 6, 6}, -1, 0);
    EXPECT_EQ(at(canvas, 1, 1), kRed);
    EXPECT_EQ(at(canvas, 0, 0), 0u);
    EXPECT_EQ(at(canvas, 3, 3), 0u);

    // A screen surface takes only the blended draw.
    Canvas screen = *Canvas::create(2, 2, Canvas::Kind::Screen);
    EXPECT_EQ(image->Draw(screen, {0, 0, 2, 2}, -1, 0), 0);
    EXPECT_EQ(image->Draw(screen, {0, 0, 2, 2}, -1, 1), 1);
    EXPECT_EQ(at(screen, 1, 1), kRed);
    EXPECT_EQ(RUZizodGdi().Draw(canvas, {0, 0, 2, 2}, -1, 0), 0);
}

TEST(Splits, StripStatesAndNineGridPieces) {
    auto strip = picture(4, 1, {kRed, kGreen, kBlue, 0xFF000000});
    EXPECT_EQ(strip->SplitHorizontal(1), 0);
    EXPECT_EQ(strip->SubImageCount(), 0);
    Canvas canvas = canvasOf(1, 1);
    EXPECT_EQ(strip->Draw(canvas, {0, 0, 1, 1}, 2, 0), 0);
    EXPECT_EQ(at(canvas, 0, 0), 0u);

    ASSERT_EQ(strip->SplitHorizontal(4), 1);
    ASSERT_EQ(strip->SubImageCount(), 4);
    strip->Draw(canvas, {0, 0, 1, 1}, 2, 0);
    EXPECT_EQ(at(canvas, 0, 0), kBlue);

    // Nine-grid draws need exactly nine pieces.
    auto frame = solid(6, 6, kRed);
    Canvas target = canvasOf(12, 12);
    EXPECT_EQ(frame->DrawNineGridStretched(target, {0, 0, 12, 12}, {2, 2, 2, 2}, 0), 0);
    ASSERT_EQ(frame->SplitNineGrid({2, 2, 2, 2}), 1);
    EXPECT_EQ(frame->SubImageCount(), 9);
    EXPECT_EQ(frame->GetSubImage(8)->GetWidth(), 2);
    EXPECT_EQ(frame->GetSubImage(1)->GetRect(), (Rect{0, 0, 2, 2}));
}

TEST(Splits, NineGridCentreColour) {
    // Corners red, edges green, centre blue.
    std::vector<std::uint32_t> px(9);
    for (int i = 0; i < 9; ++i) {
        int x = i % 3, y = i / 3;
        px[std::size_t(i)] = (x == 1 && y == 1) ? kBlue : (x == 1 || y == 1) ? kGreen : kRed;
    }
    struct Case {
        std::uint32_t centreColour;
        std::uint32_t expectedCentre;
    };
    const Case cases[] = {{0, kBlue}, {0xFFFFFFFF, 0xFFFFFFFF}, {0x00FFFFFF, 0x40404040}};
    for (const Case& c : cases) {
        auto image = picture(3, 3, px);
        image->SplitNineGrid({1, 1, 1, 1});
        Canvas canvas = canvasOf(9, 9, 0x40404040);
        ASSERT_EQ(image->DrawNineGridStretched(canvas, {0, 0, 9, 9}, {1, 1, 1, 1}, c.centreColour),
                  1);
        EXPECT_EQ(at(canvas, 4, 4), c.expectedCentre) << std::hex << c.centreColour;
        EXPECT_EQ(at(canvas, 0, 0), kRed);
        EXPECT_EQ(at(canvas, 8, 8), kRed);
        EXPECT_EQ(at(canvas, 4, 0), kGreen);
        EXPECT_EQ(at(canvas, 0, 4), kGreen);
    }
}

TEST(Tiling, CopiesTheFirstTileAndCropsSmallRects) {
    auto tile = picture(2, 1, {kRed, 0x00000000});  // right half transparent
    Canvas canvas = canvasOf(5, 2, 0xFF0000FF);
    ASSERT_EQ(tile->DrawTiled(canvas, {0, 0, 5, 2}, -1), 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(at(canvas, x, y), x % 2 == 0 ? kRed : kBlue) << x << "," << y;
        }
    }
    // A rect smaller than one tile shows the tile's top-left part only.
    auto big = picture(2, 2, {kRed, kGreen, kBlue, kRed});
    Canvas small = canvasOf(3, 3);
    big->DrawTiled(small, {0, 0, 1, 1}, -1);
    EXPECT_EQ(at(small, 0, 0), kRed);
    EXPECT_EQ(at(small, 1, 0), 0u);
    EXPECT_EQ(at(small, 0, 1), 0u);
    // A tiled nine-grid tiles its edges and centre.
    auto frame = solid(3, 3, kGreen);
    frame->SplitNineGrid({1, 1, 1, 1});
    Canvas wide = canvasOf(10, 3);
    EXPECT_EQ(frame->DrawNineGridTiled(wide, {0, 0, 10, 3}, {1, 1, 1, 1}, 0), 1);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(at(wide, x, 1), kGreen) << x;
    }
}

TEST(Scaling, ResamplesOnlyForRealFactors) {
    auto image = picture(2, 1, {kRed, 0x80123456});
    EXPECT_EQ(image->Scale(1.0), 0);
    image->Scale(1.0000000001);
    EXPECT_EQ(image->GetWidth(), 2);
    EXPECT_EQ(image->Image().pixels().argb(0, 0), kRed);
    EXPECT_EQ(image->Image().pixels().argb(1, 0), 0x80123456u);

    image = solid(10, 6, kRed);
    image->SplitHorizontal(2);
    EXPECT_EQ(image->Scale(1.5), 1);
    EXPECT_EQ(image->GetWidth(), 15);
    EXPECT_EQ(image->GetHeight(), 9);
    EXPECT_EQ(image->GetSubImage(0)->GetWidth(), 7);   // 5 * 1.5 truncated
    EXPECT_EQ(image->GetRect(), (Rect{0, 0, 10, 6}));  // bounds as loaded
    EXPECT_EQ(RUZizodGdi().Scale(2.0), 0);
}

TEST(Recolouring, SilhouetteAndHalfAlpha) {
    auto image = picture(2, 1, {0xFF123456, 0x80ABCDEF});
    image->Colorize(0xFF0000FF, false);  // COLORREF red
    EXPECT_EQ(image->Image().pixels().argb(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image->Image().pixels().argb(1, 0), 0x80FF0000u);
    image->Colorize(0x00FF0000, true);  // blue, alpha halved
    EXPECT_EQ(image->Image().pixels().argb(0, 0), 0x7F0000FFu);
    EXPECT_EQ(image->Image().pixels().argb(1, 0), 0x400000FFu);
    image->Colorize(0, true);  // colour 0 does nothing
    EXPECT_EQ(image->Image().pixels().argb(1, 0), 0x400000FFu);

    Canvas canvas = canvasOf(2, 1);
    auto original = solid(2, 1, kRed);
    original->DrawTinted(canvas, {0, 0, 2, 1}, 0xFF00FF00);
    EXPECT_EQ(at(canvas, 0, 0), kGreen);
    EXPECT_EQ(original->Image().pixels().argb(0, 0), kRed);  // the tint works on a clone
}

TEST(Strips, MakeStripResamplesIntoCells) {
    auto normal = solid(2, 2, kRed);
    auto hover = solid(4, 4, kGreen);
    const RUZizodGdi* images[] = {normal.get(), nullptr, hover.get()};
    std::unique_ptr<RUZizodGdi> strip = MakeStrip(images);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->GetWidth(), 6);
    EXPECT_EQ(strip->GetHeight(), 2);
    const Bitmap& px = strip->Image().pixels();
    EXPECT_EQ(px.argb(1, 1), kRed);
    EXPECT_EQ(px.argb(2, 0), 0u);  // absent state: empty cell
    EXPECT_EQ(px.argb(5, 1), kGreen);
    const RUZizodGdi* none[] = {nullptr, normal.get()};
    EXPECT_EQ(MakeStrip(none), nullptr);
}

TEST(AlphaDrawing, MergesByTheColoursAlpha) {
    struct Case {
        std::uint32_t colour;    // 0xAABBGGRR
        std::uint32_t expected;  // 0xAARRGGBB on a canvas of 0x80000000
    };
    const Case cases[] = {
        {0xFF0000FF, 0xFFFF0000},  // opaque red
        {0x800000FF, 0xBF7F0000},  // half: colour (255 * 128) >> 8, alpha 128 + (127 * 128 >> 8)
        {0x000000FF, 0x80000000},  // alpha 0: the drawing disappears
    };
    for (const Case& c : cases) {
        Canvas canvas = canvasOf(4, 4, 0x80000000);
        ASSERT_EQ(FillRectAlpha(canvas, {1, 1, 3, 3}, c.colour), 1);
        EXPECT_EQ(at(canvas, 1, 1), c.expected) << std::hex << c.colour;
        EXPECT_EQ(at(canvas, 0, 0), 0x80000000u);
        EXPECT_EQ(at(canvas, 3, 3), 0x80000000u);
    }
    Canvas canvas = canvasOf(4, 4);
    EXPECT_EQ(FillRectAlpha(canvas, {5, 5, 9, 9}, 0xFF0000FF), 0);
}

TEST(AlphaDrawing, TriangleAndRoundFrame) {
    Canvas canvas = canvasOf(10, 10);
    const Point points[3] = {{2, 1}, {2, 7}, {6, 4}};  // an arrow pointing right
    ASSERT_EQ(FillTriangleAlpha(canvas, {0, 0, 10, 10}, points, 0xFF00FF00), 1);
    EXPECT_EQ(at(canvas, 3, 4), kGreen);
    EXPECT_EQ(at(canvas, 6, 4), kGreen);  // the outline reaches the tip
    EXPECT_EQ(at(canvas, 7, 4), 0u);
    EXPECT_EQ(at(canvas, 6, 1), 0u);

    Canvas frame = canvasOf(10, 8);
    ASSERT_EQ(DrawRoundFrameAlpha(frame, {0, 0, 10, 8}, 0xFFFF0000), 1);
    EXPECT_EQ(at(frame, 5, 0), kBlue);
    EXPECT_EQ(at(frame, 9, 4), kBlue);
    EXPECT_EQ(at(frame, 0, 0), 0u);  // rounded corner
    EXPECT_EQ(at(frame, 1, 1), kBlue);
    EXPECT_EQ(at(frame, 5, 4), 0u);  // no fill
}

}  // namespace
}  // namespace tandel

namespace tandel {
namespace {

// The row loops (vectorised where possible) must give exactly the per-pixel rule.
TEST(Compositing, RowLoopsMatchThePixelRule) {
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed;
    };
    constexpr int kCount = 4099;  // not a multiple of the vector width
    std::vector<std::uint8_t> src(4 * kCount), dst(4 * kCount);
    for (int i = 0; i < 4 * kCount; ++i) {
        src[std::size_t(i)] = std::uint8_t(next() >> 24);
        dst[std::size_t(i)] = std::uint8_t(next() >> 24);
    }
    // Runs of fully opaque and fully clear pixels take the shortcuts.
    for (int i = 0; i < 64; ++i) {
        src[std::size_t(4 * i + 3)] = i < 32 ? 255 : 0;
    }
    std::vector<std::uint8_t> expected = dst;
    for (int i = 0; i < kCount; ++i) {
        blendPixel(&expected[std::size_t(4 * i)], &src[std::size_t(4 * i)],
                   src[std::size_t(4 * i + 3)]);
    }
    std::vector<std::uint8_t> blended = dst;
    blendRow(blended.data(), src.data(), kCount);
    EXPECT_EQ(blended, expected);

    std::vector<std::uint8_t> copied = dst;
    copyRowOpaque(copied.data(), src.data(), kCount);
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(std::memcmp(&copied[std::size_t(4 * i)], &src[std::size_t(4 * i)], 3), 0);
        EXPECT_EQ(copied[std::size_t(4 * i + 3)], 255);
    }
}

TEST(Compositing, PremultipliedRowsGoOverOpaquePixels) {
    std::uint32_t seed = 777;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return std::uint8_t(seed >> 24);
    };
    constexpr int kCount = 1031;
    std::vector<std::uint8_t> src(4 * kCount), dst(4 * kCount);
    for (int i = 0; i < kCount; ++i) {
        const std::uint8_t a = i < 16 ? 0 : i < 32 ? 255 : next();  // empty and opaque runs
        for (int c = 0; c < 3; ++c) {
            src[std::size_t(4 * i + c)] = i < 16 ? 0 : std::uint8_t(next() * a / 255);
            dst[std::size_t(4 * i + c)] = next();
        }
        src[std::size_t(4 * i + 3)] = a;
        dst[std::size_t(4 * i + 3)] = 255;
    }
    src[4 * 40 + 3] = 0;  // no coverage but a colour: it adds
    src[4 * 40] = 9;
    std::vector<std::uint8_t> expected = dst;
    for (int i = 0; i < kCount; ++i) {
        const unsigned a = src[std::size_t(4 * i + 3)];
        for (int c = 0; c < 3; ++c) {
            const unsigned under = expected[std::size_t(4 * i + c)] * (255 - a);
            expected[std::size_t(4 * i + c)] =
                std::uint8_t(std::min(255u, src[std::size_t(4 * i + c)] + (2 * under + 255) / 510));
        }
    }
    std::vector<std::uint8_t> blended = dst;
    blendPremultipliedRow(blended.data(), src.data(), kCount);
    EXPECT_EQ(blended, expected);
}

}  // namespace
}  // namespace tandel
