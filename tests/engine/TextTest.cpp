#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>

#include "Canvas.h"
#include "DrawText.h"
#include "Font.h"
#include "FontFamilies.h"
#include "TextCodec.h"
#include "TextFormat.h"

namespace tandel {
namespace {

constexpr std::u16string_view kCandidates = u"1.输入法 2.输入 3.书 4.数 5.输";
constexpr std::u16string_view kChinese = u"澜石输入法皮肤编辑器";

Font font(std::u16string_view face, int height = -16, int weight = 400, bool underline = false) {
    return Font(LogicalFont{std::u16string(face), height, weight, underline});
}

Canvas canvas(int width, int height, std::uint32_t argb = 0,
              Canvas::Kind kind = Canvas::Kind::Alpha) {
    Canvas c = *Canvas::create(width, height, kind);
    c.fill(c.bounds(), argb);
    return c;
}

// The bounding box of the pixels (x, y) for which hit holds; empty when there are none.
Rect boxWhere(const Canvas& c, const std::function<bool(int, int)>& hit) {
    Rect box{c.width(), c.height(), 0, 0};
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            if (hit(x, y)) {
                box = box.united({x, y, x + 1, y + 1});
            }
        }
    }
    return box.isEmpty() ? Rect{} : box;
}

Rect changedBox(const Canvas& c, std::uint32_t background) {
    return boxWhere(c, [&](int x, int y) { return c.pixels().argb(x, y) != background; });
}

Rect differenceBox(const Canvas& a, const Canvas& b) {
    return boxWhere(a,
                    [&](int x, int y) { return a.pixels().argb(x, y) != b.pixels().argb(x, y); });
}

int alphaOf(std::uint32_t argb) {
    return int(argb >> 24);
}

std::uint64_t totalAlpha(const Canvas& c) {
    std::uint64_t sum = 0;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            sum += std::uint64_t(alphaOf(c.pixels().argb(x, y)));
        }
    }
    return sum;
}

bool samePixels(const Canvas& a, const Canvas& b) {
    return a.pixels().byteSize() == b.pixels().byteSize() &&
           std::equal(a.pixels().data(), a.pixels().data() + a.pixels().byteSize(),
                      b.pixels().data());
}

// Faces skins name, the family that must stand in for them and the one that draws Chinese
// characters in them.
struct FaceCase {
    std::u16string_view face;
    std::u16string_view family;
    std::u16string_view chineseFamily;
};

constexpr FaceCase kFaceCases[] = {
    {u"宋体", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"SimSun", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"simsun", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"新宋体", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"NSimSun", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"黑体", u"WenQuanYi Zen Hei", u"WenQuanYi Zen Hei"},
    {u"SimHei", u"WenQuanYi Zen Hei", u"WenQuanYi Zen Hei"},
    {u"微软雅黑", u"WenQuanYi Zen Hei", u"WenQuanYi Zen Hei"},
    {u"Microsoft YaHei", u"WenQuanYi Zen Hei", u"WenQuanYi Zen Hei"},
    {u"楷体", u"AR PL UKai CN", u"AR PL UKai CN"},
    {u"KaiTi", u"AR PL UKai CN", u"AR PL UKai CN"},
    {u"仿宋", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"FangSong", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"Arial", u"Liberation Sans", u"WenQuanYi Zen Hei"},
    {u"Tahoma", u"Liberation Sans", u"WenQuanYi Zen Hei"},
    {u"Verdana", u"Liberation Sans", u"WenQuanYi Zen Hei"},
    {u"Times New Roman", u"Liberation Serif", u"AR PL UMing CN"},
    {u"Courier New", u"Liberation Mono", u"WenQuanYi Zen Hei Mono"},
    // Faces nobody installs, and no face at all, get the Chinese system face.
    {u"", u"AR PL UMing CN", u"AR PL UMing CN"},
    {u"No Such Face 9", u"AR PL UMing CN", u"AR PL UMing CN"},
};

TEST(TextFonts, FacesResolveToInstalledFamiliesThatDrawChinese) {
    for (const FaceCase& c : kFaceCases) {
        SCOPED_TRACE(utf16ToUtf8(c.face));
        for (int weight : {400, 700}) {
            Font f = font(c.face, -16, weight);
            EXPECT_EQ(f.family(), c.family);
            EXPECT_EQ(missingGlyphCount(f, kChinese), 0);
            EXPECT_EQ(familiesUsed(f, kChinese),
                      std::vector<std::u16string>{std::u16string(c.chineseFamily)});
        }
    }
}

