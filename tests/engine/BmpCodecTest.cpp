#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "Codecs.h"
#include "Corpus.h"
#include "TestFiles.h"

namespace tandel {
namespace {

using testing::corpusEntries;
using testing::corpusFolder;
using testing::readFile;

std::vector<std::uint8_t> corpusFile(const std::string& path) {
    return readFile(corpusFolder() / path);
}

// The reference renderings bmpsuite.html shows next to each BMP ("g/pal1.bmp" -> "pal1.png"),
// several where it accepts more than one rendering.
std::map<std::string, std::vector<std::string>> referenceRenderings() {
    std::ifstream in(corpusFolder() / "bmpsuite/html/bmpsuite.html");
    std::stringstream text;
    text << in.rdbuf();
    std::string html = text.str();
    const std::regex source("src=\"([^\"]+)\"");
    std::map<std::string, std::vector<std::string>> references;
    std::size_t start = html.find("<tr>");
    while (start != std::string::npos) {
        std::size_t end = html.find("<tr>", start + 1);
        std::string row = html.substr(start, end == std::string::npos ? end : end - start);
        std::string bmp;
        std::vector<std::string> pngs;
        for (std::sregex_iterator it(row.begin(), row.end(), source), last; it != last; ++it) {
            std::string name = (*it)[1];
            if (name.rfind("../", 0) == 0) {
                bmp = "bmpsuite/" + name.substr(3);
            } else if (name.ends_with(".png")) {
                pngs.push_back("bmpsuite/html/" + name);
            }
        }
        if (!bmp.empty()) {
            references[bmp] = pngs;
        }
        start = end;
    }
    return references;
}

// Whether the pictures agree: the same size and alpha, and the same colour where not fully
// transparent.
::testing::AssertionResult samePixels(const Bitmap& actual, const Bitmap& expected) {
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        return ::testing::AssertionFailure()
               << "size " << actual.width() << "x" << actual.height() << " instead of "
               << expected.width() << "x" << expected.height();
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            std::uint32_t a = actual.argb(x, y);
            std::uint32_t e = expected.argb(x, y);
            if (a != e && !(a >> 24 == 0 && e >> 24 == 0)) {
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                     << std::hex << a << " instead of " << e;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Whether the picture matches one of the renderings bmpsuite.html accepts for it.
::testing::AssertionResult matchesReference(const std::string& path, const Bitmap& bitmap) {
    static const std::map<std::string, std::vector<std::string>> references = referenceRenderings();
    auto found = references.find(path);
    if (found == references.end() || found->second.empty()) {
        return ::testing::AssertionFailure() << "no reference rendering for " << path;
    }
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    for (const std::string& png : found->second) {
        DecodedImage reference;
        std::string why;
        if (!decodePng(corpusFile(png), reference, &why)) {
            return ::testing::AssertionFailure() << png << ": " << why;
        }
        ::testing::AssertionResult same = samePixels(bitmap, reference.still);
        if (same) {
            return same;
        }
        result << png << ": " << same.message() << "; ";
    }
    return result;
}

// What the decoder does with the suite's questionable and bad files, where either outcome would
// be acceptable: these are refused, these decode without a reference to match, and every other
// one decodes and matches one of its references.
const std::set<std::string> kRefusedOnPurpose = {
    "bmpsuite/q/pal1huffmsb.bmp",  // OS/2 Huffman compression
    "bmpsuite/q/rgb24jpeg.bmp",    // embedded JPEG
    "bmpsuite/q/rgb24png.bmp",     // embedded PNG
    "bmpsuite/q/rgba64.bmp",       // 64 bits per pixel
    "bmpsuite/b/badplanes.bmp",    // planes must be 1
    "bmpsuite/b/badrle.bmp",       // RLE runs past the picture
    "bmpsuite/b/badrle4.bmp",      // RLE runs past the picture
    "bmpsuite/b/badrle4bis.bmp",   // RLE runs past the picture
    "bmpsuite/b/badrle4ter.bmp",   // RLE runs past the picture
    "bmpsuite/b/badrlebis.bmp",    // RLE runs past the picture
    "bmpsuite/b/badrleter.bmp",    // RLE runs past the picture
    "bmpsuite/b/rletopdown.bmp",   // RLE cannot be top-down
    "bmpsuite/b/shortfile.bmp",    // truncated
    "bmpsuite/x/ba-bm.bmp",        // an OS/2 bitmap array
};
const std::set<std::string> kDecodedWithoutReference = {
    // The references are 16-bit PNGs, which decodePng does not reduce to 8 bits exactly; the
    // wide channels are checked against computed values below instead.
    "bmpsuite/q/rgb32-7187.bmp",
    "bmpsuite/q/rgba32-61754.bmp",
    "bmpsuite/q/rgba32-81284.bmp",
    // Its 8-bit reference rounds the source colours, not the stored 11- and 10-bit values.
    "bmpsuite/q/rgb32-111110.bmp",
    // Bad header fields that do not matter to decoding; the suite shows no rendering.
    "bmpsuite/b/badbitssize.bmp",
    "bmpsuite/b/baddens1.bmp",
    "bmpsuite/b/baddens2.bmp",
    "bmpsuite/b/badfilesize.bmp",
    "bmpsuite/b/badpalettesize.bmp",
    "bmpsuite/b/pal8badindex.bmp",
};

TEST(BmpSuite, EveryPictureDecodesOrIsRefusedAsListed) {
    std::vector<testing::CorpusEntry> entries = corpusEntries("bmpsuite/");
    ASSERT_FALSE(entries.empty());
    for (const testing::CorpusEntry& entry : entries) {
        SCOPED_TRACE(entry.path);
        DecodedImage image;
        std::string why;
        bool decoded = decodeBmp(corpusFile(entry.path), image, &why);
        bool refuse = entry.expect == "refuse" ||
                      (entry.expect == "either" && kRefusedOnPurpose.contains(entry.path));
        if (refuse) {
            EXPECT_FALSE(decoded);
            EXPECT_TRUE(why.starts_with("BMP: ")) << why;
            continue;
        }
        ASSERT_TRUE(decoded) << why;
        EXPECT_EQ(image.format, PictureFormat::Bmp);
        if (entry.width > 0) {
            EXPECT_EQ(image.still.width(), entry.width);
            EXPECT_EQ(image.still.height(), entry.height);
        }
        EXPECT_EQ(image.canvasWidth, image.still.width());
        EXPECT_EQ(image.canvasHeight, image.still.height());
        EXPECT_TRUE(image.frames.empty());
        if (!kDecodedWithoutReference.contains(entry.path)) {
            EXPECT_TRUE(matchesReference(entry.path, image.still));
        }
    }
}

TEST(BmpSuite, AlphaOnlyWhereThePictureHasIt) {
    struct Case {
        const char* path;
        bool hasAlpha;
    };
    const Case cases[] = {
        {"bmpsuite/g/pal8.bmp", false},
        {"bmpsuite/g/rgb24.bmp", false},
        {"bmpsuite/g/rgb32.bmp", false},
        {"bmpsuite/g/pal8rle.bmp", false},         // every pixel written
        {"bmpsuite/q/rgb32fakealpha.bmp", false},  // the fourth byte is not alpha
        {"bmpsuite/q/rgb16faketrns.bmp", false},   // nor is the 16th bit
        {"bmpsuite/q/pal8rletrns.bmp", true},      // skipped pixels
        {"bmpsuite/q/pal4rlecut.bmp", true},
        {"bmpsuite/q/rgba32-1.bmp", true},  // V5 alpha mask
        {"bmpsuite/q/rgba16-5551.bmp", true},
        {"bmpsuite/q/rgba32abf.bmp", true},  // BI_ALPHABITFIELDS
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeBmp(corpusFile(c.path), image, &why)) << why;
        EXPECT_EQ(image.still.hasAlpha(), c.hasAlpha);
        bool allOpaque = true;
        for (int y = 0; y < image.still.height(); ++y) {
            for (int x = 0; x < image.still.width(); ++x) {
                allOpaque = allOpaque && image.still.pixel(x, y)[3] == 255;
            }
        }
        EXPECT_EQ(allOpaque, !c.hasAlpha);
    }
}

TEST(BmpSuite, TruncatedFilesAreRefused) {
    for (const testing::CorpusEntry& entry : corpusEntries("bmpsuite/")) {
        std::vector<std::uint8_t> bytes = corpusFile(entry.path);
        DecodedImage image;
        // Files with bytes after their pixel data can lose those and still decode.
        if (entry.path == "bmpsuite/q/rgb24lprof.bmp" || !decodeBmp(bytes, image, nullptr)) {
            continue;
        }
        SCOPED_TRACE(entry.path);
        // Every length through the headers and palette, then steps through the pixels.
        for (std::size_t size = 0; size < bytes.size();
             size += size < 1200 || size + 8 > bytes.size() ? 1 : 97) {
            std::string why;
            ASSERT_FALSE(decodeBmp(std::span(bytes).first(size), image, &why)) << size;
            ASSERT_TRUE(why.starts_with("BMP: ")) << why;
        }
    }
}

// A BMP with a Windows info header of headerSize bytes; masks are written from byte 40 of the
// header on, past its end for a 40-byte header, and the palette follows.
struct BmpRecipe {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB; its size is the colour count
    std::vector<std::uint8_t> pixels;
};

void set16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
}

void set32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    set16(out, at, v & 0xFFFF);
    set16(out, at + 2, v >> 16);
}

std::vector<std::uint8_t> bmpBytes(const BmpRecipe& r) {
    std::size_t infoSize = std::max<std::size_t>(r.headerSize, 40 + 4 * r.masks.size());
    std::size_t pixelOffset = 14 + infoSize + 4 * r.palette.size();
    std::vector<std::uint8_t> out(pixelOffset);
    out[0] = 'B';
    out[1] = 'M';
    set32(out, 2, std::uint32_t(pixelOffset + r.pixels.size()));
    set32(out, 10, std::uint32_t(pixelOffset));
    set32(out, 14, r.headerSize);
    set32(out, 18, std::uint32_t(r.width));
    set32(out, 22, std::uint32_t(r.height));
    set16(out, 26, r.planes);
    set16(out, 28, r.bits);
    set32(out, 30, r.compression);
    set32(out, 46, std::uint32_t(r.palette.size()));
    for (std::size_t i = 0; i < r.masks.size(); ++i) {
        set32(out, 54 + 4 * i, r.masks[i]);
    }
    for (std::size_t i = 0; i < r.palette.size(); ++i) {
        set32(out, 14 + infoSize + 4 * i, r.palette[i]);
    }
    out.insert(out.end(), r.pixels.begin(), r.pixels.end());
    return out;
}

std::vector<std::uint32_t> argbPixels(const Bitmap& bitmap) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            pixels.push_back(bitmap.argb(x, y));
        }
    }
    return pixels;
}

