#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "Codecs.h"
#include "Corpus.h"
#include "PngTestFiles.h"
#include "TestFiles.h"

namespace tandel {
namespace {

using testing::corpusEntries;
using testing::corpusFolder;
using testing::readFile;

std::vector<std::uint8_t> corpusFile(const std::string& path) {
    return readFile(corpusFolder() / path);
}

// Whether the file stores transparency: an alpha channel by its IHDR colour type, or tRNS.
bool storesTransparency(const std::vector<std::uint8_t>& file) {
    const std::string trns = "tRNS";
    return (file.at(25) & 4) != 0 ||
           std::search(file.begin(), file.end(), trns.begin(), trns.end()) != file.end();
}

bool everyAlphaIsOpaque(const Bitmap& bitmap) {
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y)[3] != 255) {
                return false;
            }
        }
    }
    return true;
}

bool samePixels(const Bitmap& a, const Bitmap& b) {
    return a.width() == b.width() && a.height() == b.height() && a.byteSize() == b.byteSize() &&
           std::equal(a.data(), a.data() + a.byteSize(), b.data());
}

TEST(PngCodec, PngSuiteDecodesOrRefusesAsIndexed) {
    const std::vector<testing::CorpusEntry> entries = corpusEntries("pngsuite/");
    ASSERT_FALSE(entries.empty());
    for (const testing::CorpusEntry& entry : entries) {
        SCOPED_TRACE(entry.path);
        const std::vector<std::uint8_t> file = corpusFile(entry.path);
        DecodedImage image;
        std::string why;
        const bool decoded = decodePng(file, image, &why);
        if (entry.expect == "refuse") {
            EXPECT_FALSE(decoded);
            EXPECT_FALSE(why.empty());
            continue;
        }
        ASSERT_TRUE(decoded) << why;
        EXPECT_EQ(image.format, PictureFormat::Png);
        EXPECT_EQ(image.still.width(), entry.width);
        EXPECT_EQ(image.still.height(), entry.height);
        EXPECT_EQ(image.canvasWidth, entry.width);
        EXPECT_EQ(image.canvasHeight, entry.height);
        EXPECT_TRUE(image.frames.empty());
        EXPECT_FALSE(image.hasLoopCount);
        const bool transparent = storesTransparency(file);
        EXPECT_EQ(image.still.hasAlpha(), transparent);
        if (!transparent) {
            EXPECT_TRUE(everyAlphaIsOpaque(image.still));
        }
    }
}

TEST(PngCodec, InterlacedFilesMatchTheirNonInterlacedTwins) {
    std::set<std::string> names;
    for (const testing::CorpusEntry& entry : corpusEntries("pngsuite/")) {
        if (entry.expect == "decode") {
            names.insert(entry.path.substr(std::string("pngsuite/").size()));
        }
    }
    std::map<std::string, std::string> twins;  // interlaced name -> plain name
    for (const std::string& name : names) {
        std::string plain = name;
        if (name.size() == 12 && name[3] == 'i' && names.count(plain.replace(3, 1, "n")) != 0) {
            twins[name] = plain;
        }
    }
    ASSERT_GE(twins.size(), 15u);
    for (const auto& [interlaced, plain] : twins) {
        SCOPED_TRACE(interlaced);
        DecodedImage a, b;
        ASSERT_TRUE(decodePng(corpusFile("pngsuite/" + interlaced), a, nullptr));
        ASSERT_TRUE(decodePng(corpusFile("pngsuite/" + plain), b, nullptr));
        EXPECT_TRUE(samePixels(a.still, b.still));
        EXPECT_EQ(a.still.hasAlpha(), b.still.hasAlpha());
    }
}

