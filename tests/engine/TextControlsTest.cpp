#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "AlphaDrawing.h"
#include "CandidateControls.h"
#include "CompositionControls.h"
#include "Dpi.h"
#include "DrawText.h"
#include "ElementRecords.h"
#include "Pictures.h"
#include "Render.h"
#include "Scenarios.h"
#include "SkinDocument.h"
#include "SkinParser.h"
#include "TextFormat.h"

namespace tandel {
namespace {

constexpr std::uint32_t kCursorRgb = 0xFF0000FF;
constexpr std::uint32_t kFocusRgb = 0xFF2050E0;
constexpr std::uint32_t kCommentRgb = 0xFF909090;

struct TestCandidate {
    std::u16string text;
    std::uint32_t flags = 1;
};

// A typing situation each test shapes to its needs; unset values answer like the preview.
class TestScheme : public CannedScenario {
public:
    TestScheme() : CannedScenario(u"", {}, 0, 0) {}

    const char16_t* GetCompString(int) const override {
        return nullComposition ? nullptr : composition.c_str();
    }
    int GetCompLength(int) const override { return compLength.value_or(int(composition.size())); }
    int GetCompConverted(CompConvertedInfo* info, int) const override {
        info->bytes[5] = converted;
        return 1;
    }
    int GetCaretPos(int) const override { return caret.value_or(int(composition.size())); }
    int IsIndexVisible() const override { return indexVisible; }
    int GetHighlight() const override { return highlight; }
    int GetCandCount() const override { return count.value_or(int(candidates.size())); }
    const CandidateRecord* GetCand(std::uint16_t index) override {
        answer_ = {};
        if (index < candidates.size()) {
            const TestCandidate& c = candidates[index];
            // A text that fills the array is not terminated.
            const std::size_t n = std::min(c.text.size(), std::size(answer_.text));
            std::copy_n(c.text.begin(), n, answer_.text);
            answer_.length = std::uint16_t(n);
            answer_.flags = std::int32_t(c.flags);
        }
        if (recordLength) {
            answer_.length = std::uint16_t(*recordLength);
        }
        answer_.index = index;
        return &answer_;
    }
    int GetCloudState() const override { return cloudState; }
    int UseLetterIndex() const override { return letters; }
    const char16_t* GetCandComment() const override { return comment ? comment->c_str() : nullptr; }
    std::uint8_t GetModeFlags() const override { return mode; }

    std::u16string composition;
    bool nullComposition = false;
    std::optional<int> compLength;  // the composition's own length when unset
    std::optional<int> caret;       // at the end when unset
    std::uint8_t converted = 0;
    std::vector<TestCandidate> candidates;
    std::optional<int> count;         // every candidate when unset
    std::optional<int> recordLength;  // the text's own length when unset
    int highlight = 0;
    std::optional<std::u16string> comment;
    int cloudState = 4;
    bool letters = false;
    bool indexVisible = true;
    std::uint8_t mode = 0;

private:
    CandidateRecord answer_{};
};

ResourceCache& cache() {
    return ResourceCache::Instance();
}

const Font& font(int index) {
    return *cache().font(index);
}

Size measured(int fontIndex, std::u16string_view text) {
    return measureText(font(fontIndex), text);
}

int widthOf(int fontIndex, std::u16string_view text) {
    return measured(fontIndex, text).cx;
}

bool samePixels(const Canvas& a, const Canvas& b) {
    return a.pixels().byteSize() == b.pixels().byteSize() &&
           std::equal(a.pixels().data(), a.pixels().data() + a.pixels().byteSize(),
                      b.pixels().data());
}

bool sameArea(const Canvas& a, const Canvas& b, const Rect& area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.pixels().argb(x, y) != b.pixels().argb(x, y)) {
                return false;
            }
        }
    }
    return true;
}

bool blank(const Canvas& c, const Rect& area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (c.pixels().argb(x, y) != 0) {
                return false;
            }
        }
    }
    return true;
}

// Text as a skin's text renderer paints it, for the pictures the controls must match.
void paint(Canvas& c, std::u16string_view text, int fontIndex, int colour, const Rect& rect,
           unsigned format = kDtNoPrefix) {
    DrawTextAlpha(c, text, cache().colour(colour), rect, font(fontIndex), format);
}

// Character by character from rect.left, in font 4 from "(" to ")" with a g2 step either side.
void paintBracketed(Canvas& c, std::u16string_view text, int colour, const Rect& rect, int g2) {
    int x = rect.left;
    int f = kCandFont;
    for (char16_t ch : text) {
        if (ch == u'(') {
            f = kCandAuxFont;
            x += g2;
        }
        const int w = widthOf(f, std::u16string_view(&ch, 1));
        paint(c, std::u16string_view(&ch, 1), f, colour, {x, rect.top, x + w, rect.bottom});
        x += w;
        if (ch == u')') {
            f = kCandFont;
            x += g2;
        }
    }
}

// The width of text measured that way, without the step after the last character.
int bracketedWidth(std::u16string_view text, int g2) {
    int w = 0;
    int f = kCandFont;
    for (char16_t ch : text) {
        if (ch == u'(') {
            f = kCandAuxFont;
            w += g2;
        }
        w += widthOf(f, std::u16string_view(&ch, 1));
        if (ch == u')') {
            f = kCandFont;
            w += g2;
        }
    }
    return w;
}

std::u16string label(int position, bool letters = false) {
    return {char16_t((letters ? u'a' : u'1') + position), u'.'};
}

// A payload built by hand: sections and pictures by id.
class Payload {
public:
    void add(std::uint16_t id, std::uint16_t type, std::vector<std::uint8_t> bytes) {
        entries_.push_back({id, type, std::uint32_t(data_.size()), std::uint32_t(bytes.size())});
        data_.insert(data_.end(), bytes.begin(), bytes.end());
    }
    void addCloudPictures(const CloudPictures& pictures) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(&pictures);
        add(kCloudPicturesId, kSectionEntry, {p, p + sizeof pictures});
    }
    void addPicture(int slot, int width, int height, std::uint32_t rgba) {
        add(std::uint16_t(slot), kPictureEntry, tandel::testing::pngBytes(width, height, rgba));
    }
    // Directory then data, kept alive here for the parse context.
    bool load(ParseContext& context, int customSkin) {
        bytes_.clear();
        for (const DirEntry& e : entries_) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(&e);
            bytes_.insert(bytes_.end(), p, p + sizeof e);
        }
        bytes_.insert(bytes_.end(), data_.begin(), data_.end());
        return loadPayload(context, bytes_, std::uint16_t(entries_.size()), customSkin);
    }

private:
    std::vector<DirEntry> entries_;
    std::vector<std::uint8_t> data_;
    std::vector<std::uint8_t> bytes_;
};

std::span<const std::uint8_t> bytesOf(const TextElement& element) {
    return {reinterpret_cast<const std::uint8_t*>(&element), sizeof element};
}

class TextControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        cache().releaseCache();
        cache().settings = nullptr;
        doc_.layOut();
        ASSERT_TRUE(loadPayload(parse_, doc_.payload(), doc_.header.entryCount, 1));
        // The window sets these (cursor, focus and comment colours).
        cache().setColour(kCursorColour, kCursorRgb);
        cache().setColour(kFocusColour, kFocusRgb);
        cache().setColour(kCommentColour, kCommentRgb);
        canvas_ = *Canvas::create(700, 160);
        context_.canvas = &canvas_;
    }
    void TearDown() override {
        cache().releaseCache();
        cache().settings = nullptr;
    }

    // Element records of the new skin's horizontal combined window: 3 composition, 4 list.
    std::span<const std::uint8_t> record(int id) {
        std::span<const std::uint8_t> section = findSection(parse_, kComboHId);
        WindowHeader header;
        EXPECT_TRUE(readRecord(section, header));
        ElementDirectory directory(section, sizeof header, header.elementCount);
        for (int i = 0; i < directory.count(); ++i) {
            if (directory.entry(i).id == id) {
                return directory.record(directory.entry(i));
            }
        }
        ADD_FAILURE() << "no element " << id;
        return {};
    }
    TextElement element(int id) {
        TextElement e{};
        EXPECT_TRUE(readRecord(record(id), e));
        return e;
    }

    std::unique_ptr<ZODTextCompControl> composition(ISchemeInfo& scheme) {
        auto control = std::make_unique<ZODTextCompControl>(kCompTextType, 3);
        EXPECT_EQ(control->Create(record(3), &parse_), 1);
        context_.scheme = &scheme;
        control->Layout(&context_);
        return control;
    }
    std::unique_ptr<ZODTextCandControl> list(ISchemeInfo& scheme,
                                             std::span<const std::uint8_t> rec = {}) {
        auto control = std::make_unique<ZODTextCandControl>(kCandTextType, 4);
        EXPECT_EQ(control->Create(rec.empty() ? record(4) : rec, &parse_), 1);
        context_.scheme = &scheme;
        control->Layout(&context_);
        return control;
    }
    Canvas blankCanvas() const { return *Canvas::create(canvas_.width(), canvas_.height()); }

    SkinDocument doc_;
    ParseContext parse_;
    Canvas canvas_;
    LayoutContext context_;
};

// ---- Composition string -----------------------------------------------------------------------

TEST_F(TextControlsTest, OneLatinCharacterIsFollowedByTheCursor) {
    auto comp = composition(INPUT_INFO3());
    const TextElement e = element(3);
    const Size s = measured(kCompEnFont, u"s");
    const int x = e.marginLeft, y = e.marginTop;
    ASSERT_EQ(comp->measuredLength(), 1);
    EXPECT_EQ(comp->charFont(0), kCompEnFont);
    EXPECT_TRUE(comp->allLatin());
    EXPECT_EQ(comp->charRect(0), (Rect{x, y, x + s.cx + 5, y + s.cy}));
    EXPECT_EQ(comp->contentRect(), (Rect{x, y, x + s.cx + 2, y + s.cy}));
    EXPECT_EQ(comp->GetRect(0),
              comp->contentRect().grown(x, y, e.marginRight, e.marginBottom));  // with margins
    EXPECT_EQ(comp->cursor()->GetRect(0), (Rect{x + s.cx, y, x + s.cx + 1, y + s.cy}));
    EXPECT_EQ(context_.convertedEndX, x);
}

TEST_F(TextControlsTest, TheBrandIsDrawnInTheChineseFontAndEndsTheConvertedPart) {
    auto comp = composition(INPUT_INFO());
    const int x = element(3).marginLeft;
    ASSERT_EQ(comp->measuredLength(), 11);
    EXPECT_FALSE(comp->allLatin());
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(comp->charFont(i), i < 2 ? kCompCnFont : kCompEnFont) << i;
    }
    EXPECT_EQ(context_.convertedEndX,
              x + widthOf(kCompCnFont, u"澜") + widthOf(kCompCnFont, u"石"));
    EXPECT_EQ(comp->cursor()->GetRect(0).left, comp->contentRect().right - 2);
}

TEST_F(TextControlsTest, FontsFollowTheConvertedPartTheCaretAndTheCharacter) {
    struct Case {
        std::u16string text;
        int caret;
        std::uint8_t converted;
        const char* fonts;
    };
    const Case cases[] = {
        {u"lanshi", 6, 3, "000111"},  // converted Latin characters take the Chinese font
        {u"ab澜cd", 2, 4, "00011"},   // after the caret only the character decides
        {u"abc", 0, 3, "111"},       {u"a澜", 1, 0, "10"}, {u"", 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fonts));
        TestScheme scheme;
        scheme.composition = c.text;
        scheme.caret = c.caret;
        scheme.converted = c.converted;
        auto comp = composition(scheme);
        const TextElement e = element(3);
        const int n = int(c.text.size());
        ASSERT_EQ(comp->measuredLength(), n);
        int x = e.marginLeft, convertedEnd = e.marginLeft, cursorX = e.marginLeft, height = 0;
        bool latin = true;
        for (int i = 0; i < n; ++i) {
            const int f = c.fonts[i] - '0';
            EXPECT_EQ(comp->charFont(i), f) << i;
            const Size s = measured(f, c.text.substr(std::size_t(i), 1));
            EXPECT_EQ(comp->charRect(i), (Rect{x, e.marginTop, x + s.cx + 5, e.marginTop + s.cy}));
            x += s.cx;
            height = s.cy;
            latin = latin && f == kCompEnFont;
            if (i < c.caret) {
                cursorX = x;
                convertedEnd += f == kCompCnFont ? s.cx : 0;
            }
        }
        EXPECT_EQ(comp->allLatin(), latin);
        EXPECT_EQ(context_.convertedEndX, convertedEnd);
        EXPECT_EQ(comp->contentRect(),
                  (Rect{e.marginLeft, e.marginTop, x + 2, e.marginTop + height}));
        EXPECT_EQ(comp->cursor()->GetRect(0),
                  (Rect{cursorX, e.marginTop, cursorX + 1, e.marginTop + height}));
    }
}

TEST_F(TextControlsTest, NoMoreOfACompositionIsReadThanTheSchemeHasOrTheArraysHold) {
    struct Case {
        int textLength;
        int reportedLength;
        int caret;
        int measured;
    };
    const Case cases[] = {
        {300, 300, 300, 172},  // the per-character arrays hold 172
        {10, 500, 10, 10},     // stops at the string's end
        {10, 5, 9, 5},         // a caret past the length
        {10, -3, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.textLength * 1000 + c.reportedLength);
        TestScheme scheme;
        scheme.composition = std::u16string(std::size_t(c.textLength), u'a');
        scheme.compLength = c.reportedLength;
        scheme.caret = c.caret;
        auto comp = composition(scheme);
        EXPECT_EQ(comp->measuredLength(), c.measured);
        const int w = widthOf(kCompEnFont, u"a");
        EXPECT_EQ(comp->contentRect().width(), c.measured * w + 2);
        EXPECT_EQ(comp->cursor()->GetRect(0).left,
                  comp->contentRect().left + std::min(c.measured, c.caret) * w);
        EXPECT_EQ(comp->Draw(&canvas_, nullptr), 1);
    }
    TestScheme none;
    none.nullComposition = true;
    none.compLength = 40;
    auto comp = composition(none);
    EXPECT_EQ(comp->measuredLength(), 0);
    EXPECT_EQ(comp->Draw(&canvas_, nullptr), 1);
}

TEST_F(TextControlsTest, CompositionPaintsEachCharacterInItsFontOrALatinStringAtOnce) {
    for (CannedScenario* scenario : {&INPUT_INFO(), &INPUT_INFO0()}) {
        canvas_.clear();
        auto comp = composition(*scenario);
        ASSERT_EQ(comp->Draw(&canvas_, nullptr), 1);
        Canvas expected = blankCanvas();
        const std::u16string_view text(scenario->GetCompString(1),
                                       std::size_t(scenario->GetCompLength(1)));
        if (comp->allLatin()) {
            paint(expected, text, kCompEnFont, kCompColour, comp->contentRect());
        } else {
            for (int i = 0; i < comp->measuredLength(); ++i) {
                paint(expected, text.substr(std::size_t(i), 1), comp->charFont(i), kCompColour,
                      comp->charRect(i));
            }
        }
        FillRectAlpha(expected, comp->cursor()->GetRect(0), kCursorRgb);
        EXPECT_TRUE(samePixels(canvas_, expected));
    }
    EXPECT_FALSE(composition(INPUT_INFO())->allLatin());
    EXPECT_TRUE(composition(INPUT_INFO0())->allLatin());
}

