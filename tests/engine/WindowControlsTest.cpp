// The input windows as the engine builds them from the editor's payload: how they take the size
// of their text, where the split window puts its candidate pane, and what sticks out of them.
#include <gtest/gtest.h>

#include "BuiltInPictures.h"
#include "CandidateControls.h"
#include "CompositionControls.h"
#include "InputSkin.h"
#include "Pictures.h"
#include "Scenarios.h"
#include "SkinDocument.h"
#include "TestFiles.h"
#include "WindowControls.h"

namespace tandel {
namespace {

// The window kinds of LoadSkin.
constexpr int kHorizontal = 0;
constexpr int kHorizontalSplit = 2;
constexpr int kCandidatesOnly = 4;

// INPUT_INFO with the candidate pane of split windows hidden.
class HiddenCandidatesScenario : public CannedScenario {
public:
    HiddenCandidatesScenario() : CannedScenario(u"ni", kCandidates, 1, 0) {}
    int IsCandPartVisible() const override { return 0; }

private:
    static constexpr std::u16string_view kCandidates[] = {u"你"};
};

class WindowControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ResourceCache::Instance().module = &builtInPicture; }
    void TearDown() override {
        ResourceCache::Instance().releaseCache();
        ResourceCache::Instance().module = nullptr;
    }

    // Loads a window kind of the document and lays it out for the scenario.
    void load(int kind, ISchemeInfo& scheme = INPUT_INFO()) {
        doc_.layOut();
        ASSERT_EQ(skin_.LoadSkin(kind, doc_.payload(), doc_.header.entryCount, 1), 1);
        context_.canvas = &canvas_;
        context_.scheme = &scheme;
        ASSERT_EQ(skin_.Layout(kRootWindow, &context_), 1);
    }
    void importPicture(int slot, int width, int height) {
        const std::filesystem::path file = folder_ / ("p" + std::to_string(slot) + ".png");
        testing::writeFile(file, testing::pngBytes(width, height));
        doc_.importPicture(slot, file);
        ASSERT_FALSE(doc_.pictures[std::size_t(slot)].empty());
    }
    IControl& window() const { return *skin_.root(kRootWindow); }
    ZODCandNormalControl& combined() const { return dynamic_cast<ZODCandNormalControl&>(window()); }
    // The split window's candidate pane.
    ZODCandPartCandControl& candidatePane() const {
        ZODCandPartCandControl* pane = nullptr;
        dynamic_cast<ZODBaseControl&>(window()).forEachChild([&](const IControl& p) {
            if (auto* c = dynamic_cast<const ZODCandPartCandControl*>(&p)) {
                pane = const_cast<ZODCandPartCandControl*>(c);
            }
        });
        EXPECT_NE(pane, nullptr);
        return *pane;
    }
    Rect rect(int part) {
        Rect r;
        EXPECT_EQ(skin_.GetRect(part, &r), 1);
        return r;
    }
    // Places the candidate pane of a split window with a placement mode.
    void placeCandidates(int mode) {
        context_ = LayoutContext{};
        context_.options[1] = std::uint8_t(mode);
        context_.options[2] = 1;
    }

    testing::TemporaryFolder folder_;
    SkinDocument doc_;
    CInputSkinImpl skin_;
    Canvas canvas_ = *Canvas::create(600, 400, Canvas::Kind::Alpha);
    LayoutContext context_;
};