TEST(TextFonts, LatinFacesDrawLatinInTheirOwnFamilyAndChineseInTheFallback) {
    EXPECT_EQ(familiesUsed(font(u"Arial"), u"Candidates 候选"),
              (std::vector<std::u16string>{u"Liberation Sans", u"WenQuanYi Zen Hei"}));
    EXPECT_EQ(familiesUsed(font(u"Times New Roman"), u"Candidates 候选"),
              (std::vector<std::u16string>{u"Liberation Serif", u"AR PL UMing CN"}));
}

TEST(TextFonts, EqualLogicalFontsShareTheirData) {
    Font a = font(u"宋体", -16, 700);
    Font b = font(u"宋体", -16, 700);
    EXPECT_EQ(&a.data(), &b.data());
    EXPECT_NE(&a.data(), &font(u"宋体", -16, 400).data());
}

TEST(TextFonts, HeightIsTheEmHeightWhenNegativeAndTheCellHeightWhenPositive) {
    for (const FaceCase& c : kFaceCases) {
        SCOPED_TRACE(utf16ToUtf8(c.face));
        Font em16 = font(c.face, -16);
        EXPECT_EQ(em16.emHeight(), 16);
        EXPECT_GE(em16.lineHeight(), 16);
        EXPECT_LE(em16.lineHeight(), 22);
        EXPECT_EQ(em16.lineHeight(), em16.ascent() + em16.descent());
        for (int cell : {12, 16, 20, 28}) {
            Font f = font(c.face, cell);
            EXPECT_LE(f.lineHeight(), cell);
            EXPECT_GE(f.lineHeight(), cell - 2);
            EXPECT_LE(f.emHeight(), cell);
        }
    }
}

TEST(TextFonts, OutlandishLogicalFontsStillMakeUsableFonts) {
    for (LogicalFont logical :
         {LogicalFont{u"宋体", 0, 0, false}, LogicalFont{u"宋体", INT_MIN, 400, false},
          LogicalFont{u"宋体", INT_MAX, -5, false}, LogicalFont{u"Arial", -1, 99999, true}}) {
        Font f(logical);
        EXPECT_GT(f.emHeight(), 0);
        EXPECT_GT(f.lineHeight(), 0);
        EXPECT_GT(measureText(f, u"输入").cx, 0);
    }
}

TEST(TextMeasure, WidthsGrowWithTheTextAndAddUpPerCharacter) {
    for (const FaceCase& c : kFaceCases) {
        SCOPED_TRACE(utf16ToUtf8(c.face));
        Font f = font(c.face);
        EXPECT_EQ(measureText(f, u""), (Size{0, f.lineHeight()}));
        EXPECT_EQ(measureText(f, kCandidates).cy, f.lineHeight());
        int previous = 0;
        for (std::size_t n = 1; n <= kChinese.size(); ++n) {
            int width = measureText(f, kChinese.substr(0, n)).cx;
            EXPECT_GT(width, previous);
            previous = width;
        }
        EXPECT_GT(measureText(f, u"输").cx, measureText(f, u"i").cx);
        // The engine lays candidates out by measuring them a character at a time; kerning
        // pairs (AV, Wo) and ligatures (fi, ff) would make the whole differ from the sum.
        for (std::u16string_view text : {kCandidates, std::u16string_view(u"AVATAR Wolf office")}) {
            int sum = 0;
            for (char16_t ch : text) {
                sum += measureText(f, std::u16string_view(&ch, 1)).cx;
            }
            EXPECT_EQ(measureText(f, text).cx, sum);
        }
    }
}

TEST(TextMeasure, BoldIsAtLeastAsWideAndDrawsMoreInk) {
    for (std::u16string_view face : {u"宋体", u"微软雅黑", u"Arial", u"Times New Roman"}) {
        SCOPED_TRACE(utf16ToUtf8(face));
        for (std::u16string_view text : {kCandidates, std::u16string_view(u"Bold Wolf")}) {
            EXPECT_GE(measureText(font(face, -16, 700), text).cx,
                      measureText(font(face, -16, 400), text).cx);
            Canvas normal = canvas(300, 30);
            Canvas bold = canvas(300, 30);
            DrawTextAlpha(normal, text, 0, normal.bounds(), font(face, -16, 400), kDtLeft);
            DrawTextAlpha(bold, text, 0, bold.bounds(), font(face, -16, 700), kDtLeft);
            EXPECT_GT(totalAlpha(bold), totalAlpha(normal) * 11 / 10);
        }
    }
}