TEST_F(TextControlsTest, DrawingNeedsAClipThatHoldsTheWholeControl) {
    auto comp = composition(INPUT_INFO());
    auto cands = list(INPUT_INFO());
    Rect half = comp->contentRect();  // the text itself must fit; its margins need not
    half.right -= 4;
    EXPECT_EQ(comp->Draw(&canvas_, &half), 0);
    Rect listHalf = cands->GetRect(0);
    listHalf.bottom -= 30;
    EXPECT_EQ(cands->Draw(&canvas_, &listHalf), 0);
    EXPECT_TRUE(blank(canvas_, canvas_.bounds()));
    const Rect all = canvas_.bounds();
    EXPECT_EQ(comp->Draw(&canvas_, &all), 1);
    EXPECT_EQ(cands->Draw(&canvas_, &all), 1);
    EXPECT_FALSE(blank(canvas_, canvas_.bounds()));
}

TEST_F(TextControlsTest, StrokeCellsFollowTheCompositionInTheirModes) {
    const std::uint8_t modes[] = {0, kModeVTip, kModeCompTip, kModeUTip, kModeCompTip | kModeUTip};
    for (std::uint8_t mode : modes) {
        SCOPED_TRACE(int(mode));
        TestScheme scheme;
        scheme.composition = u"hs";
        scheme.mode = mode;
        context_ = LayoutContext{};
        context_.canvas = &canvas_;
        canvas_.clear();
        auto comp = composition(scheme);
        const Rect content = comp->contentRect();
        const TextElement e = element(3);
        auto withMargins = [&](Rect r) {
            return r.grown(e.marginLeft, e.marginTop, e.marginRight, e.marginBottom);
        };
        const int h = content.height();
        const bool shown = (mode & (kModeCompTip | kModeUTip)) != 0;
        ASSERT_GT(h, 0);
        comp->Draw(&canvas_, nullptr);
        const Rect tipArea{content.right + 5 * h, content.top, content.right + 10 * h,
                           content.top + h};
        if (!shown) {
            EXPECT_EQ(comp->GetRect(0), withMargins(content));
            EXPECT_EQ(context_.height, 0);
            EXPECT_TRUE(blank(canvas_, tipArea));
            continue;
        }
        EXPECT_EQ(comp->GetRect(0),
                  withMargins({content.left, content.top, content.right + 10 * h, content.bottom}));
        EXPECT_EQ(context_.height, h);
        EXPECT_EQ(comp->tip()->GetRect(0), tipArea);
        for (int i = 0; i < ZODCompTipControl::kCells; ++i) {
            const Rect cell{tipArea.left + i * h, tipArea.top, tipArea.left + (i + 1) * h,
                            tipArea.bottom};
            EXPECT_EQ(comp->tip()->cell(i), cell);
            EXPECT_EQ(context_.tipCells[2 * i], cell.left);
            EXPECT_EQ(context_.tipCells[2 * i + 1], cell.top);
            EXPECT_FALSE(blank(canvas_, cell)) << i;
        }
    }
}

TEST_F(TextControlsTest, CompositionAndStrokeCellsAnswerTheMouse) {
    TestScheme scheme;
    scheme.composition = u"hs";
    scheme.mode = kModeCompTip;
    auto comp = composition(scheme);
    const Rect content = comp->contentRect();
    MouseResult r{};
    EXPECT_EQ(comp->OnMouse(kButtonUp, content.left + 1, content.top + 1, 0, &r), 1);
    EXPECT_EQ(r.command, 10);
    EXPECT_EQ(r.redraw, 0);
    EXPECT_EQ(r.rectangle, content);

    const Rect c2 = comp->tip()->cell(2), c3 = comp->tip()->cell(3);
    r = {};
    EXPECT_EQ(comp->OnMouse(kMouseMove, c2.left + 2, c2.top + 2, 0, &r), 1);
    EXPECT_EQ(r.hit, 2);
    EXPECT_EQ(comp->tip()->hoveredCell(), 2);
    EXPECT_EQ(r.redraw, 1);
    EXPECT_EQ(r.rectangle, c2);
    r = {};
    r.redraw = 1;
    r.rectangle = c2;
    EXPECT_EQ(comp->OnMouse(kButtonUp, c3.left + 2, c3.top + 2, 0, &r), 1);
    EXPECT_EQ(r.command, 5 + 3);
    EXPECT_EQ(r.rectangle, c2.united(c3));
    r = {};
    EXPECT_EQ(comp->OnMouse(kMouseMove, content.right + 1, content.top, 0, &r), 0);
    EXPECT_EQ(comp->tip()->hoveredCell(), -1);
    EXPECT_EQ(r.rectangle, c3);

    scheme.mode = 0;
    r = {};
    EXPECT_EQ(comp->OnMouse(kButtonUp, c3.left + 2, c3.top + 2, 0, &r), 0);
    EXPECT_EQ(r.command, 0);
}

TEST_F(TextControlsTest, OffsetMovesEverythingTheCompositionPlaced) {
    TestScheme scheme;
    scheme.composition = u"澜ab";
    scheme.caret = 1;
    scheme.mode = kModeCompTip;
    auto comp = composition(scheme);
    const Rect rect = comp->GetRect(0), content = comp->contentRect(),
               cursor = comp->cursor()->GetRect(0), cell = comp->tip()->cell(4);
    Rect chars[3];
    for (int i = 0; i < 3; ++i) {
        chars[i] = comp->charRect(i);
    }
    comp->Offset(7, -3);
    EXPECT_EQ(comp->GetRect(0), rect.offset(7, -3));
    EXPECT_EQ(comp->contentRect(), content.offset(7, -3));
    EXPECT_EQ(comp->cursor()->GetRect(0), cursor.offset(7, -3));
    EXPECT_EQ(comp->tip()->cell(4), cell.offset(7, -3));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(comp->charRect(i), chars[i].offset(7, -3));
    }
}

// ---- Fonts ------------------------------------------------------------------------------------