TEST_F(WindowControlsTest, CombinedWindowTakesTheWiderTextLineAndHasTheCompositionAbove) {
    importPicture(9, 20, 30);  // a background narrower than the text
    load(kHorizontal);
    const Rect comp = combined().child(3)->GetRect(0);
    const Rect list = combined().child(4)->GetRect(0);
    const Rect own = rect(kRootWindow);
    EXPECT_EQ(comp.left, 0);
    EXPECT_EQ(comp.top, 0);
    EXPECT_EQ(list.top, comp.bottom);  // the list starts below the composition's margins
    EXPECT_EQ(own, (Rect{0, 0, std::max(comp.width(), list.width()), list.bottom}));
    EXPECT_GT(list.width(), comp.width());  // five horizontal candidates are the wider line
    EXPECT_EQ(context_.width, own.width());
    EXPECT_EQ(context_.height, own.height());

    // The page buttons follow the scenario and tell the host where they are.
    const IControl& next = *combined().child(0);
    const IControl& previous = *combined().child(1);
    EXPECT_EQ(previous.GetState(), kStateDisabled);
    EXPECT_EQ(next.GetState(), kStateNormal);
    EXPECT_EQ((Point{context_.prevPageLeft, context_.prevPageTop}),
              (Point{previous.GetRect(0).left, previous.GetRect(0).top}));
    EXPECT_EQ((Point{context_.nextPageLeft, context_.nextPageTop}),
              (Point{next.GetRect(0).left, next.GetRect(0).top}));
    Point caret;
    ASSERT_EQ(skin_.GetCaretOffset(&caret), 1);
    EXPECT_EQ(caret, (Point{0, 5}));

    // The disabled previous-page button is drawn from the disabled frame of its strip: drawing
    // it in another state changes its pixels.
    skin_.Draw(kRootWindow, &canvas_, nullptr);
    const Rect b = previous.GetRect(0);
    std::vector<std::uint32_t> disabled;
    for (int y = b.top; y < b.bottom; ++y) {
        for (int x = b.left; x < b.right; ++x) {
            disabled.push_back(canvas_.pixels().argb(x, y));
        }
    }
    combined().child(1)->SetState(kStateNormal);
    canvas_.clear();
    skin_.Draw(kRootWindow, &canvas_, nullptr);
    std::vector<std::uint32_t> normal;
    for (int y = b.top; y < b.bottom; ++y) {
        for (int x = b.left; x < b.right; ++x) {
            normal.push_back(canvas_.pixels().argb(x, y));
        }
    }
    EXPECT_NE(disabled, normal);
}

TEST_F(WindowControlsTest, AWindowIsNeverNarrowerThanItsBackground) {
    importPicture(9, 500, 30);
    load(kHorizontal);
    EXPECT_EQ(rect(kRootWindow).width(), 500);
    EXPECT_EQ(context_.width, 500);
    // The buttons are placed against the widened window.
    EXPECT_EQ(combined().child(0)->GetRect(0).right, 500 - 17 + 6);
}

TEST_F(WindowControlsTest, SplitWindowPlacesTheCandidatePane) {
    constexpr int gap = 3;
    struct Case {
        int mode;
        bool useMode;
    };
    for (Case c : {Case{1, false}, Case{1, true}, Case{2, true}, Case{0, true}, Case{7, true}}) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << (c.useMode ? "" : " unused"));
        placeCandidates(c.mode);
        context_.options[2] = c.useMode ? 1 : 0;
        load(kHorizontalSplit);
        const Rect comp = rect(kRootInnerPart);
        const Rect cand = rect(kRootWindow);  // part 1: the candidate pane
        EXPECT_EQ(comp.left, 0);
        EXPECT_EQ(comp.top, 0);
        const int mode = c.useMode ? c.mode : 1;
        switch (mode) {
            case 0:
                // The candidates' text starts under the end of the converted composition.
                EXPECT_EQ(cand.left + context_.candTextX,
                          context_.compTextRect.left + context_.convertedEndX);
                EXPECT_EQ(cand.top, comp.bottom + gap);
                EXPECT_EQ(context_.width, std::max(comp.right, cand.right));
                EXPECT_EQ(context_.height, cand.bottom);
                break;
            case 1:
                EXPECT_EQ(cand.left, 0);
                EXPECT_EQ(cand.top, comp.bottom + gap);
                EXPECT_EQ(context_.height, cand.bottom);
                break;
            case 2:
                EXPECT_EQ(cand.left, comp.right + gap);
                EXPECT_EQ(cand.top, comp.top);
                EXPECT_EQ(context_.width, cand.right);
                EXPECT_EQ(context_.height, std::max(comp.bottom, cand.bottom));
                break;
            default:
                EXPECT_EQ(cand.left, 0);
                EXPECT_EQ(cand.top, comp.bottom);  // not moved
                break;
        }
        // The host's page-button fields move with the pane; the list rect is the unmoved one.
        if (mode <= 2) {
            EXPECT_EQ(context_.candListRect.top, comp.bottom);
            EXPECT_EQ(context_.candListRect.left, 0);
        }
        if (mode <= 2) {
            const IControl& next = *candidatePane().child(20);
            EXPECT_EQ((Point{context_.nextPageLeft, context_.nextPageTop}),
                      (Point{next.GetRect(0).left, next.GetRect(0).top}));
        }
        Rect own = window().GetRect(0);
        EXPECT_EQ(own, (Rect{0, 0, context_.width, context_.height}));
    }
}