TEST(TextMeasure, InkStaysWithinTheMeasuredWidth) {
    for (std::u16string_view face : {u"宋体", u"黑体", u"Arial"}) {
        SCOPED_TRACE(utf16ToUtf8(face));
        Font f = font(face);
        Canvas c = canvas(300, 40);
        const Rect rect{10, 5, 290, 35};
        DrawTextAlpha(c, kCandidates, 0, rect, f, kDtLeft);
        Rect ink = changedBox(c, 0);
        EXPECT_GE(ink.left, rect.left);
        EXPECT_LE(ink.right, rect.left + measureText(f, kCandidates).cx + 1);
        EXPECT_GE(ink.top, rect.top);
        EXPECT_LE(ink.bottom, rect.top + f.lineHeight());
    }
}

TEST(DrawTextAlpha, PaintsTheColourWithCoverageAsAlpha) {
    Canvas c = canvas(80, 50);
    const Rect rect{4, 4, 76, 46};
    // The colour's top byte is not alpha and is ignored.
    ASSERT_EQ(DrawTextAlpha(c, u"田", 0xFF336699, rect, font(u"黑体", -40, 700), kDtLeft), 1);
    int covered = 0;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const std::uint32_t argb = c.pixels().argb(x, y);
            if (alphaOf(argb) == 255) {
                ++covered;
                EXPECT_EQ(argb, 0xFF996633u) << x << "," << y;
            }
            if (!rect.contains(x, y)) {
                EXPECT_EQ(argb, 0u) << x << "," << y;
            }
        }
    }
    EXPECT_GT(covered, 100);
    // Inside the glyph's boxes (the cells of 田) nothing is drawn.
    const Rect ink = changedBox(c, 0);
    EXPECT_EQ(c.pixels().argb(ink.left + ink.width() / 4, ink.top + ink.height() / 4), 0u);
}

TEST(DrawTextAlpha, BlendsOntoAnOpaqueBackground) {
    constexpr std::uint32_t background = 0xFF204060;
    Canvas c = canvas(200, 40, background);
    DrawTextAlpha(c, kCandidates, 0xFFFFFF, c.bounds(), font(u"微软雅黑", -20, 700), kDtLeft);
    bool white = false;
    bool between = false;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const std::uint32_t argb = c.pixels().argb(x, y);
            ASSERT_EQ(alphaOf(argb), 255);
            white |= argb == 0xFFFFFFFF;
            const int green = (argb >> 8) & 0xFF;
            between |= green > 0x40 && green < 0xFF;
        }
    }
    EXPECT_TRUE(white);
    EXPECT_TRUE(between);  // anti-aliased edges mix the colour with the background
}

TEST(DrawText, AlignmentPlacesTheLineInTheRect) {
    const Rect rect{10, 10, 190, 70};
    const Font f = font(u"宋体");
    const Size size = measureText(f, u"田口");
    struct Case {
        unsigned format;
        int dx;
        int dy;
    };
    const Case cases[] = {
        {kDtLeft | kDtTop, 0, 0},
        {kDtCenter, (rect.width() - size.cx) / 2, 0},
        {kDtRight, rect.width() - size.cx, 0},
        {kDtSingleLine | kDtVCenter, 0, (rect.height() - size.cy) / 2},
        {kDtSingleLine | kDtBottom, 0, rect.height() - size.cy},
        {kDtSingleLine | kDtCenter | kDtVCenter, (rect.width() - size.cx) / 2,
         (rect.height() - size.cy) / 2},
        {kDtSingleLine | kDtRight | kDtBottom, rect.width() - size.cx, rect.height() - size.cy},
        // Vertical placement needs a single line, as in GDI.
        {kDtVCenter, 0, 0},
        {kDtBottom | kDtRight, rect.width() - size.cx, 0},
    };
    using Draw =
        int (*)(Canvas&, std::u16string_view, std::uint32_t, const Rect&, const Font&, unsigned);
    for (Draw draw : {Draw(&DrawTextAlpha), Draw(&DrawTextOpaque)}) {
        Canvas reference = canvas(200, 80, 0xFFFFFFFF);
        draw(reference, u"田口", 0, rect, f, kDtLeft | kDtTop);
        const Rect home = changedBox(reference, 0xFFFFFFFF);
        ASSERT_FALSE(home.isEmpty());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.format);
            Canvas placed = canvas(200, 80, 0xFFFFFFFF);
            EXPECT_EQ(draw(placed, u"田口", 0, rect, f, c.format), 1);
            EXPECT_EQ(changedBox(placed, 0xFFFFFFFF), home.offset(c.dx, c.dy));
        }
    }
}