TEST_F(TextControlsTest, FontsComeFromTheRecordOrTheHostsOverrides) {
    TextElement rec = makeTextElement({1, 2, 3, 4}, u"微软雅黑", u"Tahoma", 18, 0xFF000000);
    rec.bold = 1;
    auto host = [](std::u16string_view cn, std::u16string_view en, int size) {
        SkinSettings s{};
        for (std::size_t i = 0; i < cn.size(); ++i) {
            s.cnFaceOverride[2 * i] = std::uint8_t(cn[i]);
            s.cnFaceOverride[2 * i + 1] = std::uint8_t(cn[i] >> 8);
        }
        for (std::size_t i = 0; i < en.size(); ++i) {
            s.enFaceOverride[2 * i] = std::uint8_t(en[i]);
            s.enFaceOverride[2 * i + 1] = std::uint8_t(en[i] >> 8);
        }
        s.fontSizeOverride = std::uint8_t(size);
        return s;
    };
    const SkinSettings none = host(u"", u"", 0), small = host(u"黑体", u"Verdana", 20),
                       large = host(u"黑体", u"", 30);
    struct Case {
        const SkinSettings* host;
        LogicalFont fonts[6];
    };
    const Case cases[] = {
        {nullptr,
         {{u"微软雅黑", -18, 700},
          {u"Tahoma", -18, 700},
          {u"宋体", -12, 400},
          {u"微软雅黑", -18, 700},
          {u"Arial", -16, 400},
          {u"宋体", -12, 400, true}}},
        {&none,
         {{u"微软雅黑", -18, 700},
          {u"Tahoma", -18, 700},
          {u"宋体", -12, 400},
          {u"微软雅黑", -18, 700},
          {u"Arial", -16, 400},
          {u"宋体", -12, 400, true}}},
        {&small,
         {{u"黑体", -20, 700},
          {u"Verdana", -20, 700},
          {u"黑体", -15, 400},
          {u"黑体", -20, 700},
          {u"Arial", -18, 400},
          {u"黑体", -15, 400, true}}},
        {&large,
         {{u"黑体", -30, 700},
          {u"Tahoma", -30, 700},
          {u"黑体", -15, 400},
          {u"黑体", -30, 700},
          {u"Arial", -28, 400},
          {u"黑体", -15, 400, true}}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 6; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(textControlFont(i, &rec, c.host), c.fonts[i]);
        }
    }
    EXPECT_FALSE(textControlFont(0, nullptr, nullptr).has_value());
    EXPECT_FALSE(textControlFont(6, &rec, nullptr).has_value());
    EXPECT_TRUE(textControlFont(5, nullptr, nullptr).has_value());

    // Hostile sizes stay bounded.
    for (int size : {INT_MIN, INT_MAX}) {
        rec.cnFontSize = rec.enFontSize = size;
        for (int i = 0; i < 6; ++i) {
            const std::optional<LogicalFont> f = textControlFont(i, &rec, nullptr);
            ASSERT_TRUE(f.has_value());
            EXPECT_LE(std::abs(f->height), 0x7FFF + 2);
        }
    }
}

TEST_F(TextControlsTest, ControlsMakeTheirFontsOnlyWhenTheCacheHasNone) {
    const Font kept(LogicalFont{u"Arial", -40, 400});
    cache().setFont(kCandAuxFont, kept);
    auto comp = composition(INPUT_INFO());
    auto cands = list(INPUT_INFO());
    const TextElement compRec = element(3), candRec = element(4);
    EXPECT_EQ(font(kCompCnFont).logicalFont(), *textControlFont(kCompCnFont, &compRec, nullptr));
    EXPECT_EQ(font(kCompEnFont).logicalFont(), *textControlFont(kCompEnFont, &compRec, nullptr));
    EXPECT_EQ(font(kCompTipFont).logicalFont(), *textControlFont(kCompTipFont, nullptr, nullptr));
    EXPECT_EQ(font(kCandFont).logicalFont(), *textControlFont(kCandFont, &candRec, nullptr));
    EXPECT_EQ(font(kCandAuxFont).logicalFont(), kept.logicalFont());
    EXPECT_EQ(font(kLinkFont).logicalFont(), *textControlFont(kLinkFont, nullptr, nullptr));
    EXPECT_EQ(cache().colour(kCompColour), compRec.colour);
    EXPECT_EQ(cache().colour(kCandColour), candRec.colour);
}

// ---- Candidate list ---------------------------------------------------------------------------

TEST_F(TextControlsTest, HorizontalListAddsEightPixelsAfterEveryCandidate) {
    context_.height = 30;
    auto cands = list(INPUT_INFO3());
    const TextElement e = element(4);
    const std::u16string_view texts[] = {u"是", u"说", u"上"};
    const int top = e.marginTop + 30;
    int x = e.marginLeft, rowHeight = measured(kCandFont, u"一").cy;
    for (int p = 0; p < 3; ++p) {
        const Size labelSize = measured(kCandFont, label(p));
        const Size textSize = measured(kCandFont, texts[p]);
        const int w = labelSize.cx + textSize.cx + 2;
        ZODTextControl& item = *cands->item(p);
        EXPECT_EQ(item.GetRect(0), (Rect{x, top, x + w, top + textSize.cy}));
        EXPECT_EQ(item.labelRect(), (Rect{x, top, x + labelSize.cx, top + labelSize.cy}));
        EXPECT_EQ(item.textRect(), (Rect{x + labelSize.cx, top, x + w, top + textSize.cy}));
        EXPECT_EQ(item.render()->GetColorIndex(), p == 0 ? kFocusColour : kCandColour);
        rowHeight = std::max(rowHeight, textSize.cy);
        x += w + 8;
    }
    EXPECT_EQ(cands->minimumRowHeight(), measured(kCandFont, u"一").cy);
    EXPECT_EQ(cands->GetRect(0),
              (Rect{0, 30, x + e.marginRight, top + rowHeight + e.marginBottom}));
    EXPECT_EQ(context_.candTextX, e.marginLeft + widthOf(kCandFont, u"1."));
}

TEST_F(TextControlsTest, VerticalListAddsFivePixelsAfterEveryCandidate) {
    parse_.vertical = 1;
    auto cands = list(INPUT_INFO3());
    EXPECT_TRUE(cands->vertical());
    EXPECT_EQ(cands->minimumRowHeight(), 0);
    const TextElement e = element(4);
    const std::u16string_view texts[] = {u"是", u"说", u"上"};
    int y = e.marginTop, widest = 0;
    for (int p = 0; p < 3; ++p) {
        const Size textSize = measured(kCandFont, texts[p]);
        const int w = widthOf(kCandFont, label(p)) + textSize.cx + 2;
        EXPECT_EQ(cands->item(p)->GetRect(0),
                  (Rect{e.marginLeft, y, e.marginLeft + w, y + textSize.cy}));
        widest = std::max(widest, w);
        y += textSize.cy + 5;
    }
    EXPECT_EQ(cands->GetRect(0),
              (Rect{0, 0, e.marginLeft + widest + e.marginRight, y + e.marginBottom}));
}

TEST_F(TextControlsTest, TheHighlightedCandidateTakesTheFocusColour) {
    TestScheme scheme;
    scheme.candidates = {{u"甲"}, {u"乙"}, {u"丙"}};
    for (int highlight : {0, 2, 5, -1}) {
        scheme.highlight = highlight;
        auto cands = list(scheme);
        for (int p = 0; p < 3; ++p) {
            EXPECT_EQ(cands->item(p)->render()->GetColorIndex(),
                      p == highlight ? kFocusColour : kCandColour)
                << highlight << " " << p;
        }
    }
}

TEST_F(TextControlsTest, APageOfMoreThanNineCandidatesShowsNine) {
    TestScheme scheme;
    for (int i = 0; i < 12; ++i) {
        scheme.candidates.push_back({u"字"});
    }
    scheme.highlight = 10;
    auto cands = list(scheme);
    const TextElement e = element(4);
    int x = e.marginLeft;
    for (int p = 0; p < 9; ++p) {
        x += widthOf(kCandFont, label(p)) + widthOf(kCandFont, u"字") + 2 + 8;
    }
    EXPECT_EQ(cands->GetRect(0).right, x + e.marginRight);
    EXPECT_EQ(cands->Draw(&canvas_, nullptr), 1);
    MouseResult r{};
    const Rect last = cands->item(8)->GetRect(0);
    EXPECT_EQ(cands->OnMouse(kButtonUp, last.left + 1, last.top + 1, 0, &r), 1);
    EXPECT_EQ(r.command, 19);
}

