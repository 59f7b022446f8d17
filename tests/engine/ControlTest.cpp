// The control model: placement and overflow, containment, mouse states, redraw merging,
// animation steps, and children made from an element directory.
#include "Control.h"

#include <gtest/gtest.h>

#include "ButtonControl.h"
#include "Corpus.h"
#include "ElementRecords.h"
#include "FileBytes.h"
#include "ImageControl.h"
#include "SkinParser.h"
#include "Tick.h"

namespace tandel {
namespace {

template <typename Record>
std::span<const std::uint8_t> bytesOf(const Record& record) {
    return {reinterpret_cast<const std::uint8_t*>(&record), sizeof record};
}

std::unique_ptr<ZODImageControl> image(std::int32_t alignment, std::int16_t x, std::int16_t y,
                                       std::uint16_t w, std::uint16_t h) {
    auto control = std::make_unique<ZODImageControl>(kImageType, 6);
    ImageElement element{alignment, x, y, w, h, -1};
    EXPECT_EQ(control->Create(bytesOf(element), nullptr), 1);
    return control;
}

TEST(Placement, AlignmentPicksTheReferencePoint) {
    struct Case {
        int alignment;
        Rect expected;  // in a 100 x 50 window, x = 10, y = 5, 20 x 8
    };
    const Case cases[] = {
        {0, {10, 5, 30, 13}},  {1, {60, 5, 80, 13}},  {2, {90, 5, 110, 13}},
        {3, {10, 30, 30, 38}}, {4, {60, 30, 80, 38}}, {5, {90, 30, 110, 38}},
        {6, {10, 45, 30, 53}}, {7, {60, 45, 80, 53}}, {8, {90, 45, 110, 53}},
    };
    for (const Case& c : cases) {
        ContextHead context{100, 50};
        auto control = image(c.alignment, 10, 5, 20, 8);
        EXPECT_EQ(control->Layout(&context), 1);
        EXPECT_EQ(control->GetRect(0), c.expected) << c.alignment;
    }
    ContextHead context{100, 50};
    auto unknown = image(9, 10, 5, 20, 8);
    EXPECT_EQ(unknown->Layout(&context), 0);
    EXPECT_EQ(unknown->GetRect(0), Rect{});
    EXPECT_EQ(unknown->Layout(nullptr), 0);
}

TEST(Placement, OverflowReportsHowFarPicturesStickOut) {
    ContextHead context{100, 50};
    auto corner = image(8, 10, 10, 20, 20);
    corner->Layout(&context);
    EXPECT_EQ(corner->GetRect(0), (Rect{90, 40, 110, 60}));
    EXPECT_EQ(context.overflowRight, 10);
    EXPECT_EQ(context.overflowBottom, 10);
    auto left = image(0, -5, 0, 4, 4);
    left->Layout(&context);
    EXPECT_EQ(context.overflowLeft, 5);
    auto smaller = image(8, 5, 5, 10, 10);  // sticks out less: the overflow stays
    smaller->Layout(&context);
    EXPECT_EQ(context.overflowRight, 10);
}

TEST(Containment, ControlsPaintOnlyInsideTheClip) {
    ResourceCache::Instance().releaseCache();
    ResourceCache::Instance().colours[1] = 0xFF0000FF;
    ParseContext parse;
    parse.cache = &ResourceCache::Instance();
    parse.customSkin = 1;
    ZODImageControl cursor(kImageType, kCursorId);
    ASSERT_EQ(cursor.CreateCursor(&parse), 1);
    cursor.SetRect({2, 2, 4, 8});
    Canvas canvas = *Canvas::create(10, 10);
    const Rect half{0, 0, 10, 5};
    EXPECT_EQ(cursor.Draw(&canvas, &half), 0);
    EXPECT_EQ(canvas.pixels().argb(3, 3), 0u);
    EXPECT_EQ(cursor.Draw(&canvas, nullptr), 1);
    EXPECT_EQ(canvas.pixels().argb(3, 3), 0xFFFF0000u);
    ResourceCache::Instance().releaseCache();
}

TEST(Mouse, MergingRedrawRequests) {
    MouseResult r{};
    Rect a{0, 0, 2, 2}, b{5, 5, 6, 6};
    MergeRedraw(r, 1, &a);
    EXPECT_EQ(r.redraw, 1);
    MergeRedraw(r, 1, &b);
    EXPECT_EQ(r.rectangle, (Rect{0, 0, 6, 6}));
    MergeRedraw(r, 0, &a);
    EXPECT_EQ(r.redraw, 0);
    EXPECT_EQ(r.rectangle, a);
    MergeRedraw(r, 2, nullptr);
    MergeRedraw(r, 1, &b);
    EXPECT_EQ(r.redraw, 2);
    EXPECT_EQ(r.rectangle, a);
}

TEST(Mouse, ButtonStates) {
    ZODButtonControl button(kPageButtonType, 0);
    ButtonElement element = makeButtonElement(0, 0, 0, 10, 10, kNoPicture);
    ASSERT_EQ(button.Create(bytesOf(element), nullptr), 1);
    MouseResult r{};
    EXPECT_EQ(button.OnMouse(kMouseMove, 20, 20, 0, &r), 0);
    EXPECT_EQ(button.OnMouse(kMouseMove, 5, 5, 0, &r), 1);
    EXPECT_EQ(r.hit, 2);
    EXPECT_EQ(button.GetState(), kStateHover);
    EXPECT_EQ(r.redraw, 1);
    button.OnMouse(kButtonDown, 5, 5, kLeftButtonHeld, &r);
    EXPECT_EQ(button.GetState(), kStatePressed);
    button.OnMouse(kMouseMove, 6, 6, 0, &r);  // stays pressed while moving
    EXPECT_EQ(button.GetState(), kStatePressed);
    button.OnMouse(kButtonUp, 6, 6, 0, &r);
    EXPECT_EQ(button.GetState(), kStateHover);
    button.SetState(kStateDisabled);
    r = {};
    EXPECT_EQ(button.OnMouse(kButtonDown, 5, 5, 0, &r), 1);
    EXPECT_EQ(r.hit, 1);
    EXPECT_EQ(button.GetState(), kStateDisabled);
    button.SetState(kStateHidden);
    EXPECT_EQ(button.OnMouse(kButtonDown, 5, 5, 0, &r), 0);
    Canvas canvas = *Canvas::create(10, 10);
    EXPECT_EQ(button.Draw(&canvas, nullptr), 0);
}

TEST(Mouse, StateItemsSwitchPicturesAndTakeClicks) {
    ZODMutilButtonControl item(kStateButtonType, 38);
    StateButtonElement element = makeStateButtonElement(0, 0, 0, 22, 22, {62, 63});
    ASSERT_EQ(item.Create(bytesOf(element), nullptr), 1);
    item.SetState(6);  // the second picture: the state is unchanged
    EXPECT_EQ(item.GetState(), kStateNormal);
    MouseResult r{};
    EXPECT_EQ(item.OnMouse(kButtonUp, 5, 5, 0, &r), 1);
    EXPECT_EQ(r.redraw, 2);
    EXPECT_EQ(item.GetState(), kStateHover);
    item.SetState(7);  // a third picture the item does not have: draws nothing
    Canvas canvas = *Canvas::create(30, 30);
    EXPECT_EQ(item.Draw(&canvas, nullptr), 0);
}

std::uint32_t gNow = 0;
std::uint32_t fakeTick() {
    return gNow;
}

TEST(Animation, TimerStepsFollowTheFrameDelay) {
    std::optional<std::vector<std::uint8_t>> gif = readFileBytes(
        testing::corpusFolder() / "gif/peterdn-gif-test-suite/gifs/animated_loop.gif");
    ASSERT_TRUE(gif);
    ResourceCache& cache = ResourceCache::Instance();
    cache.releaseCache();
    cache.storePicture(30, gif->data(), gif->size());
    ParseContext parse;
    parse.cache = &cache;
    parse.customSkin = 1;
    parse.data = gif->data();  // any non-null data: slot 30 is already cached
    ZODImageControl picture(kImageType, 6);
    ImageElement element{0, 0, 0, 10, 10, 30};
    ASSERT_EQ(picture.Create(bytesOf(element), &parse), 1);

    SetTickSource(&fakeTick);
    gNow = 5000;
    MouseResult r{};
    EXPECT_EQ(picture.OnTimer(&r), 0);  // the first step only starts the clock
    gNow += 999;
    EXPECT_EQ(picture.OnTimer(&r), 0);  // within the 1000 ms delay
    gNow += 1;
    EXPECT_EQ(picture.OnTimer(&r), 1);
    EXPECT_EQ(r.rectangle, (Rect{0, 0, 10, 10}));
    picture.ResetAnimation();
    gNow += 5000;
    EXPECT_EQ(picture.OnTimer(nullptr), 0);  // restarted
    SetTickSource(nullptr);
    cache.releaseCache();
}

TEST(Children, MadeFromTheDirectoryBySlot) {
    // Three entries: an image, a type without a class (16), and an image whose record lies
    // outside the section.
    std::vector<std::uint8_t> section(4);  // a header of four bytes
    DirEntry entries[] = {{6, kImageType, 0, 16}, {7, 16, 0, 16}, {8, kImageType, 100, 16}};
    const auto* raw = reinterpret_cast<const std::uint8_t*>(entries);
    section.insert(section.end(), raw, raw + sizeof entries);
    ImageElement element{0, 1, 2, 3, 4, -1};
    const auto* record = reinterpret_cast<const std::uint8_t*>(&element);
    section.insert(section.end(), record, record + sizeof element);

    ElementDirectory directory(section, 4, 3);
    ASSERT_EQ(directory.count(), 3);
    std::unique_ptr<IControl> slots[11];
    createChildren(directory, 0, 3, nullptr,
                   [&](int id) { return id >= 0 && id < 11 ? &slots[id] : nullptr; });
    ASSERT_NE(slots[6], nullptr);
    EXPECT_EQ(slots[6]->GetRect(0), (Rect{0, 0, 3, 4}));
    EXPECT_EQ(slots[7], nullptr);
    ASSERT_NE(slots[8], nullptr);  // kept, but it read nothing
    EXPECT_EQ(slots[8]->GetRect(0), Rect{});
    // A count larger than the section holds is cut to what is there.
    EXPECT_EQ(ElementDirectory(section, 4, 100).count(), 4);

    for (int type : {16, 17, 20, 255}) {
        EXPECT_EQ(CreateControl(type, 0), nullptr) << type;
    }
}

}  // namespace
}  // namespace tandel