TEST_F(WindowControlsTest, ConvertedTextFarLeftOfTheCandidatesMovesBothPanesRight) {
    doc_.splitH.candText.marginLeft = 80;  // candidates' text far right of the converted end
    placeCandidates(0);
    load(kHorizontalSplit);
    const Rect comp = rect(kRootInnerPart);
    const Rect cand = rect(kRootWindow);
    EXPECT_EQ(cand.left, 0);
    EXPECT_GT(comp.left, 0);
    EXPECT_EQ(cand.left + context_.candTextX, comp.left + context_.convertedEndX);
    EXPECT_EQ(context_.caretOffsetX, -comp.left);  // the host keeps the composition on the caret
    Point caret;
    ASSERT_EQ(skin_.GetCaretOffset(&caret), 1);
    EXPECT_EQ(caret.x, 0);  // the header's offset
    EXPECT_EQ(context_.width, std::max(comp.right, cand.right));
}

TEST_F(WindowControlsTest, HiddenCandidatePaneLeavesTheCompositionPaneAlone) {
    HiddenCandidatesScenario hidden;
    load(kHorizontalSplit, hidden);
    const Rect comp = rect(kRootInnerPart);
    EXPECT_EQ(window().GetRect(0), comp);
    EXPECT_EQ(context_.width, comp.width());
    EXPECT_EQ(context_.height, comp.height());
    ASSERT_EQ(skin_.Draw(kRootWindow, &canvas_, nullptr), 1);
    // Nothing below the composition pane.
    for (int y = comp.bottom; y < comp.bottom + 60; ++y) {
        for (int x = 0; x < 300; ++x) {
            ASSERT_EQ(canvas_.pixels().argb(x, y), 0u) << x << "," << y;
        }
    }
    Rect margins;
    ASSERT_EQ(skin_.GetOuterMargins(kRootWindow, &margins), 1);
    EXPECT_EQ(margins, (Rect{}));
}

TEST_F(WindowControlsTest, APictureAboveTheWindowMovesEverythingDown) {
    load(kHorizontal);
    const Rect before = rect(kRootWindow);
    const Rect compBefore = combined().child(3)->GetRect(0);
    const Rect nextBefore = combined().child(0)->GetRect(0);

    importPicture(26, 8, 8);
    doc_.comboH.customPictures[0] = {kTopLeft, 4, -10, 8, 8, 0};
    context_ = LayoutContext{};
    load(kHorizontal);
    EXPECT_EQ(context_.overflowTop, 10);
    EXPECT_EQ(context_.height, before.height() + 10);
    EXPECT_EQ(context_.width, before.width());
    EXPECT_EQ(combined().child(3)->GetRect(0), compBefore.offset(0, 10));
    EXPECT_EQ(combined().child(0)->GetRect(0), nextBefore.offset(0, 10));
    EXPECT_EQ(combined().child(6)->GetRect(0), (Rect{4, 0, 12, 8}));
}

TEST_F(WindowControlsTest, CandidateOnlyWindowPutsItsInnerEdgeOnTheCaret) {
    doc_.splitH.header.candOuterMargins = {0, 4, 8, 6, 6};  // top, bottom, left, right
    load(kCandidatesOnly);
    Point caret;
    ASSERT_EQ(skin_.GetCaretOffset(&caret), 1);
    Rect margins;
    ASSERT_EQ(skin_.GetOuterMargins(kRootWindow, &margins), 1);
    EXPECT_EQ(margins, (Rect{6, 4, 6, 8}));
    EXPECT_EQ(caret, (Point{-6, -4}));
    EXPECT_EQ(context_.caretOffsetX, -6);
    EXPECT_EQ(context_.caretOffsetY, -4);
    EXPECT_EQ(rect(kRootWindow), (Rect{0, 0, context_.width, context_.height}));
}

TEST_F(WindowControlsTest, WindowsWithoutAScenarioShrinkToTheirBackground) {
    importPicture(9, 120, 30);
    doc_.layOut();
    ASSERT_EQ(skin_.LoadSkin(kHorizontal, doc_.payload(), doc_.header.entryCount, 1), 1);
    context_.canvas = &canvas_;
    context_.scheme = nullptr;
    skin_.Layout(kRootWindow, &context_);
    const Rect own = rect(kRootWindow);
    EXPECT_EQ(own.width(), 120);
    EXPECT_EQ(own.height(), 0);
}

}  // namespace
}  // namespace tandel