TEST_F(TextControlsTest, ListPaintsLabelsAndTexts) {
    struct Case {
        bool letters;
        bool indexVisible;
    };
    for (const Case c : {Case{false, true}, Case{true, true}, Case{true, false}}) {
        SCOPED_TRACE(c.letters * 2 + c.indexVisible);
        TestScheme scheme;
        scheme.candidates = {{u"输入法"}, {u"输入"}, {u"书"}, {u"数"}, {u"输"}};
        scheme.letters = c.letters;
        scheme.indexVisible = c.indexVisible;
        canvas_.clear();
        auto cands = list(scheme);
        ASSERT_EQ(cands->Draw(&canvas_, nullptr), 1);
        Canvas expected = blankCanvas();
        for (int p = 0; p < 5; ++p) {
            const ZODTextControl& item = *cands->item(p);
            const int colour = p == 0 ? kFocusColour : kCandColour;
            if (p == 0 && !c.indexVisible) {
                EXPECT_TRUE(item.labelRect().isEmpty());
                EXPECT_EQ(item.GetLabelWidth(), 0);
                EXPECT_EQ(item.textRect().left, item.GetRect(0).left);
            } else {
                EXPECT_EQ(item.GetLabelWidth(), widthOf(kCandFont, label(p, c.letters)));
                paint(expected, label(p, c.letters), kCandFont, colour, item.labelRect());
            }
            paint(expected, scheme.candidates[std::size_t(p)].text, kCandFont, colour,
                  item.textRect());
        }
        EXPECT_TRUE(samePixels(canvas_, expected));
    }
}

TEST_F(TextControlsTest, BracketedPartsAreMeasuredAndPaintedInTheSmallerFont) {
    constexpr int g2 = 2;
    struct Case {
        std::u16string text;
        std::uint32_t flags;
        bool brackets;
    };
    const Case cases[] = {
        {u"澜(lan)", 1, true},
        {u"(a)b(c)", 1, true},
        {u"澜(lan)", 1 | kCandidateNoBrackets, false},
        {u"澜lan", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        TestScheme scheme;
        scheme.candidates = {{u"甲"}, {u"乙"}, {c.text, c.flags}};
        canvas_.clear();
        auto cands = list(scheme);
        const ZODTextControl& item = *cands->item(2);
        const Rect text = item.textRect();
        const int x0 = item.labelRect().right;
        EXPECT_EQ(item.brackets(), c.brackets);
        Canvas expected = blankCanvas();
        if (c.brackets) {
            EXPECT_EQ(text.width(), bracketedWidth(c.text, g2) + g2);
            int tallest = 0;
            for (char16_t ch : c.text) {
                tallest = std::max(tallest, measured(kCandAuxFont, std::u16string(1, ch)).cy);
            }
            EXPECT_EQ(text.height(), std::max(tallest, measured(kCandFont, u"澜").cy));
            paintBracketed(expected, c.text, kCandColour, text, g2);
        } else {
            EXPECT_EQ(text.width(), widthOf(kCandFont, c.text) + g2);
            paint(expected, c.text, kCandFont, kCandColour, text);
        }
        EXPECT_EQ(text.left, x0);
        cands->item(2)->DrawText(&canvas_);
        EXPECT_TRUE(samePixels(canvas_, expected));
    }
    // One Chinese character then a bracketed syllable, spelt out.
    EXPECT_EQ(bracketedWidth(u"澜(lan)", g2) + g2,
              widthOf(kCandFont, u"澜") + g2 + widthOf(kCandAuxFont, u"(lan)") + g2 + g2);
}

TEST_F(TextControlsTest, TwoPartCandidatesPutTheirSecondPartRightAligned) {
    constexpr int g2 = 2;
    for (std::uint32_t flag :
         {std::uint32_t(kCandidateTwoPart), std::uint32_t(kCandidateTwoPartAlt)}) {
        TestScheme scheme;
        scheme.candidates = {{u"甲"}, {u"乙"}, {u"澜lan", flag}, {u"石", flag}};
        canvas_.clear();
        auto cands = list(scheme);
        const ZODTextControl& two = *cands->item(2);
        const Rect text = two.textRect();
        EXPECT_EQ(text.width(), widthOf(kCandFont, u"澜") + g2 + widthOf(kCandAuxFont, u"lan"));
        EXPECT_EQ(text.height(), measured(kCandFont, u"澜").cy);
        // One character is plain text.
        EXPECT_EQ(cands->item(3)->textRect().width(), widthOf(kCandFont, u"石") + g2);

        cands->item(2)->DrawText(&canvas_);
        Canvas expected = blankCanvas();
        paint(expected, u"澜", kCandFont, kCandColour, text);
        paint(expected, u"lan", kCandAuxFont, kCandColour, text, kDtRight | kDtNoPrefix);
        EXPECT_TRUE(samePixels(canvas_, expected));
    }
}

TEST_F(TextControlsTest, TheFirstCandidateShowsTheCommentBetweenLabelAndText) {
    constexpr int g2 = 2;
    enum Shape { kNone, kWhole, kBracketed, kAllZero };
    struct Case {
        std::u16string text;
        std::uint32_t flags;
        std::optional<std::u16string> comment;
        Shape shape;
    };
    const Case cases[] = {
        {u"输入", 1, u"注释", kWhole},
        {u"输入", 1 | kCandidateNoComment, u"注释", kNone},
        {u"输入", 1 | kCandidateNoComment, u"注(zhu)", kBracketed},
        {u"输(shu)", 1 | kCandidateNoComment, u"注释", kBracketed},
        {u"输入", 1 | kCandidateNoBrackets, u"注(zhu)", kNone},
        {u"输入", 1 | kCandidateTwoPart, u"注释", kAllZero},
        {u"输入", 1, std::nullopt, kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()) + " " + std::to_string(c.flags));
        TestScheme scheme;
        scheme.candidates = {{c.text, c.flags}};
        scheme.comment = c.comment;
        canvas_.clear();
        auto cands = list(scheme);
        auto& first = static_cast<ZODFixTextControl&>(*cands->item(0));
        const int x0 = first.labelRect().right;
        const int left = first.GetRect(0).left, top = first.GetRect(0).top;
        const Rect comment = first.commentRect();
        switch (c.shape) {
            case kNone: EXPECT_EQ(comment, (Rect{x0, top, x0, top})); break;
            case kWhole:
                EXPECT_EQ(comment.width(), widthOf(kCandFont, *c.comment));
                EXPECT_EQ(comment.height(), measured(kCandFont, *c.comment).cy);
                break;
            case kBracketed: EXPECT_EQ(comment.width(), bracketedWidth(*c.comment, g2)); break;
            case kAllZero: EXPECT_EQ(comment, (Rect{left, top, left, top})); break;
        }
        if (c.shape != kAllZero) {
            EXPECT_EQ(comment.left, x0);
            EXPECT_EQ(first.textRect().left, comment.right);
        }
        ASSERT_EQ(cands->Draw(&canvas_, nullptr), 1);
        Canvas expected = blankCanvas();
        paint(expected, label(0), kCandFont, kFocusColour, first.labelRect());
        if (c.comment && first.brackets()) {
            paintBracketed(expected, *c.comment, kCommentColour, comment, g2);
        } else if (c.comment) {
            paint(expected, *c.comment, kCandFont, kCommentColour, comment);
        }
        if (c.shape == kAllZero) {
            paint(expected, c.text.substr(0, 1), kCandFont, kFocusColour, first.textRect());
            paint(expected, c.text.substr(1), kCandAuxFont, kFocusColour, first.textRect(),
                  kDtRight | kDtNoPrefix);
        } else if (first.brackets()) {
            paintBracketed(expected, c.text, kFocusColour, first.textRect(), g2);
        } else {
            paint(expected, c.text, kCandFont, kFocusColour, first.textRect());
        }
        EXPECT_TRUE(samePixels(canvas_, expected));
        EXPECT_EQ(first.render()->GetColorIndex(), kFocusColour);
    }
}

