// The preview as the editor and tdskn show it: where each engine object lands on the
// composition surface, over which background, for which tab and scene.
#include "PreviewRenderer.h"

#include <gtest/gtest.h>

#include "Scenarios.h"

namespace tandel {
namespace {

class PreviewRendererTest : public ::testing::Test {
protected:
    void SetUp() override { renderer_.Load(doc_); }
    void TearDown() override { ResourceCache::Instance().releaseCache(); }

    std::uint32_t at(int x, int y) { return renderer_.Composition().pixels().argb(x, y); }
    // Whether the rectangle holds anything but the background colour.
    bool painted(const Rect& r, std::uint32_t background) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (at(x, y) != background) {
                    return true;
                }
            }
        }
        return false;
    }

    SkinDocument doc_;
    PreviewRenderer renderer_{1024, 2048};
};

TEST_F(PreviewRendererTest, InformationTabStacksTheStatusBarAndTheFourWindows) {
    PreviewState state;
    state.background = 3;  // red
    const Size content = renderer_.Render(state, 800, 600);
    const std::uint32_t red = kPreviewBackgrounds[3];
    const StatusContext& status = renderer_.StatusBarContext();
    EXPECT_EQ(at(0, 0), red);
    EXPECT_TRUE(painted({80, 20, 80 + status.width, 20 + status.height}, red));
    EXPECT_FALSE(painted({0, 0, 80, 20 + status.height}, red));  // nothing left of x = 80
    int y = status.height + 40;
    int widest = status.width;
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        const LayoutContext& window = renderer_.WindowContext(kind);
        ASSERT_GT(window.width, 0);
        EXPECT_TRUE(painted({80, y, 80 + window.width, y + window.height}, red));
        EXPECT_FALSE(painted({80, y - 20, 80 + window.width, y}, red));  // the gap above
        y += window.height + 20;
        widest = std::max(widest, window.width);
    }
    EXPECT_EQ(content, (Size{widest, y}));
    EXPECT_EQ(renderer_.WindowContext(0).scheme, &INPUT_INFO());
}

TEST_F(PreviewRendererTest, CheckScenesPickTheirScenarioAndTheStatusScene) {
    PreviewState state;
    state.tab = kTabCheck;
    const std::pair<int, ISchemeInfo*> scenes[] = {
        {0, &INPUT_INFO()},  {2, &INPUT_INFO_LONG()}, {3, &INPUT_INFO3()},
        {4, &INPUT_INFO9()}, {5, &INPUT_INFO0()},     {6, &INPUT_INFO0()}};  // step 7 keeps 5
    for (auto [scene, scenario] : scenes) {
        state.scene = scene;
        renderer_.RebuildSkins(doc_, false, state);
        EXPECT_EQ(renderer_.WindowContext(2).scheme, scenario) << scene;
    }
    state.scene = 4;
    renderer_.RebuildSkins(doc_, false, state);
    const Size content = renderer_.Render(state, 800, 600);
    int height = 0;
    for (int kind = 0; kind < 4; ++kind) {
        height += 20 + renderer_.WindowContext(kind).height;
    }
    EXPECT_EQ(content.cy, height);
    EXPECT_TRUE(painted({80, 20, 90, 30}, kPreviewBackgrounds[0]));

    // The status scene: whatever the drawer paints, blended to (80, 20).
    state.scene = 1;
    bool drawn = false;
    const Size scenes1 = renderer_.Render(state, 300, 200, [&](Canvas& layer) {
        drawn = true;
        layer.fill({0, 0, 10, 10}, 0xFF0000FF);
        return Size{10, 10};
    });
    EXPECT_TRUE(drawn);
    EXPECT_EQ(scenes1, (Size{10, 10}));
    EXPECT_EQ(at(85, 25), 0xFF0000FFu);
    EXPECT_EQ(at(95, 25), kPreviewBackgrounds[0]);
}

TEST_F(PreviewRendererTest, WindowTabsShowOneWindowAndRememberItsRects) {
    PreviewState state;
    state.tab = kTabHorizontal;
    state.horizontalSplit = true;
    renderer_.RebuildSkins(doc_, false, state);
    EXPECT_EQ(renderer_.Render(state, 600, 400), (Size{0, 0}));
    const Rect window = renderer_.WindowRect();
    const Rect inner = renderer_.InnerRect();
    EXPECT_FALSE(window.isEmpty());
    EXPECT_FALSE(inner.isEmpty());
    EXPECT_NE(window, inner);  // the split window's candidate pane and composition pane
    EXPECT_TRUE(painted({80 + inner.left, 100 + inner.top, 80 + inner.right, 100 + inner.bottom},
                        kPreviewBackgrounds[0]));
    EXPECT_FALSE(painted({0, 0, 600, 100}, kPreviewBackgrounds[0]));
}

TEST_F(PreviewRendererTest, SurfacesGrowForLargerContent) {
    EXPECT_FALSE(renderer_.GrowFor({900, 2000}));
    EXPECT_TRUE(renderer_.GrowFor({1000, 2100}));
    EXPECT_EQ(renderer_.Composition().width(), 1080);
    EXPECT_EQ(renderer_.Composition().height(), 2300);
}

}  // namespace
}  // namespace tandel