std::vector<std::uint8_t> littleEndian(std::uint32_t v, int bytes) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(std::uint8_t(v >> (8 * i)));
    }
    out.resize(4, 0);  // row padding
    return out;
}

TEST(BmpCodec, ChannelsAreScaledByTheirWidth) {
    struct Case {
        const char* what;
        std::uint32_t headerSize;
        std::uint16_t bits;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
        std::uint32_t pixel;
        std::uint32_t argb;
        bool hasAlpha;
    };
    const Case cases[] = {
        {"5-5-5 white", 40, 16, 0, {}, 0x7FFF, 0xFFFFFFFF, false},
        {"5-5-5 middle", 40, 16, 0, {}, 0x4210, 0xFF848484, false},
        {"5-5-5 ignores the top bit", 40, 16, 0, {}, 0x801F, 0xFF0000FF, false},
        {"5-6-5 white", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, 0xFFFF, 0xFFFFFFFF, false},
        {"2-3-1", 40, 16, 3, {0x30, 0x0E, 0x01}, 0x1F, 0xFF55FFFF, false},
        {"4-4-4-4 in a V5 header",
         124,
         16,
         3,
         {0x0F00, 0x00F0, 0x000F, 0xF000},
         0x8F07,
         0x88FF0077,
         true},
        {"10-10-10-2",
         124,
         32,
         3,
         {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
         0x600003FF,
         0x558000FF,
         true},
        {"7-18-7", 40, 32, 3, {0xFE000000, 0x01FFFF80, 0x0000007F}, 0x00FFFF80, 0xFF007F00, false},
        {"one 32-bit channel", 40, 32, 3, {0xFFFFFFFF, 0, 0}, 0xFFFFFFFF, 0xFFFF0000, false},
        {"8-8-8 ignores the fourth byte", 40, 32, 0, {}, 0x80112233, 0xFF112233, false},
        {"BI_RGB ignores a V5 alpha mask",
         124,
         32,
         0,
         {0, 0, 0, 0xFF000000},
         0x80112233,
         0xFF112233,
         false},
        {"blue-green-red-alpha",
         56,
         32,
         3,
         {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF},
         0x112233C0,
         0xC0332211,
         true},
        {"BI_ALPHABITFIELDS",
         40,
         32,
         6,
         {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
         0x40112233,
         0x40112233,
         true},
        {"a missing channel is 0", 40, 16, 3, {0xFF00, 0x00FF, 0}, 0xFFFF, 0xFFFFFF00, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpRecipe recipe;
        recipe.headerSize = c.headerSize;
        recipe.bits = c.bits;
        recipe.compression = c.compression;
        recipe.masks = c.masks;
        recipe.pixels = littleEndian(c.pixel, c.bits / 8);
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeBmp(bmpBytes(recipe), image, &why)) << why;
        EXPECT_EQ(image.still.argb(0, 0), c.argb) << std::hex << image.still.argb(0, 0);
        EXPECT_EQ(image.still.hasAlpha(), c.hasAlpha);
    }
}

TEST(BmpCodec, PalettesAreUnpackedMostSignificantBitsFirst) {
    constexpr std::uint32_t k0 = 0xFF102030, k1 = 0xFF405060, k2 = 0xFF708090, k3 = 0xFFA0B0C0;
    const std::vector<std::uint32_t> palette = {k0 & 0xFFFFFF, k1 & 0xFFFFFF, k2 & 0xFFFFFF,
                                                k3 & 0xFFFFFF};
    struct Case {
        const char* what;
        std::uint16_t bits;
        std::vector<std::uint32_t> palette;
        std::vector<std::uint8_t> row;
        std::vector<std::uint32_t> argb;  // the first 9 pixels
    };
    const Case cases[] = {
        {"1 bit", 1, palette, {0b10110001, 0b10000000, 0, 0}, {k1, k0, k1, k1, k0, k0, k0, k1, k1}},
        {"2 bits",
         2,
         palette,
         {0b00011011, 0b11100100, 0b01000000, 0},
         {k0, k1, k2, k3, k3, k2, k1, k0, k1}},
        {"4 bits",
         4,
         palette,
         {0x01, 0x23, 0x32, 0x10, 0x20, 0, 0, 0},
         {k0, k1, k2, k3, k3, k2, k1, k0, k2}},
        {"8 bits",
         8,
         palette,
         {0, 1, 2, 3, 3, 2, 1, 0, 2, 0, 0, 0},
         {k0, k1, k2, k3, k3, k2, k1, k0, k2}},
        {"indices past the palette are black",
         8,
         {palette[0], palette[1]},
         {0, 1, 2, 3, 255, 0, 1, 0, 1, 0, 0, 0},
         {k0, k1, 0xFF000000, 0xFF000000, 0xFF000000, k0, k1, k0, k1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpRecipe recipe;
        recipe.width = 9;
        recipe.bits = c.bits;
        recipe.palette = c.palette;
        recipe.pixels = c.row;
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeBmp(bmpBytes(recipe), image, &why)) << why;
        EXPECT_EQ(argbPixels(image.still), c.argb);
        EXPECT_FALSE(image.still.hasAlpha());
    }
}

TEST(BmpCodec, RunLengthStreamsStayInsideThePicture) {
    constexpr std::uint32_t k0 = 0xFF000000, kRed = 0xFFFF0000, kGreen = 0xFF00FF00,
                            kBlue = 0xFF0000FF, kNone = 0;
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    struct Case {
        const char* what;
        std::uint32_t compression;
        std::int32_t width;
        std::int32_t height;
        std::vector<std::uint8_t> stream;
        std::optional<std::vector<std::uint32_t>> argb;  // top-down; nothing when refused
        bool hasAlpha;
    };
    const Case cases[] = {
        {"RLE8 runs, absolute pixels with padding, end of line",
         1,
         4,
         2,
         {4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 1, 2, 0, 1},
         std::vector{kGreen, kBlue, kRed, kGreen, kRed, kRed, kRed, kRed},
         false},
        {"RLE8 moves leave pixels transparent",
         1,
         4,
         2,
         {1, 1, 0, 2, 2, 1, 1, 3, 0, 1},
         std::vector{kNone, kNone, kNone, kBlue, kRed, kNone, kNone, kNone},
         true},
        {"RLE8 early end",
         1,
         4,
         2,
         {2, 2, 0, 1},
         std::vector{kNone, kNone, kNone, kNone, kGreen, kGreen, kNone, kNone},
         true},
        {"RLE4 alternates the two colours of a run; odd absolute runs are padded",
         2,
         5,
         2,
         {5, 0x12, 0, 0, 0, 5, 0x12, 0x30, 0x20, 0, 0, 1},
         std::vector{kRed, kGreen, kBlue, k0, kGreen, kRed, kGreen, kRed, kGreen, kRed},
         false},
        {"run past the end of the row", 1, 4, 1, {5, 1, 0, 1}, std::nullopt, false},
        {"absolute run past the end of the row",
         1,
         4,
         1,
         {0, 5, 1, 1, 1, 1, 1, 0, 0, 1},
         std::nullopt,
         false},
        {"move past the right edge", 1, 4, 2, {0, 2, 5, 0, 0, 1}, std::nullopt, false},
        {"move past the top", 1, 4, 2, {0, 2, 0, 3, 0, 1}, std::nullopt, false},
        {"pixels after the last row", 1, 1, 1, {1, 1, 0, 0, 1, 1, 0, 1}, std::nullopt, false},
        {"no end mark", 1, 4, 1, {4, 1}, std::nullopt, false},
        {"stream ends inside absolute pixels", 1, 4, 1, {0, 4, 1, 1}, std::nullopt, false},
        {"stream ends inside a move", 1, 4, 1, {0, 2, 1}, std::nullopt, false},
        {"top-down", 1, 4, -1, {4, 1, 0, 1}, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpRecipe recipe;
        recipe.width = c.width;
        recipe.height = c.height;
        recipe.bits = c.compression == 1 ? 8 : 4;
        recipe.compression = c.compression;
        recipe.palette = palette;
        recipe.pixels = c.stream;
        DecodedImage image;
        std::string why;
        bool decoded = decodeBmp(bmpBytes(recipe), image, &why);
        if (!c.argb) {
            EXPECT_FALSE(decoded);
            EXPECT_TRUE(why.starts_with("BMP: ")) << why;
            continue;
        }
        ASSERT_TRUE(decoded) << why;
        EXPECT_EQ(argbPixels(image.still), *c.argb);
        EXPECT_EQ(image.still.hasAlpha(), c.hasAlpha);
    }
}

TEST(BmpCodec, BrokenHeadersAreRefused) {
    struct Case {
        const char* what;
        void (*change)(BmpRecipe&);
        std::size_t keep = SIZE_MAX;  // bytes of the file kept
    };
    const Case cases[] = {
        {"width 0", [](BmpRecipe& r) { r.width = 0; }},
        {"height 0", [](BmpRecipe& r) { r.height = 0; }},
        {"negative width", [](BmpRecipe& r) { r.width = -1; }},
        {"height -2^31", [](BmpRecipe& r) { r.height = INT32_MIN; }},
        {"wider than the limit", [](BmpRecipe& r) { r.width = kMaxImageSide + 1; }},
        {"too many pixels", [](BmpRecipe& r) { r.width = r.height = kMaxImageSide; }},
        {"2 planes", [](BmpRecipe& r) { r.planes = 2; }},
        {"header of 66 bytes", [](BmpRecipe& r) { r.headerSize = 66; }},
        {"header of 8 bytes", [](BmpRecipe& r) { r.headerSize = 8; }},
        {"header longer than the file", [](BmpRecipe& r) { r.headerSize = 124; }, 60},
        {"3 bits", [](BmpRecipe& r) { r.bits = 3; }},
        {"64 bits", [](BmpRecipe& r) { r.bits = 64; }},
        {"RLE4 with 8 bits", [](BmpRecipe& r) { r.bits = 8, r.compression = 2; }},
        {"RLE8 with 4 bits", [](BmpRecipe& r) { r.bits = 4, r.compression = 1; }},
        {"bitfields with 24 bits", [](BmpRecipe& r) { r.compression = 3; }},
        {"embedded JPEG", [](BmpRecipe& r) { r.compression = 4; }},
        {"embedded PNG", [](BmpRecipe& r) { r.compression = 5; }},
        {"unknown compression", [](BmpRecipe& r) { r.compression = 7; }},
        {"overlapping masks",
         [](BmpRecipe& r) {
             r.bits = 16, r.compression = 3, r.masks = {0xFF00, 0x0FF0, 0xF};
         }},
        {"scattered mask",
         [](BmpRecipe& r) {
             r.bits = 16, r.compression = 3, r.masks = {0xF0F, 0x00F0, 0};
         }},
        {"mask wider than 16 bits",
         [](BmpRecipe& r) {
             r.bits = 16, r.compression = 3, r.masks = {0x1F0000, 0x3E0, 0x1F};
         }},
        {"file ends inside the masks",
         [](BmpRecipe& r) {
             r.bits = 32, r.compression = 3, r.masks = {0xFF, 0xFF00, 0xFF0000};
         },
         60},
        {"file ends inside the palette", [](BmpRecipe& r) { r.bits = 8, r.palette.assign(200, 0); },
         600},
        {"short pixel rows", [](BmpRecipe& r) { r.width = 2; }},
        {"not BM", [](BmpRecipe& r) { r.pixels[0] = 0; }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpRecipe recipe;
        recipe.pixels = {1, 2, 3, 0};
        c.change(recipe);
        std::vector<std::uint8_t> bytes = bmpBytes(recipe);
        bytes.resize(std::min(bytes.size(), c.keep));
        std::string why;
        DecodedImage image;
        EXPECT_FALSE(decodeBmp(bytes, image, &why));
        EXPECT_TRUE(why.starts_with("BMP: ")) << why;
    }
}

TEST(BmpCodec, PixelDataStartsAfterHeadersMasksAndPalette) {
    BmpRecipe plain;
    plain.pixels = {1, 2, 3, 0};
    BmpRecipe masked;
    masked.bits = 32;
    masked.compression = 3;
    masked.masks = {0xFF0000, 0xFF00, 0xFF};
    masked.pixels = {1, 2, 3, 0};
    struct Case {
        const char* what;
        const BmpRecipe& recipe;
        std::uint32_t offset;
    };
    const Case cases[] = {
        {"offset 0", plain, 0},
        {"inside the header", plain, 40},
        {"past the end", plain, std::uint32_t(bmpBytes(plain).size() + 1)},
        {"inside the masks", masked, 14 + 40 + 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bytes = bmpBytes(c.recipe);
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeBmp(bytes, image, &why)) << why;
        set32(bytes, 10, c.offset);
        EXPECT_FALSE(decodeBmp(bytes, image, &why));
        EXPECT_TRUE(why.starts_with("BMP: ")) << why;
    }
}

TEST(BmpCodec, PalettesEndWherePixelsBegin) {
    // 8 bits per pixel with two colours, 3 bytes each in an OS/2 1.x header, which has no
    // colour count; the pixel is index 1.
    const std::vector<std::uint8_t> os2 = {'B',  'M',  36,   0,    0,    0,    0, 0, 0, 0, 32, 0, 0,
                                           0,    12,   0,    0,    0,    1,    0, 1, 0, 1, 0,  8, 0,
                                           0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 1, 0, 0, 0};
    // Two colours announced, but the pixels begin after the first.
    BmpRecipe recipe;
    recipe.bits = 8;
    recipe.palette = {0x123456, 0x654321};
    recipe.pixels = {1, 0, 0, 0};
    std::vector<std::uint8_t> windows = bmpBytes(recipe);
    set32(windows, 10, 14 + 40 + 4);
    windows.erase(windows.begin() + 14 + 40 + 4, windows.begin() + 14 + 40 + 8);

    struct Case {
        const char* what;
        const std::vector<std::uint8_t>& bytes;
        std::uint32_t argb;
    };
    const Case cases[] = {
        {"OS/2 1.x", os2, 0xFF605040},
        {"cut short", windows, 0xFF000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeBmp(c.bytes, image, &why)) << why;
        EXPECT_EQ(image.still.argb(0, 0), c.argb);
    }
}

Bitmap testPicture(int width, int height, bool alpha) {
    Bitmap bitmap = *Bitmap::create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t a = alpha ? std::uint32_t(x * 60 + y) & 0xFF : 0xFF;
            bitmap.setArgb(x, y,
                           a << 24 | std::uint32_t(x * 40) << 16 | std::uint32_t(y * 50) << 8 |
                               std::uint32_t(x * y * 7));
        }
    }
    bitmap.setHasAlpha(alpha);
    return bitmap;
}

TEST(BmpCodec, EncodedPicturesDecodeToTheSamePixels) {
    struct Case {
        const char* what;
        int width;
        int height;
        bool alpha;
        std::uint32_t headerSize;
        std::uint16_t bits;
    };
    const Case cases[] = {
        {"opaque, padded rows", 5, 3, false, 40, 24},
        {"opaque, unpadded rows", 4, 2, false, 40, 24},
        {"with alpha", 3, 4, true, 108, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap source = testPicture(c.width, c.height, c.alpha);
        std::optional<std::vector<std::uint8_t>> bytes = encodeBmp(source);
        ASSERT_TRUE(bytes);
        ASSERT_GE(bytes->size(), 30u);
        EXPECT_EQ((*bytes)[14], c.headerSize);
        EXPECT_EQ((*bytes)[28], c.bits);
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeImage(*bytes, image, &why)) << why;
        EXPECT_EQ(image.format, PictureFormat::Bmp);
        EXPECT_EQ(argbPixels(image.still), argbPixels(source));
        EXPECT_EQ(image.still.hasAlpha(), c.alpha);
    }
    EXPECT_FALSE(encodeBmp(Bitmap()));
}

}  // namespace
}  // namespace tandel