TEST_F(TextControlsTest, ARecordIsReadNoFurtherThanItsArrayOrItsText) {
    struct Case {
        std::u16string text;
        int measured;
    };
    const Case cases[] = {{u"甲乙", 2}, {std::u16string(200, u'a'), 128}};
    for (const Case& c : cases) {
        TestScheme scheme;
        scheme.candidates = {{c.text}};
        scheme.recordLength = 600;
        auto cands = list(scheme);
        EXPECT_EQ(cands->item(0)->textRect().width(),
                  widthOf(kCandFont, c.text.substr(0, std::size_t(c.measured))) + 2);
        EXPECT_EQ(cands->Draw(&canvas_, nullptr), 1);
    }
}

TEST_F(TextControlsTest, ListAnswersTheMouseAndMovesWithOffset) {
    auto cands = list(INPUT_INFO());
    const Rect second = cands->item(1)->GetRect(0);
    MouseResult r{};
    EXPECT_EQ(cands->OnMouse(kMouseMove, second.left + 1, second.top + 1, 0, &r), 1);
    EXPECT_EQ(r.command, 12);
    EXPECT_EQ(r.redraw, 0);
    EXPECT_EQ(r.rectangle, second);
    r = {};
    EXPECT_EQ(cands->OnMouse(kButtonUp, second.left + 1, second.top + 1, 0, &r), 1);
    EXPECT_EQ(r.command, 12);
    EXPECT_EQ(r.redraw, 2);
    r = {};
    EXPECT_EQ(cands->OnMouse(kButtonUp, second.right + 2, second.top + 1, 0, &r), 1);  // gap
    EXPECT_EQ(r.command, 0);
    EXPECT_EQ(cands->OnMouse(kButtonUp, -5, -5, 0, &r), 0);

    const Rect rect = cands->GetRect(0), label = cands->item(4)->labelRect();
    cands->Offset(12, 40);
    EXPECT_EQ(cands->GetRect(0), rect.offset(12, 40));
    EXPECT_EQ(cands->item(1)->GetRect(0), second.offset(12, 40));
    EXPECT_EQ(cands->item(4)->labelRect(), label.offset(12, 40));
}

// ---- Cloud pictures ---------------------------------------------------------------------------

class CloudTest : public TextControlsTest {
protected:
    void SetUp() override {
        TextControlsTest::SetUp();
        payload_.addCloudPictures({{30, 31, 32, 33, 34, -1}});
        for (int i = 0; i < 4; ++i) {
            payload_.addPicture(30 + i, kSizes[i].cx, kSizes[i].cy, 0x102030FFu + 0x10000u * i);
        }
        ASSERT_TRUE(payload_.load(parse_, 1));
        context_.options[5] = 1;
    }
    std::unique_ptr<ZODTextCandControl> cloudList(ISchemeInfo& scheme) {
        return list(scheme, bytesOf(record_));
    }

    static constexpr Size kSizes[4] = {{10, 6}, {12, 7}, {14, 8}, {16, 9}};
    static constexpr int g2 = 2;
    TextElement record_ = makeTextElement({4, 4, 6, 6}, u"宋体", u"宋体", 16, 0xFF336699);
    Payload payload_;
};

TEST_F(CloudTest, CloudPicturesComeFromThePayloadsList) {
    auto cands = cloudList(INPUT_INFO());
    auto& cloud = static_cast<ZODCloudTextControl&>(*cands->item(1));
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(cloud.stateSize(s), kSizes[s]);
    }
    for (int p = 0; p < kCandidateSlots; ++p) {
        EXPECT_EQ(cands->item(p)->linkIconSize(), kSizes[1]);
    }

    // Without the list: slots 19..22, the link icon 20.
    Payload plain;
    for (int i = 0; i < 4; ++i) {
        plain.addPicture(19 + i, 3 + i, 2 + i, 0x0000FFFF);
    }
    cache().releaseCache();
    ASSERT_TRUE(plain.load(parse_, 1));
    auto defaults = cloudList(INPUT_INFO());
    auto& cloud2 = static_cast<ZODCloudTextControl&>(*defaults->item(1));
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(cloud2.stateSize(s), (Size{3 + s, 2 + s}));
    }
    EXPECT_EQ(defaults->item(5)->linkIconSize(), (Size{4, 3}));
}