TEST(PngCodec, KnownPixels) {
    struct Case {
        const char* file;
        int x, y;
        std::uint32_t argb;
    };
    const Case cases[] = {
        // RGB 8-bit corners.
        {"basn2c08.png", 0, 0, 0xFFFFFFFF},
        {"basn2c08.png", 31, 0, 0xFFFFFFE0},
        {"basn2c08.png", 0, 31, 0xFF1F1F1F},
        {"basn2c08.png", 31, 31, 0xFF000000},
        // Palette entry 0 is made transparent by tRNS and keeps its colour.
        {"tbbn3p08.png", 0, 0, 0x00FFFFFF},
        {"tbbn3p08.png", 31, 31, 0x00FFFFFF},
        {"tbbn3p08.png", 17, 3, 0xFFA84242},
        // 16-bit grey rounded to the nearest 8-bit value: 0x00FF -> 1, 0x9F00 -> 158.
        {"basn0g16.png", 31, 31, 0xFF010101},
        {"basn0g16.png", 17, 3, 0xFF9E9E9E},
        {"basn0g16.png", 31, 0, 0xFFBABABA},
    };
    for (const Case& c : cases) {
        DecodedImage image;
        ASSERT_TRUE(decodePng(corpusFile(std::string("pngsuite/") + c.file), image, nullptr));
        EXPECT_EQ(image.still.argb(c.x, c.y), c.argb) << c.file << " (" << c.x << "," << c.y << ")";
    }
}

TEST(PngCodec, EncodedPicturesDecodeToTheSamePixels) {
    struct Case {
        bool hasAlpha;
        std::uint8_t colourType;
    };
    for (const Case c : {Case{false, 2}, Case{true, 6}}) {
        SCOPED_TRACE(c.hasAlpha ? "with alpha" : "opaque");
        Bitmap bitmap = *Bitmap::create(7, 5);
        bitmap.setHasAlpha(c.hasAlpha);
        for (int y = 0; y < bitmap.height(); ++y) {
            for (int x = 0; x < bitmap.width(); ++x) {
                const std::uint32_t alpha = c.hasAlpha ? std::uint32_t(x * 40 + y) : 255;
                bitmap.setArgb(x, y,
                               alpha << 24 | std::uint32_t(x * 36) << 16 |
                                   std::uint32_t(y * 60) << 8 | std::uint32_t(x * y));
            }
        }
        const std::optional<std::vector<std::uint8_t>> file = encodePng(bitmap);
        ASSERT_TRUE(file.has_value());
        ASSERT_GT(file->size(), 29u);
        EXPECT_EQ((*file)[24], 8);             // bit depth
        EXPECT_EQ((*file)[25], c.colourType);  // colour type
        EXPECT_EQ((*file)[28], 0);             // not interlaced
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodePng(*file, image, &why)) << why;
        EXPECT_TRUE(samePixels(image.still, bitmap));
        EXPECT_EQ(image.still.hasAlpha(), c.hasAlpha);
    }
    EXPECT_FALSE(encodePng(Bitmap{}).has_value());
}

TEST(PngCodec, RefusesPicturesOverTheLimitsBeforeAllocating) {
    struct Case {
        std::uint32_t width, height;
    };
    for (const Case c : {Case{100000, 100000}, Case{8193, 1}, Case{1, 8193}, Case{8192, 8193}}) {
        // The image data is that of one pixel: a decoder allocating first would fail on it
        // only after reserving the whole picture.
        const std::vector<std::uint8_t> file =
            testing::pngFile({testing::ihdrChunk(c.width, c.height),
                              {"IDAT", testing::solidImageData(1, 1, 0xFF0000FF)},
                              {"IEND", {}}});
        DecodedImage image;
        std::string why;
        EXPECT_FALSE(decodePng(file, image, &why)) << c.width << " x " << c.height;
        EXPECT_NE(why.find("size limit"), std::string::npos) << why;
    }
}

TEST(PngCodec, DamagedFilesNeverReadOutsideTheirBytes) {
    for (const char* name : {"basn2c08.png", "basi3p02.png", "tbbn3p08.png", "basn6a16.png"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> file = corpusFile(std::string("pngsuite/") + name);
        for (std::size_t length = 0; length < file.size(); ++length) {
            // Each cut lives in its own allocation so that a read past it is caught.
            const std::vector<std::uint8_t> cut(file.begin(),
                                                file.begin() + std::ptrdiff_t(length));
            DecodedImage image;
            std::string why;
            if (decodePng(cut, image, &why)) {
                EXPECT_EQ(image.still.width(), 32) << "cut at " << length;
            } else {
                EXPECT_FALSE(why.empty()) << "cut at " << length;
            }
        }
        for (std::size_t at = 0; at < file.size(); ++at) {
            std::vector<std::uint8_t> damaged = file;
            damaged[at] ^= 0xFF;
            DecodedImage image;
            if (decodePng(damaged, image, nullptr)) {
                EXPECT_EQ(image.still.width(), 32) << "byte " << at;
            }
        }
    }
}

}  // namespace
}  // namespace tandel