TEST(DrawText, FallbackCharactersDoNotMoveTheBaseline) {
    // Chinese characters in a Latin face come from a font with a taller ascent; the Latin
    // glyphs stay where the face's own metrics put them.
    const Font f = font(u"Arial", -16);
    const int latinWidth = measureText(f, u"Wolf").cx;
    Canvas latin = canvas(100, 30);
    Canvas mixed = canvas(100, 30);
    DrawTextAlpha(latin, u"Wolf", 0, latin.bounds(), f, kDtSingleLine | kDtVCenter);
    DrawTextAlpha(mixed, u"Wolf输入", 0, mixed.bounds(), f, kDtSingleLine | kDtVCenter);
    latin.fill({latinWidth, 0, 100, 30}, 0);
    mixed.fill({latinWidth, 0, 100, 30}, 0);
    EXPECT_TRUE(samePixels(latin, mixed));
}

TEST(DrawText, BothWaysDrawTheSameGlyphs) {
    const Font f = font(u"Times New Roman", -18);
    Canvas alpha = canvas(240, 30, 0xFFFFFFFF);
    Canvas opaque = canvas(240, 30, 0xFFFFFFFF, Canvas::Kind::Screen);
    DrawTextAlpha(alpha, kCandidates, 0x000080, alpha.bounds(), f, kDtSingleLine | kDtVCenter);
    DrawTextOpaque(opaque, kCandidates, 0x000080, opaque.bounds(), f, kDtSingleLine | kDtVCenter);
    EXPECT_EQ(changedBox(alpha, 0xFFFFFFFF), changedBox(opaque, 0xFFFFFFFF));
}

TEST(DrawText, TextIsClippedToTheRectAndTheClipBox) {
    const Font f = font(u"黑体", -24);
    const Rect rect{20, 15, 80, 45};
    using Draw =
        int (*)(Canvas&, std::u16string_view, std::uint32_t, const Rect&, const Font&, unsigned);
    for (Draw draw : {Draw(&DrawTextAlpha), Draw(&DrawTextOpaque)}) {
        Canvas c = canvas(120, 60);
        ASSERT_EQ(draw(c, kChinese, 0xFFFFFF, rect, f, kDtSingleLine | kDtVCenter), 1);
        Rect ink = changedBox(c, 0);
        EXPECT_EQ(ink.intersected(rect), ink);
        EXPECT_EQ(ink.right, rect.right);  // the text is wider than the rect: cut at its edge

        Canvas clipped = canvas(120, 60);
        clipped.setClip({0, 0, 50, 60});
        ASSERT_EQ(draw(clipped, kChinese, 0xFFFFFF, rect, f, kDtSingleLine | kDtVCenter), 1);
        ink = changedBox(clipped, 0);
        EXPECT_FALSE(ink.isEmpty());
        EXPECT_EQ(ink.right, 50);

        Canvas outside = canvas(120, 60);
        outside.setClip({90, 0, 120, 60});
        EXPECT_EQ(draw(outside, kChinese, 0xFFFFFF, rect, f, kDtLeft), 1);
        EXPECT_TRUE(changedBox(outside, 0).isEmpty());
    }
}

TEST(DrawText, NothingToDrawReturnsZero) {
    const Font f = font(u"宋体");
    Canvas alpha = canvas(40, 20);
    Canvas screen = canvas(40, 20, 0xFF808080, Canvas::Kind::Screen);
    Canvas empty;
    const Rect rect{0, 0, 40, 20};
    EXPECT_EQ(DrawTextAlpha(alpha, u"", 0, rect, f, kDtLeft), 0);
    EXPECT_EQ(DrawTextAlpha(alpha, u"输", 0, {5, 5, 5, 20}, f, kDtLeft), 0);
    EXPECT_EQ(DrawTextAlpha(screen, u"输", 0, rect, f, kDtLeft), 0);
    EXPECT_EQ(DrawTextOpaque(alpha, u"", 0, rect, f, kDtLeft), 0);
    EXPECT_EQ(DrawTextOpaque(alpha, u"输", 0, {10, 10, 5, 5}, f, kDtLeft), 0);
    EXPECT_EQ(DrawTextOpaque(empty, u"输", 0, rect, f, kDtLeft), 0);
    EXPECT_TRUE(changedBox(alpha, 0).isEmpty());
    EXPECT_TRUE(changedBox(screen, 0xFF808080).isEmpty());
}