TEST_F(CloudTest, TheSecondPositionShowsTheCloudState) {
    struct Case {
        int state;
        bool text;
        int picture;  // -1: none
        int top;
        int hit;
    };
    const Case cases[] = {
        {0, false, 0, 0, 0}, {1, true, 1, -g2, 2}, {2, false, 2, 0, 0},
        {3, false, 3, 0, 0}, {4, false, -1, 0, 2}, {7, false, -1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        TestScheme scheme;
        scheme.candidates = {{u"甲"}, {u"云端", kCandidateCloud | 1}};
        scheme.cloudState = c.state;
        auto cands = cloudList(scheme);
        const ZODTextControl& cloud = *cands->item(1);
        const Rect item = cloud.GetRect(0);
        const int x0 = cloud.labelRect().right;
        int right = x0;
        if (c.text) {
            EXPECT_EQ(cloud.textRect().width(), widthOf(kCandFont, u"云端") + g2);
            right = cloud.textRect().right;
        } else {
            EXPECT_TRUE(cloud.textRect().isEmpty());
        }
        if (c.picture >= 0) {
            const Size s = kSizes[c.picture];
            EXPECT_EQ(cloud.iconRect(),
                      (Rect{right, item.top + c.top, right + s.cx, item.top + c.top + s.cy}));
            right += s.cx;
        } else {
            EXPECT_TRUE(cloud.iconRect().isEmpty());
        }
        EXPECT_EQ(item.right, right);
        MouseResult r{};
        EXPECT_EQ(cands->OnMouse(kMouseMove, item.left + 1, item.top + 1, 0, &r), 1);
        EXPECT_EQ(r.hit, c.hit);
        EXPECT_EQ(r.command, 12);
    }
}

TEST_F(CloudTest, CandidatesCarryTheCloudLinkIconOnlyWhenRoomIsAskedFor) {
    constexpr std::uint32_t link = kCandidateCloudLinkA | kCandidateCloudLinkB | 1;
    struct Case {
        std::uint32_t flags;
        std::uint8_t option;
        bool icon;
    };
    const Case cases[] = {
        {link, 1, true},
        {link, 0, false},
        {link | kCandidateCloudLinkUnless, 1, false},
        {kCandidateCloudLinkA | 1, 1, false},
        {kCandidateCloudLinkB | 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        TestScheme scheme;
        scheme.candidates = {{u"甲", c.flags}, {u"乙", c.flags}, {u"丙", c.flags}};
        scheme.cloudState = 0;
        context_.options[5] = c.option;
        auto cands = cloudList(scheme);
        for (int p = 0; p < 3; ++p) {
            const ZODTextControl& item = *cands->item(p);
            const Rect text = item.textRect();
            if (c.icon) {
                const Size s = kSizes[1];
                EXPECT_EQ(item.iconRect(), (Rect{text.right, text.top - g2, text.right + s.cx,
                                                 text.top + s.cy - g2}));
                EXPECT_EQ(item.GetRect(0).right, text.right + s.cx);
            } else {
                EXPECT_TRUE(item.iconRect().isEmpty());
                EXPECT_EQ(item.GetRect(0).right, text.right);
            }
        }
        MouseResult r{};
        const Rect second = cands->item(1)->GetRect(0);
        cands->OnMouse(kMouseMove, second.left + 1, second.top + 1, 0, &r);
        EXPECT_EQ(r.hit, c.flags == link ? 2 : 0);
    }
}

TEST_F(CloudTest, IconsTakeTheFocusColourExceptStateThree) {
    struct Case {
        int state;
        int highlight;
        bool tinted;
    };
    const Case cases[] = {{0, 1, true}, {0, 0, false}, {3, 1, false}, {2, 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state * 10 + c.highlight);
        TestScheme scheme;
        scheme.candidates = {{u"甲"}, {u"", kCandidateCloud | 1}};
        scheme.cloudState = c.state;
        scheme.highlight = c.highlight;
        canvas_.clear();
        auto cands = cloudList(scheme);
        ASSERT_EQ(cands->Draw(&canvas_, nullptr), 1);
        const Rect icon = cands->item(1)->iconRect();
        ASSERT_FALSE(icon.isEmpty());
        Canvas expected = blankCanvas();
        ZODImageRender picture(&cache());
        ASSERT_EQ(picture.LoadImage(30 + c.state, nullptr, nullptr), 1);
        if (c.tinted) {
            picture.DrawTinted(&expected, &icon, kFocusColour);
        } else {
            picture.DrawImage(&expected, &icon, 0);
        }
        EXPECT_TRUE(sameArea(canvas_, expected, icon));
    }
}

TEST_F(CloudTest, TheFocusedCandidatePictureNeedsTheSwitchACustomSkinAndSlot24) {
    constexpr std::uint32_t kGreenRgba = 0x00C000FF;
    struct Case {
        std::int32_t sixth;
        int customSkin;
        bool picture24;
        bool shown;
    };
    const Case cases[] = {
        {0, 1, true, true},
        {-1, 1, true, false},
        {0, 0, true, false},
        {0, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sixth * 100 + c.customSkin * 10 + c.picture24);
        cache().releaseCache();
        cache().setColour(kFocusColour, kFocusRgb);
        Payload payload;
        payload.addCloudPictures({{30, 31, 32, 33, 34, c.sixth}});
        if (c.picture24) {
            payload.addPicture(24, 8, 8, kGreenRgba);
        }
        ASSERT_TRUE(payload.load(parse_, c.customSkin));
        canvas_.clear();
        auto cands = cloudList(INPUT_INFO3());
        EXPECT_EQ(cands->render() != nullptr, c.shown);
        ASSERT_EQ(cands->Draw(&canvas_, nullptr), 1);
        const Rect focused = cands->item(0)->GetRect(0);
        const std::uint32_t corner = canvas_.pixels().argb(focused.left - 3, focused.top - 3);
        EXPECT_EQ(corner, c.shown ? 0xFF00C000u : 0u);
        EXPECT_EQ(canvas_.pixels().argb(focused.left - 4, focused.top - 4), 0u);
    }
    // The editor's own skins never switch it on.
    cache().releaseCache();
    ASSERT_TRUE(loadPayload(parse_, doc_.payload(), doc_.header.entryCount, 1));
    EXPECT_EQ(list(INPUT_INFO())->render(), nullptr);
}

// ---- Input-mode tips --------------------------------------------------------------------------

TEST_F(TextControlsTest, TheVModeShowsFourLinesAndTheUnderlinedLink) {
    const std::u16string_view lines[] = {u"·数字（如：v123）", u"·日期（如：v2016/1/1）",
                                         u"·算式（如：v1+2）", u"·函数（如：vlog(2)）"};
    TestScheme scheme;
    scheme.candidates = {{u"甲"}};
    scheme.mode = kModeVTip;
    context_.height = 20;
    auto cands = list(scheme);
    EXPECT_TRUE(font(kLinkFont).logicalFont().underline);
    const TextElement e = element(4);
    int width = 0, height = 0;
    for (std::u16string_view line : lines) {
        width = std::max(width, widthOf(kCandFont, line));
        height += measured(kCandFont, line).cy;
    }
    const Size link = measured(kLinkFont, u"查看函数列表");
    const int left = e.marginLeft, top = e.marginTop + 20;
    const Rect tip{left, top, left + width + link.cx, top + height};
    EXPECT_EQ(cands->tip()->GetRect(0), tip);
    EXPECT_EQ(cands->tip()->linkRect(),
              (Rect{left + width, top + height - link.cy, left + width + link.cx, top + height}));
    EXPECT_EQ(cands->GetRect(0),
              (Rect{0, 20, tip.right + e.marginRight, tip.bottom + e.marginBottom}));

    ASSERT_EQ(cands->Draw(&canvas_, nullptr), 1);
    Canvas expected = blankCanvas();
    for (int k = 0; k < 4; ++k) {
        paint(expected, lines[k], kCandFont, kCandColour,
              {tip.left, tip.top + k * height / 4, tip.right, tip.top + (k + 1) * height / 4},
              kDtSingleLine | kDtNoPrefix);
    }
    paint(expected, u"查看函数列表", kLinkFont, kCandColour, cands->tip()->linkRect());
    EXPECT_TRUE(samePixels(canvas_, expected));

    const Rect linkRect = cands->tip()->linkRect();
    MouseResult r{};
    EXPECT_EQ(cands->OnMouse(kButtonUp, linkRect.left + 1, linkRect.top + 1, 0, &r), 1);
    EXPECT_EQ(r.hit, 2);
    EXPECT_EQ(r.command, 4);
    r = {};
    EXPECT_EQ(cands->OnMouse(kButtonUp, tip.left + 1, tip.top + 1, 0, &r), 1);
    EXPECT_EQ(r.hit, 1);
    EXPECT_EQ(r.command, 0);

    cands->Offset(3, 4);
    EXPECT_EQ(cands->tip()->GetRect(0), tip.offset(3, 4));
    EXPECT_EQ(cands->tip()->linkRect(), linkRect.offset(3, 4));
}

TEST_F(TextControlsTest, TheUModeShowsOneLineAndWinsOverTheVMode) {
    const std::u16string_view line = u"·笔画、拆字输入，如：u'hspn（木），u'mg（杆）";
    for (std::uint8_t mode : {std::uint8_t(kModeUTip), std::uint8_t(kModeUTip | kModeVTip)}) {
        TestScheme scheme;
        scheme.candidates = {{u"甲"}};
        scheme.mode = mode;
        canvas_.clear();
        auto cands = list(scheme);
        const TextElement e = element(4);
        const Size s = measured(kCandFont, line);
        const Rect tip{e.marginLeft, e.marginTop, e.marginLeft + s.cx, e.marginTop + s.cy};
        EXPECT_EQ(cands->tip()->GetRect(0), tip);
        EXPECT_TRUE(cands->tip()->linkRect().isEmpty());
        ASSERT_EQ(cands->Draw(&canvas_, nullptr), 1);
        Canvas expected = blankCanvas();
        paint(expected, line, kCandFont, kCandColour, tip);
        EXPECT_TRUE(samePixels(canvas_, expected));
    }
    // The composition tip alone leaves the candidates in place.
    TestScheme scheme;
    scheme.candidates = {{u"甲"}};
    scheme.mode = kModeCompTip;
    auto cands = list(scheme);
    EXPECT_EQ(cands->tip()->GetRect(0), Rect{});
    EXPECT_FALSE(cands->item(0)->GetRect(0).isEmpty());
}

// ---- What is missing --------------------------------------------------------------------------

TEST_F(TextControlsTest, WithoutContextOrSchemeEverythingStaysEmpty) {
    auto comp = composition(INPUT_INFO());
    auto cands = list(INPUT_INFO());
    for (bool withContext : {true, false}) {
        SCOPED_TRACE(withContext);
        context_.scheme = &INPUT_INFO();
        ASSERT_EQ(comp->Layout(&context_), 1);
        ASSERT_EQ(cands->Layout(&context_), 1);
        context_.scheme = nullptr;
        ContextHead* context = withContext ? &context_ : nullptr;
        EXPECT_EQ(comp->Layout(context), 0);
        EXPECT_EQ(cands->Layout(context), 0);
        EXPECT_EQ(comp->GetRect(0), Rect{});
        EXPECT_EQ(comp->cursor()->GetRect(0), Rect{});
        EXPECT_EQ(cands->GetRect(0), Rect{});
        for (int p = 0; p < kCandidateSlots; ++p) {
            EXPECT_EQ(cands->item(p)->GetRect(0), Rect{});
        }
        EXPECT_EQ(comp->Draw(&canvas_, nullptr), 0);
        EXPECT_EQ(cands->Draw(&canvas_, nullptr), 0);
        MouseResult r{};
        EXPECT_EQ(cands->OnMouse(kButtonUp, 20, 20, 0, &r), 0);
        EXPECT_EQ(comp->OnMouse(kButtonUp, 20, 20, 0, &r), 0);
    }
    EXPECT_TRUE(blank(canvas_, canvas_.bounds()));
}

TEST_F(TextControlsTest, TextControlsInAStatusBarLayOutNothing) {
    auto comp = composition(INPUT_INFO());
    auto cands = list(INPUT_INFO());
    StatusContext status;
    status.canvas = &canvas_;
    EXPECT_EQ(comp->Layout(&status), 0);
    EXPECT_EQ(cands->Layout(&status), 0);
    EXPECT_EQ(comp->GetRect(0), Rect{});
    EXPECT_EQ(cands->GetRect(0), Rect{});
    EXPECT_EQ(comp->Draw(&canvas_, nullptr), 0);
    EXPECT_EQ(cands->Draw(&canvas_, nullptr), 0);
    for (int type : {kTextType, kCloudTextType, kFixTextType, kCompTipType, kCandTipType}) {
        std::unique_ptr<IControl> control = CreateControl(type, 60);
        control->Create({}, &parse_);
        EXPECT_EQ(control->Layout(&status), 0) << type;
    }
}

TEST_F(TextControlsTest, MissingRecordsParseContextsAndFontsDoNotCrash) {
    for (int type : {kCompTextType, kCandTextType}) {
        std::unique_ptr<IControl> control = CreateControl(type, type == kCompTextType ? 3 : 4);
        EXPECT_EQ(control->Create({}, &parse_), 0);
        context_.scheme = &INPUT_INFO();
        control->Layout(&context_);
        control->Draw(&canvas_, nullptr);
        MouseResult r{};
        control->OnMouse(kButtonUp, 5, 5, 0, &r);
        control->Offset(1, 1);
    }
    // Without a parse context nothing makes fonts: every text measures 0 x 0.
    cache().releaseCache();
    ZODTextCandControl cands(kCandTextType, 4);
    ZODTextCompControl comp(kCompTextType, 3);
    EXPECT_EQ(
        cands.Create(bytesOf(makeTextElement({0, 0, 0, 0}, u"宋体", u"宋体", 16, 0)), nullptr), 1);
    EXPECT_EQ(
        comp.Create(bytesOf(makeTextElement({0, 0, 0, 0}, u"宋体", u"Arial", 16, 0)), nullptr), 1);
    context_.scheme = &INPUT_INFO3();
    EXPECT_EQ(cands.Layout(&context_), 1);
    EXPECT_EQ(comp.Layout(&context_), 1);
    EXPECT_EQ(cands.GetRect(0), (Rect{0, 0, 3 * (2 + 8), 0}));  // each text ends in g2
    EXPECT_EQ(comp.contentRect(), (Rect{0, 0, 2, 0}));
    cands.Draw(&canvas_, nullptr);
    comp.Draw(&canvas_, nullptr);
    EXPECT_TRUE(blank(canvas_, canvas_.bounds()));
    EXPECT_EQ(cache().font(kCandFont), nullptr);
}

// ---- DPI --------------------------------------------------------------------------------------

int gDpi = 96;
int testDpi() {
    return gDpi;
}

class TextControlsDpiTest : public TextControlsTest {
protected:
    void SetUp() override {
        SetScreenDpiSource(&testDpi);
        gDpi = 144;
        CDPI::Instance().Refresh();
        TextControlsTest::SetUp();
    }
    void TearDown() override {
        TextControlsTest::TearDown();
        gDpi = 96;
        CDPI::Instance().Refresh();
        SetScreenDpiSource(nullptr);
    }
};

TEST_F(TextControlsDpiTest, MarginsGapsAndFontsScale) {
    const TextGaps gaps = TextGaps::current();
    EXPECT_EQ(gaps.d, 1);
    EXPECT_EQ(gaps.g2, 3);
    EXPECT_EQ(gaps.g3, 4);
    EXPECT_EQ(gaps.g5, 7);

    auto comp = composition(INPUT_INFO3());
    const TextElement e = element(3);
    EXPECT_EQ(font(kCompEnFont).logicalFont().height, -(e.enFontSize * 3 / 2));
    EXPECT_EQ(font(kCompTipFont).logicalFont().height, -18);
    const Size s = measured(kCompEnFont, u"s");
    const int x = e.marginLeft * 3 / 2, y = e.marginTop * 3 / 2;
    EXPECT_EQ(comp->charRect(0), (Rect{x, y, x + s.cx + 7, y + s.cy}));
    EXPECT_EQ(comp->contentRect(), (Rect{x, y, x + s.cx + 2, y + s.cy}));

    auto cands = list(INPUT_INFO3());
    const TextElement c = element(4);
    EXPECT_EQ(font(kCandAuxFont).logicalFont().height, -((c.cnFontSize - 2) * 3 / 2));
    const int w = widthOf(kCandFont, u"1.") + widthOf(kCandFont, u"是") + 3;
    EXPECT_EQ(cands->item(0)->GetRect(0).width(), w);
    EXPECT_EQ(cands->GetRect(0).left, 0);
    EXPECT_EQ(cands->item(0)->GetRect(0).left, c.marginLeft * 3 / 2);
}

TEST_F(TextControlsDpiTest, CloudPicturesScaleWithTheSkin) {
    Payload payload;
    payload.addCloudPictures({{30, 31, 32, 33, 34, -1}});
    payload.addPicture(31, 11, 7, 0x0000FFFF);
    ASSERT_TRUE(payload.load(parse_, 1));
    auto cands =
        list(INPUT_INFO(), bytesOf(makeTextElement({0, 0, 0, 0}, u"宋体", u"宋体", 16, 0)));
    EXPECT_EQ(cands->item(3)->linkIconSize(), (Size{16, 10}));
}

// ---- Factory ----------------------------------------------------------------------------------

TEST(TextControlFactoryTest, MakesEveryTextControlType) {
    EXPECT_TRUE(dynamic_cast<ZODTextControl*>(CreateControl(kTextType, 61).get()));
    EXPECT_TRUE(dynamic_cast<ZODTextCompControl*>(CreateControl(kCompTextType, 3).get()));
    EXPECT_TRUE(dynamic_cast<ZODTextCandControl*>(CreateControl(kCandTextType, 4).get()));
    EXPECT_TRUE(dynamic_cast<ZODCloudTextControl*>(CreateControl(kCloudTextType, 60).get()));
    EXPECT_TRUE(dynamic_cast<ZODFixTextControl*>(CreateControl(kFixTextType, 59).get()));
    EXPECT_TRUE(dynamic_cast<ZODCompTipControl*>(CreateControl(kCompTipType, 57).get()));
    EXPECT_TRUE(dynamic_cast<ZODCandTipControl*>(CreateControl(kCandTipType, 58).get()));
    // An item made for an id outside 59..67 lays out nothing.
    std::unique_ptr<IControl> stray = CreateControl(kTextType, 200);
    stray->Create({}, nullptr);
    LayoutContext context;
    context.scheme = &INPUT_INFO();
    EXPECT_EQ(stray->Layout(&context), 0);
}

}  // namespace
}  // namespace tandel
