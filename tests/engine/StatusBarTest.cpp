// The status bar: its size fixed at creation, and item pictures following the input state.
#include <gtest/gtest.h>

#include "ButtonControl.h"
#include "SkinDocument.h"
#include "SkinParser.h"
#include "StatusControl.h"

namespace tandel {
namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override { ResourceCache::Instance().releaseCache(); }
    void TearDown() override { ResourceCache::Instance().releaseCache(); }

    // The status bar of a document's payload.
    std::unique_ptr<ZODStateControl> build(SkinDocument& doc) {
        doc.layOut();
        ParseContext context;
        EXPECT_TRUE(loadPayload(context, doc.payload(), doc.header.entryCount, 1));
        auto bar = std::make_unique<ZODStateControl>(5, 38);
        EXPECT_EQ(bar->Create(findSection(context, kStatusId), &context), 1);
        return bar;
    }
    static int picture(const ZODStateControl& bar, int id) {
        return static_cast<const ZODMutilButtonControl*>(bar.child(id))->currentPicture();
    }
};

TEST_F(StatusBarTest, SizeOfFixedAndTiledBars) {
    SkinDocument doc;
    auto fixed = build(doc);
    EXPECT_EQ(fixed->GetRect(0), (Rect{0, 0, 128, 27}));
    doc.status.header.stretch.mode = 1;  // tiled: 35 + 4 x 89 + 4 for the four shown items
    auto tiled = build(doc);
    EXPECT_EQ(tiled->GetRect(0), (Rect{0, 0, 395, 27}));
    StatusContext context;
    tiled->Layout(&context);
    EXPECT_EQ(context.width, 395);
    EXPECT_EQ(context.height, 27);
}

TEST_F(StatusBarTest, ItemPicturesFollowTheInputState) {
    SkinDocument doc;
    for (int id : {42, 46, 47}) {
        doc.setStatusItemShown(id, true);
    }
    auto bar = build(doc);
    StatusContext context;  // the editor's start values
    ASSERT_EQ(bar->Layout(&context), 1);
    EXPECT_EQ(picture(*bar, 38), 0);  // Chinese
    EXPECT_EQ(picture(*bar, 39), 0);  // half width
    EXPECT_EQ(picture(*bar, 40), 0);  // Chinese punctuation
    EXPECT_EQ(picture(*bar, 47), 0);  // simplified
    EXPECT_EQ(picture(*bar, 46), 0);  // full pinyin
    EXPECT_EQ(picture(*bar, 42), 0);  // not logged in

    const Rect before = bar->GetRect(0);
    context.options[0] = 0;  // English...
    context.options[1] = 1;
    context.options[6] = 1;
    bar->Layout(&context);
    EXPECT_EQ(picture(*bar, 38), 1);
    EXPECT_EQ(picture(*bar, 39), 1);
    EXPECT_EQ(picture(*bar, 42), 1);
    context.options[3] = 1;  // ...but caps lock wins
    bar->Layout(&context);
    EXPECT_EQ(picture(*bar, 38), 2);
    EXPECT_EQ(bar->GetRect(0), before);
}

TEST_F(StatusBarTest, ItemsAndMouse) {
    SkinDocument doc;
    doc.setStatusItemShown(41, true);
    doc.setStatusItemShown(39, false);  // items 39 and 40 would cover the soft keyboard
    doc.setStatusItemShown(40, false);
    auto bar = build(doc);
    StatusContext context;
    context.options[8] = 1;  // the soft keyboard is open
    bar->Layout(&context);
    EXPECT_EQ(bar->child(41)->GetState(), kStatePressed);
    EXPECT_EQ(bar->child(38)->GetRect(0), (Rect{32, 2, 54, 24}));

    MouseResult r{};
    EXPECT_EQ(bar->OnMouse(kMouseMove, 40, 10, 0, &r), 1);
    EXPECT_EQ(r.command, 21);
    EXPECT_EQ(bar->child(38)->GetState(), kStateHover);
    r = {};
    bar->OnMouse(kMouseMove, 75, 10, 0, &r);  // onto the soft keyboard
    EXPECT_EQ(bar->child(38)->GetState(), kStateNormal);
    EXPECT_EQ(r.command, 24);
    r = {};
    bar->OnMouse(kMouseMove, 5, 10, 0, &r);  // the empty left of the bar
    EXPECT_EQ(r.command, 1);
    EXPECT_EQ(bar->child(41)->GetState(), kStatePressed);  // the open keyboard stays pressed
    r = {};
    EXPECT_EQ(bar->OnMouse(kMouseMove, 500, 10, 0, &r), 0);
    EXPECT_EQ(r.hit, 1);
    Canvas canvas = *Canvas::create(128, 27);
    EXPECT_EQ(bar->Draw(&canvas, nullptr), 1);
    EXPECT_NE(canvas.pixels().argb(64, 13), 0u);  // the background was drawn
}

TEST_F(StatusBarTest, AnInputWindowsContextIsNotReadAsTheStatusBars) {
    SkinDocument doc;
    auto bar = build(doc);
    LayoutContext window;
    window.options[0] = 0;  // would read as English mode
    EXPECT_EQ(bar->Layout(&window), 0);
    EXPECT_EQ(picture(*bar, 38), 0);
    EXPECT_EQ(bar->Layout(nullptr), 0);
}

}  // namespace
}  // namespace tandel