TEST(DrawTextOpaque, ChangedPixelsBecomeOpaqueAndTheRestKeepTheirAlpha) {
    for (Canvas::Kind kind : {Canvas::Kind::Alpha, Canvas::Kind::Screen}) {
        constexpr std::uint32_t background = 0x40808080;
        Canvas c = canvas(200, 30, background, kind);
        ASSERT_EQ(DrawTextOpaque(c, kCandidates, 0x0000FF, {2, 2, 198, 28}, font(u"黑体", -20),
                                 kDtSingleLine | kDtVCenter),
                  1);
        int changed = 0;
        bool red = false;
        for (int y = 0; y < c.height(); ++y) {
            for (int x = 0; x < c.width(); ++x) {
                const std::uint32_t argb = c.pixels().argb(x, y);
                if (argb != background) {
                    ++changed;
                    EXPECT_EQ(alphaOf(argb), 255);
                    EXPECT_NE(argb & 0xFFFFFF, background & 0xFFFFFF);
                    red |= argb == 0xFFFF0000;
                }
            }
        }
        EXPECT_GT(changed, 100);
        EXPECT_TRUE(red);
    }
}

TEST(DrawText, PrefixesAreTakenOutAndUnderlineTheNextCharacter) {
    const Font f = font(u"Arial", -20);
    auto draw = [&f](std::u16string_view text, unsigned format) {
        Canvas c = canvas(200, 30);
        DrawTextAlpha(c, text, 0, c.bounds(), f, format | kDtSingleLine | kDtVCenter);
        return c;
    };
    const Canvas plain = draw(u"File", kDtNoPrefix);
    EXPECT_TRUE(samePixels(draw(u"A&&B", 0), draw(u"A&B", kDtNoPrefix)));
    EXPECT_TRUE(samePixels(draw(u"File&", 0), plain));
    EXPECT_FALSE(samePixels(draw(u"&File", kDtNoPrefix), plain));

    // "&File" is "File" with an underline below the F only.
    const Rect extra = differenceBox(draw(u"&File", 0), plain);
    const Rect ink = changedBox(plain, 0);
    const int baseline = (30 - f.lineHeight()) / 2 + f.ascent();
    ASSERT_FALSE(extra.isEmpty());
    EXPECT_GE(extra.top, baseline);
    EXPECT_LE(extra.left, ink.left + 1);
    EXPECT_LT(extra.right, ink.left + measureText(f, u"F").cx + 2);

    // An underlined font underlines everything, mnemonic or not.
    Canvas underlined = canvas(200, 30);
    DrawTextAlpha(underlined, u"File", 0, underlined.bounds(), font(u"Arial", -20, 400, true),
                  kDtSingleLine | kDtVCenter);
    const Rect line = changedBox(underlined, 0);
    EXPECT_GT(line.bottom, ink.bottom);
    EXPECT_GE(line.width(), measureText(f, u"File").cx - 1);
}

TEST(FontFamilies, ListsInstalledFamiliesAndTheWindowsFaces) {
    const std::vector<std::u16string> chinese = chineseFontFamilies();
    const std::vector<std::u16string> latin = latinFontFamilies();
    for (const auto* list : {&chinese, &latin}) {
        EXPECT_TRUE(std::is_sorted(list->begin(), list->end()));
        EXPECT_EQ(std::adjacent_find(list->begin(), list->end()), list->end());
    }
    auto has = [](const std::vector<std::u16string>& list, std::u16string_view name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::u16string_view name :
         {u"AR PL UMing CN", u"文泉驿正黑", u"宋体", u"SimSun", u"微软雅黑", u"楷体"}) {
        EXPECT_TRUE(has(chinese, name)) << utf16ToUtf8(name);
    }
    for (std::u16string_view name : {u"Liberation Sans", u"Arial", u"Times New Roman"}) {
        EXPECT_TRUE(has(latin, name)) << utf16ToUtf8(name);
    }
    EXPECT_FALSE(has(chinese, u"Arial"));
    EXPECT_FALSE(has(chinese, u"Liberation Sans"));
    EXPECT_FALSE(has(latin, u"宋体"));
    // Whatever the list offers draws Chinese.
    for (const std::u16string& name : chinese) {
        EXPECT_EQ(missingGlyphCount(font(name), kChinese), 0) << utf16ToUtf8(name);
    }
}

}  // namespace
}  // namespace tandel
