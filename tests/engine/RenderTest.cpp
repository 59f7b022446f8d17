// Renderers: loading and cutting pictures from the cache, backgrounds in both looks, buttons,
// text, tints.
#include "Render.h"

#include <gtest/gtest.h>

#include "Codecs.h"
#include "Dpi.h"
#include "Font.h"
#include "Pictures.h"
#include "SkinParser.h"

namespace tandel {
namespace {

int gDpi = 96;
int testDpi() {
    return gDpi;
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override { cache().releaseCache(); }
    void TearDown() override {
        cache().releaseCache();
        cache().imageScale = 1.0;
        gDpi = 96;
        SetScreenDpiSource(nullptr);
        CDPI::Instance().Refresh();
    }
    static ResourceCache& cache() { return ResourceCache::Instance(); }

    // Puts a picture into slot of the cache.
    static void store(int slot, const std::vector<std::uint8_t>& png) {
        ASSERT_TRUE(cache().storePicture(slot, png.data(), png.size()));
    }
    // A picture whose border band of width 1 is red and whose inside is green.
    static std::vector<std::uint8_t> framed(int w, int h) {
        std::vector<std::uint32_t> px(std::size_t(w * h));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                px[std::size_t(y * w + x)] = border ? 0xFF0000FF : 0x00FF00FF;  // RGBA
            }
        }
        return testing::pngBytes(w, h, px);
    }
};

TEST_F(RenderTest, BackgroundBandsWiderThanThePictureAreDropped) {
    store(9, framed(20, 40));
    ZODImageStretchRender render(&cache());
    StretchSpec stretch{0, 5, 5, 15, 10};
    ASSERT_EQ(render.LoadImage(9, nullptr, &stretch), 1);
    RUZizod* topLeft = render.picture()->GetSubImage(0);
    RUZizod* centre = render.picture()->GetSubImage(8);
    ASSERT_NE(centre, nullptr);
    EXPECT_FALSE(topLeft->IsValid());  // left band 0: the corner is empty
    EXPECT_EQ(centre->GetWidth(), 20);
    EXPECT_EQ(centre->GetHeight(), 30);
    EXPECT_EQ(render.LoadImage(9, nullptr, nullptr), 0);  // a background needs its bands

    // The built-in look keeps the bands as given.
    ZODSystemImageStretchRender system(&cache());
    ASSERT_EQ(system.LoadImage(9, nullptr, &stretch), 1);
    EXPECT_EQ(system.picture()->GetSubImage(0)->GetWidth(), 15);
}

TEST_F(RenderTest, SkinAndSystemLooksOfTheSameBackground) {
    store(9, framed(10, 10));
    StretchSpec stretch{0, 1, 1, 1, 1};
    ZODImageStretchRender skin(&cache());
    ZODSystemImageStretchRender system(&cache());
    ASSERT_EQ(skin.LoadImage(9, nullptr, &stretch), 1);
    ASSERT_EQ(system.LoadImage(9, nullptr, &stretch), 1);
    Canvas a = *Canvas::create(30, 20), b = *Canvas::create(30, 20);
    const Rect rect{0, 0, 30, 20};
    ASSERT_EQ(skin.DrawStretched(&a, &rect, &stretch), 1);
    ASSERT_EQ(system.DrawStretched(&b, &rect, &stretch), 1);
    EXPECT_EQ(a.pixels().argb(15, 10), 0xFF00FF00u);
    EXPECT_EQ(b.pixels().argb(15, 10), 0xFFFFFFFFu);
    EXPECT_EQ(b.pixels().argb(0, 0), 0xFFFF0000u);
    EXPECT_EQ(skin.DrawStretched(&a, &rect, nullptr), 0);
}

TEST_F(RenderTest, ButtonStripsSplitByFrameWidth) {
    std::vector<std::uint32_t> px(96 * 10);
    for (int x = 0; x < 96; ++x) {
        for (int y = 0; y < 10; ++y) {
            px[std::size_t(y * 96 + x)] = std::uint32_t(x / 24 * 60) << 8 | 0xFF;  // blue, RGBA
        }
    }
    store(16, testing::pngBytes(96, 10, px));
    const Rect rect{0, 0, 24, 10};
    struct Case {
        int frameWidth;
        int subImages;
    };
    const Case cases[] = {{24, 4}, {96, 0}, {48, 2}};
    for (const Case& c : cases) {
        ZODButtonRender render(&cache());
        ASSERT_EQ(render.LoadImage(16, &c.frameWidth, nullptr), 1);
        EXPECT_EQ(render.picture()->SubImageCount(), c.subImages) << c.frameWidth;
        Canvas canvas = *Canvas::create(24, 10);
        EXPECT_EQ(render.DrawImage(&canvas, &rect, 2) != 0, c.subImages > 2);
    }
    ZODButtonRender render(&cache());
    int zero = 0;
    EXPECT_EQ(render.LoadImage(16, &zero, nullptr), 0);
    EXPECT_EQ(render.LoadImage(16, nullptr, nullptr), 0);
    Canvas canvas = *Canvas::create(24, 10);
    ZODButtonRender frame3(&cache());
    frame3.LoadImage(16, &cases[0].frameWidth, nullptr);
    frame3.DrawImage(&canvas, &rect, 3);
    EXPECT_EQ(canvas.pixels().argb(5, 5), 0xFF0000B4u);  // the fourth frame
}

TEST_F(RenderTest, ResampledBackgroundsScaleTheirBands) {
    gDpi = 144;
    SetScreenDpiSource(&testDpi);
    CDPI::Instance().Refresh();
    cache().imageScale = CDPI::Instance().scale;
    store(9, framed(40, 40));
    ZODImageStretchRender render(&cache());
    StretchSpec stretch{0, 10, 10, 10, 10};
    ASSERT_EQ(render.LoadImage(9, nullptr, &stretch), 1);
    EXPECT_EQ(render.picture()->GetWidth(), 60);
    EXPECT_EQ(render.picture()->GetSubImage(0)->GetWidth(), 15);
    EXPECT_EQ(render.GetImageRect(), (Rect{0, 0, 40, 40}));  // as loaded
}

TEST_F(RenderTest, TintsBuiltInPictures) {
    store(62, testing::pngBytes(66, 22, 0x808080FF));
    store(63, testing::pngBytes(66, 22, 0x808080FF));
    store(20, testing::pngBytes(11, 11, 0x808080FF));
    const int frame = 22;
    cache().colours[7] = 0xFF0000FF;  // theme: red
    ZODButtonRender tinted(&cache());
    ASSERT_EQ(tinted.LoadImage(62, &frame, nullptr), 1);
    EXPECT_EQ(tinted.picture()->Image().pixels().argb(1, 1), 0xFFFF0000u);
    cache().colours[7] = 0;
    ZODButtonRender plain(&cache());
    ASSERT_EQ(plain.LoadImage(63, &frame, nullptr), 1);
    EXPECT_EQ(plain.picture()->Image().pixels().argb(1, 1), 0xFF808080u);
    // Cloud pictures without a theme take the candidate colour.
    cache().colours[2] = 0xFF00FF00;
    ZODImageRender cloud(&cache());
    ASSERT_EQ(cloud.LoadImage(20, nullptr, nullptr), 1);
    EXPECT_EQ(cloud.picture()->Image().pixels().argb(1, 1), 0xFF00FF00u);
    EXPECT_EQ(cloud.LoadImage(21, nullptr, nullptr), 0);  // nothing cached: the old one stays
    EXPECT_NE(cloud.picture(), nullptr);
    const std::uint8_t junk[] = {1, 2, 3};
    cache().storePicture(21, junk, sizeof junk);
    EXPECT_EQ(cloud.LoadImage(21, nullptr, nullptr), 0);  // undecodable: no picture left
    EXPECT_EQ(cloud.picture(), nullptr);
    EXPECT_EQ(cloud.LoadImage(102, nullptr, nullptr), 0);
    ZODImageRender noCache(nullptr);
    EXPECT_EQ(noCache.LoadImage(20, nullptr, nullptr), 0);
}

TEST_F(RenderTest, TextNeedsItsFontAndKeepsValidIndices) {
    ZODTextRender text(&cache());
    ASSERT_EQ(text.SetFontIndex(3), 1);
    EXPECT_EQ(text.SetFontIndex(6), 0);
    Size size{};
    EXPECT_EQ(text.MeasureText(nullptr, u"字", 1, &size), 0);  // font 3 not made yet
    cache().setFont(3, Font(LogicalFont{u"宋体", -16, 400, false}));
    ASSERT_EQ(text.MeasureText(nullptr, u"字", 1, &size), 1);  // font 3 kept
    EXPECT_GT(size.cx, 0);
    cache().colours[2] = 0xFF1C7AE4;
    text.SetColorIndex(2);
    Canvas canvas = *Canvas::create(40, 24);
    const Rect rect{0, 0, 40, 24};
    EXPECT_EQ(text.DrawText(&canvas, &rect, u"字", 1, 0), 1);
    EXPECT_EQ(text.DrawText(&canvas, &rect, u"字", 0, 0), 0);
    ZODTipRender tip(&cache());
    EXPECT_EQ(tip.MeasureText(nullptr, u"字", 1, &size), 0);  // tips do not measure
    EXPECT_EQ(text.SetColorIndex(-1), 0);
}

TEST_F(RenderTest, ArrowsFillsAndFrames) {
    cache().colours[6] = 0xFF0000FF;
    ZODButtonRender arrow(&cache());
    arrow.SetColorIndex(6);
    Canvas canvas = *Canvas::create(8, 12);
    const Rect rect{0, 0, 8, 12};
    const Point points[3] = {{1, 1}, {7, 6}, {1, 11}};
    ASSERT_EQ(arrow.DrawArrow(&canvas, &rect, points, 0), 1);
    EXPECT_EQ(canvas.pixels().argb(2, 6), 0xFFFF0000u);
    Canvas faded = *Canvas::create(8, 12);
    arrow.DrawArrow(&faded, &rect, points, 3);  // disabled: alpha 0x55
    EXPECT_EQ(faded.pixels().argb(2, 6) >> 24, 0x54u);

    ZODTextSingleRender single(&cache());
    single.SetOwnColour(0xFF00FF00);
    Canvas filled = *Canvas::create(4, 4);
    const Rect all{0, 0, 4, 4};
    single.FillColor(&filled, &all);
    EXPECT_EQ(filled.pixels().argb(1, 1), 0xFF00FF00u);

    EXPECT_EQ(CreateRender(&cache(), 1, 16), nullptr);
    EXPECT_EQ(CreateRender(&cache(), 1, 21), nullptr);
    EXPECT_NE(dynamic_cast<ZODSystemImageStretchRender*>(CreateRender(&cache(), 0, 3).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<ZODSystemTextRender*>(CreateRender(&cache(), 0, 10).get()), nullptr);
    EXPECT_NE(dynamic_cast<ZODImageStretchRender*>(CreateRender(&cache(), 0, 5).get()), nullptr);
}

}  // namespace
}  // namespace tandel
