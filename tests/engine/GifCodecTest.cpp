#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>

#include "Codecs.h"
#include "Corpus.h"
#include "FrameComposer.h"
#include "TestFiles.h"

namespace tandel {
namespace {

namespace fs = std::filesystem;

// How many images a decoded GIF holds: a single image leaves `frames` empty.
std::size_t imageCount(const DecodedImage& image) {
    return image.frames.empty() ? 1 : image.frames.size();
}

// What the GIF shows while each image is current.
std::vector<Bitmap> shownFrames(const DecodedImage& image) {
    if (image.frames.empty()) {
        return {image.still};
    }
    return composeFrames(image);
}

// Equal pixels; where the expected pixel is fully transparent only the alpha counts.
::testing::AssertionResult samePixels(const Bitmap& actual, const Bitmap& expected) {
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        return ::testing::AssertionFailure()
               << "size " << actual.width() << " x " << actual.height() << ", expected "
               << expected.width() << " x " << expected.height();
    }
    int wrong = 0;
    std::ostringstream first;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const std::uint32_t a = actual.argb(x, y), e = expected.argb(x, y);
            if ((e >> 24 == 0) ? (a >> 24 == 0) : (a == e)) {
                continue;
            }
            if (wrong++ == 0) {
                first << "at (" << x << ", " << y << ") 0x" << std::hex << a << ", expected 0x"
                      << e;
            }
        }
    }
    if (wrong != 0) {
        return ::testing::AssertionFailure() << wrong << " pixels differ, first " << first.str();
    }
    return ::testing::AssertionSuccess();
}

struct Decoded {
    bool ok = false;
    std::string why;
    DecodedImage image;
};

Decoded decode(std::span<const std::uint8_t> bytes) {
    Decoded d;
    d.ok = decodeGif(bytes, d.image, &d.why);
    return d;
}

Decoded decodeFile(const fs::path& path) {
    return decode(testing::readFile(path));
}

// giflib rejects LZW minimum code sizes above 8 before reading any code; this suite file uses
// 11 (its pixels still fit in 8 bits), so it is refused.
bool beyondGiflib(const fs::path& file) {
    return file.filename() == "max-codes.gif";
}

void expectRefusedByGiflib(const Decoded& d) {
    EXPECT_FALSE(d.ok);
    EXPECT_NE(d.why.find("LZW code size 11 is above 8"), std::string::npos) << d.why;
}

void expectLoop(const DecodedImage& image, std::optional<int> stored) {
    EXPECT_EQ(image.hasLoopCount, stored.has_value());
    EXPECT_EQ(image.loopCount, stored.value_or(1)) << "a GIF without loop extension plays once";
}

TEST(GifCorpus, EveryIndexedFileMeetsItsExpectation) {
    const std::vector<testing::CorpusEntry> entries = testing::corpusEntries("gif/");
    ASSERT_FALSE(entries.empty());
    for (const testing::CorpusEntry& entry : entries) {
        SCOPED_TRACE(entry.path);
        const Decoded d = decodeFile(testing::corpusFolder() / entry.path);
        if (entry.expect == "either") {
            if (d.ok) {
                EXPECT_EQ(d.image.canvasWidth, entry.width);
                EXPECT_EQ(d.image.canvasHeight, entry.height);
            }
            continue;
        }
        if (entry.expect == "refuse") {
            EXPECT_FALSE(d.ok);
            EXPECT_FALSE(d.why.empty());
            continue;
        }
        ASSERT_EQ(entry.expect, "decode");
        if (beyondGiflib(entry.path)) {
            expectRefusedByGiflib(d);
            continue;
        }
        if (!withinImageLimits(entry.width, entry.height)) {
            EXPECT_FALSE(d.ok);
            EXPECT_NE(d.why.find("over the size limit"), std::string::npos) << d.why;
            continue;
        }
        ASSERT_TRUE(d.ok) << d.why;
        EXPECT_EQ(d.image.format, PictureFormat::Gif);
        EXPECT_EQ(d.image.canvasWidth, entry.width);
        EXPECT_EQ(d.image.canvasHeight, entry.height);
        ASSERT_TRUE(entry.frames.has_value());
        if (imageCount(d.image) != std::size_t(*entry.frames)) {
            // The index counts displayed frames where images without delay merge into one.
            EXPECT_NE(entry.note.find("merges images"), std::string::npos);
            EXPECT_GT(imageCount(d.image), std::size_t(*entry.frames));
        }
        expectLoop(d.image, entry.loop);
    }
}

// The numbers listed after `label [` in an index note.
std::vector<int> listInNote(const std::string& note, const std::string& label) {
    std::vector<int> values;
    const std::size_t at = note.find(label + " [");
    if (at == std::string::npos) {
        return values;
    }
    std::istringstream in(note.substr(at + label.size() + 2));
    int value = 0;
    char separator = ',';
    while (separator == ',' && in >> value >> separator) {
        values.push_back(value);
    }
    return values;
}

Bitmap pngPicture(const fs::path& path) {
    DecodedImage png;
    std::string why;
    EXPECT_TRUE(decodePng(testing::readFile(path), png, &why)) << path << ": " << why;
    return png.still;
}

TEST(GifCorpus, PeterdnFramesMatchTheirReferences) {
    const std::vector<testing::CorpusEntry> entries =
        testing::corpusEntries("gif/peterdn-gif-test-suite/gifs/");
    ASSERT_FALSE(entries.empty());
    for (const testing::CorpusEntry& entry : entries) {
        SCOPED_TRACE(entry.path);
        const fs::path file = testing::corpusFolder() / entry.path;
        const Decoded d = decodeFile(file);
        ASSERT_TRUE(d.ok) << d.why;
        const std::string name = file.stem().string();
        const fs::path references = file.parent_path() / "frames";
        const std::vector<Bitmap> shown = shownFrames(d.image);
        if (d.image.frames.empty()) {
            EXPECT_TRUE(samePixels(shown[0], pngPicture(references / (name + ".png"))));
        } else {
            for (std::size_t k = 0; k < shown.size(); ++k) {
                const fs::path reference = references / (name + "-" + std::to_string(k) + ".png");
                ASSERT_TRUE(fs::exists(reference)) << reference;
                EXPECT_TRUE(samePixels(shown[k], pngPicture(reference))) << "frame " << k;
            }
            EXPECT_FALSE(
                fs::exists(references / (name + "-" + std::to_string(shown.size()) + ".png")));
            const std::vector<int> delays = listInNote(entry.note, "delays ms");
            const std::vector<int> disposals = listInNote(entry.note, "disposal");
            ASSERT_EQ(delays.size(), d.image.frames.size());
            ASSERT_EQ(disposals.size(), d.image.frames.size());
            for (std::size_t k = 0; k < d.image.frames.size(); ++k) {
                EXPECT_EQ(d.image.frames[k].delayMs, delays[k]) << "frame " << k;
                EXPECT_EQ(int(d.image.frames[k].disposal), disposals[k]) << "frame " << k;
            }
        }
        // The names say it: "_loop" files loop forever, the others have no loop extension.
        const bool loops = name.find("_loop") != std::string::npos;
        expectLoop(d.image, loops ? std::optional<int>(0) : std::nullopt);
    }
}

using Section = std::map<std::string, std::string>;

std::string trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t\r");
    const std::size_t end = text.find_last_not_of(" \t\r");
    return begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);
}

// An ini file: section name to its keys and values.
std::map<std::string, Section> readConf(const fs::path& path) {
    std::map<std::string, Section> sections;
    std::ifstream in(path);
    std::string line, section;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            sections[section][trimmed(line.substr(0, equals))] = trimmed(line.substr(equals + 1));
        }
    }
    return sections;
}

std::vector<std::string> commaList(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        if (!trimmed(item).empty()) {
            items.push_back(trimmed(item));
        }
    }
    return items;
}

// An expected frame: raw RGBA (top row first) or a PNG.
Bitmap expectedFrame(const fs::path& folder, const Section& frame, int width, int height) {
    if (frame.count("image") != 0) {
        return pngPicture(folder / frame.at("image"));
    }
    const std::vector<std::uint8_t> rgba = testing::readFile(folder / frame.at("pixels"));
    Bitmap bitmap = *Bitmap::create(width, height);
    bitmap.setHasAlpha(true);
    EXPECT_EQ(rgba.size(), bitmap.byteSize());
    for (std::size_t i = 0; i + 3 < std::min(rgba.size(), bitmap.byteSize()); i += 4) {
        const std::uint8_t* p = rgba.data() + i;
        const int pixel = int(i / 4);
        bitmap.setArgb(pixel % width, pixel / width,
                       std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 |
                           std::uint32_t(p[1]) << 8 | p[2]);
    }
    return bitmap;
}

TEST(GifCorpus, PygifSuiteEndsOnItsExpectedFrame) {
    const fs::path folder = testing::corpusFolder() / "gif/pygif-test-suite";
    std::ifstream tests(folder / "TESTS");
    ASSERT_TRUE(tests.is_open());
    for (std::string name; std::getline(tests, name);) {
        name = trimmed(name);
        // One listed test is left out of the corpus for the licence of its colour profile.
        if (name.empty() || !fs::exists(folder / (name + ".conf"))) {
            continue;
        }
        SCOPED_TRACE(name);
        std::map<std::string, Section> conf = readConf(folder / (name + ".conf"));
        const Section& config = conf["config"];
        const int width = std::stoi(config.at("width"));
        const int height = std::stoi(config.at("height"));
        const std::vector<std::string> frameNames = commaList(config.at("frames"));
        const Decoded d = decodeFile(folder / config.at("input"));
        if (frameNames.empty()) {
            continue;  // broken files: anything but a crash will do
        }
        if (!withinImageLimits(width, height)) {
            EXPECT_FALSE(d.ok) << "a screen over the size limit";
            continue;
        }
        if (beyondGiflib(config.at("input"))) {
            expectRefusedByGiflib(d);
            continue;
        }
        if (!d.ok) {
            // Files without any image to draw may be refused.
            const std::vector<testing::CorpusEntry> entry =
                testing::corpusEntries("gif/pygif-test-suite/" + config.at("input"));
            ASSERT_EQ(entry.size(), 1u);
            EXPECT_EQ(entry[0].expect, "either") << d.why;
            continue;
        }
        EXPECT_EQ(d.image.canvasWidth, width);
        EXPECT_EQ(d.image.canvasHeight, height);
        // A forced animation's loop count is how the suite plays it, not what the file holds.
        const std::string loop = config.at("loop-count");
        if (config.at("force-animation") != "yes") {
            expectLoop(d.image, loop == "infinite" ? std::optional<int>(0)
                                : loop == "0"      ? std::nullopt
                                                   : std::optional<int>(std::stoi(loop)));
        }
        const std::vector<Bitmap> shown = shownFrames(d.image);
        if (shown.size() != frameNames.size()) {
            // The suite merges images shown without delay: only the final state compares.
            EXPECT_GT(shown.size(), frameNames.size());
            EXPECT_TRUE(samePixels(shown.back(),
                                   expectedFrame(folder, conf[frameNames.back()], width, height)));
            continue;
        }
        for (std::size_t k = 0; k < shown.size(); ++k) {
            const Section& frame = conf[frameNames[k]];
            EXPECT_TRUE(samePixels(shown[k], expectedFrame(folder, frame, width, height)))
                << "frame " << k;
            if (frame.count("delay") != 0 && !d.image.frames.empty()) {
                EXPECT_EQ(d.image.frames[k].delayMs, 10 * std::stoi(frame.at("delay")));
            }
        }
    }
}

Bitmap picture(int width, int height, bool alpha, std::uint32_t (*argbAt)(int x, int y)) {
    Bitmap bitmap = *Bitmap::create(width, height);
    bitmap.setHasAlpha(alpha);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setArgb(x, y, argbAt(x, y));
        }
    }
    return bitmap;
}

// What a GIF can keep of a pixel: transparent below alpha 128, else opaque.
Bitmap asGifKeepsIt(const Bitmap& bitmap) {
    Bitmap kept = bitmap;
    kept.setHasAlpha(true);
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const std::uint32_t argb = bitmap.argb(x, y);
            const bool transparent = bitmap.hasAlpha() && argb >> 24 < 128;
            kept.setArgb(x, y, transparent ? 0 : argb | 0xFF000000);
        }
    }
    return kept;
}

// GIF files written byte by byte, for what no encoder writes. Image data is LZW with a code
// size of 8 and a clear code before the code table would need wider codes.
class GifFile {
public:
    // A global colour table of the given colours (0xRRGGBB), none when empty.
    GifFile(int width, int height, const std::vector<std::uint32_t>& table = {kBlack, kWhite}) {
        bytes_ = {'G', 'I', 'F', '8', '9', 'a'};
        word(width);
        word(height);
        bytes_.push_back(table.empty() ? 0 : std::uint8_t(0x80 | tableBits(table)));
        bytes_.insert(bytes_.end(), {0, 0});
        colours(table);
    }

    GifFile& loop(int count, std::string_view application = "NETSCAPE2.0") {
        bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
        bytes_.insert(bytes_.end(), application.begin(), application.end());
        bytes_.insert(bytes_.end(), {5, 2, 0, 0x10, 0, 0});  // a buffer size sub-block first
        bytes_.insert(bytes_.end(), {3, 1});
        word(count);
        bytes_.push_back(0);
        return *this;
    }

    GifFile& control(int disposal, int delay, int transparent = -1) {
        bytes_.insert(bytes_.end(), {0x21, 0xF9, 4});
        bytes_.push_back(std::uint8_t(disposal << 2 | (transparent >= 0 ? 1 : 0)));
        word(delay);
        bytes_.insert(bytes_.end(), {std::uint8_t(std::max(transparent, 0)), 0});
        return *this;
    }

    // An image whose indices are given in the order the file stores them.
    GifFile& image(int x, int y, int width, int height, const std::vector<std::uint8_t>& indices,
                   bool interlaced = false, const std::vector<std::uint32_t>& local = {}) {
        imageHeader(x, y, width, height, interlaced, local);
        return data(8, lzw(indices));
    }

    GifFile& imageHeader(int x, int y, int width, int height, bool interlaced = false,
                         const std::vector<std::uint32_t>& local = {}) {
        bytes_.push_back(0x2C);
        for (int value : {x, y, width, height}) {
            word(value);
        }
        bytes_.push_back(
            std::uint8_t((local.empty() ? 0 : 0x80 | tableBits(local)) | (interlaced ? 0x40 : 0)));
        colours(local);
        return *this;
    }

    // An LZW code size and data, split into sub-blocks.
    GifFile& data(int codeSize, const std::vector<std::uint8_t>& lzwData) {
        bytes_.push_back(std::uint8_t(codeSize));
        for (std::size_t at = 0; at < lzwData.size(); at += 255) {
            const std::size_t length = std::min<std::size_t>(255, lzwData.size() - at);
            bytes_.push_back(std::uint8_t(length));
            bytes_.insert(bytes_.end(), lzwData.begin() + std::ptrdiff_t(at),
                          lzwData.begin() + std::ptrdiff_t(at + length));
        }
        bytes_.push_back(0);
        return *this;
    }

    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> file = bytes_;
        file.push_back(0x3B);
        return file;
    }

    static constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

    // 9-bit codes: clear, up to 254 literal indices, clear again, ..., end.
    static std::vector<std::uint8_t> lzw(const std::vector<std::uint8_t>& indices,
                                         bool withEnd = true) {
        std::vector<std::uint8_t> out;
        std::uint32_t pending = 0;
        int bits = 0;
        auto put = [&](std::uint32_t code) {
            pending |= code << bits;
            for (bits += 9; bits >= 8; bits -= 8, pending >>= 8) {
                out.push_back(std::uint8_t(pending));
            }
        };
        for (std::size_t i = 0; i < indices.size(); ++i) {
            if (i % 254 == 0) {
                put(256);
            }
            put(indices[i]);
        }
        if (withEnd) {
            put(257);
        }
        if (bits > 0) {
            out.push_back(std::uint8_t(pending));
        }
        return out;
    }

private:
    void word(int value) {
        bytes_.push_back(std::uint8_t(value));
        bytes_.push_back(std::uint8_t(value >> 8));
    }

    static int tableBits(const std::vector<std::uint32_t>& table) {
        int bits = 0;
        while (std::size_t(2) << bits < table.size()) {
            ++bits;
        }
        return bits;
    }

    void colours(const std::vector<std::uint32_t>& table) {
        if (table.empty()) {
            return;
        }
        const std::size_t size = std::size_t(2) << tableBits(table);
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint32_t rgb = i < table.size() ? table[i] : 0;
            bytes_.insert(bytes_.end(),
                          {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)});
        }
    }

    std::vector<std::uint8_t> bytes_;
};

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

TEST(GifDecoder, ReadsImagesControlsAndLoops) {
    const std::vector<std::uint8_t> file =
        GifFile(4, 3, {kRed, kGreen, kBlue, GifFile::kWhite})
            .loop(3)
            .control(1, 7, 2)
            .image(0, 0, 2, 2, {0, 1, 2, 3})
            .control(6, 0)  // an undefined disposal
            .image(2, 1, 2, 2, {1, 1, 0, 0}, false, {GifFile::kWhite, kBlue})
            .image(1, 2, 3, 1, {1, 2, 3})  // no control: no delay, no transparency
            .bytes();
    const Decoded d = decode(file);
    ASSERT_TRUE(d.ok) << d.why;
    const DecodedImage& image = d.image;
    EXPECT_EQ(image.canvasWidth, 4);
    EXPECT_EQ(image.canvasHeight, 3);
    EXPECT_TRUE(image.hasLoopCount);
    EXPECT_EQ(image.loopCount, 3);
    ASSERT_EQ(image.frames.size(), 3u);

    const ImageFrame& first = image.frames[0];
    EXPECT_EQ(first.delayMs, 70);
    EXPECT_EQ(first.disposal, Disposal::Keep);
    EXPECT_EQ(first.blend, Blend::Over);
    EXPECT_TRUE(first.bitmap.hasAlpha());
    EXPECT_EQ(first.bitmap.argb(0, 0), 0xFFFF0000u);
    EXPECT_EQ(first.bitmap.argb(1, 0), 0xFF00FF00u);
    EXPECT_EQ(first.bitmap.argb(0, 1) >> 24, 0u) << "the transparent index";
    EXPECT_EQ(first.bitmap.argb(1, 1), 0xFFFFFFFFu);

    const ImageFrame& second = image.frames[1];
    EXPECT_EQ(second.disposal, Disposal::Unspecified);
    EXPECT_EQ(second.offsetX, 2);
    EXPECT_EQ(second.offsetY, 1);
    EXPECT_FALSE(second.bitmap.hasAlpha());
    EXPECT_EQ(second.bitmap.argb(0, 0), 0xFF0000FFu) << "the local table";
    EXPECT_EQ(second.bitmap.argb(0, 1), 0xFFFFFFFFu);

    const ImageFrame& third = image.frames[2];
    EXPECT_EQ(third.delayMs, 0);
    EXPECT_FALSE(third.bitmap.hasAlpha());
    EXPECT_EQ(third.bitmap.argb(2, 0), 0xFFFFFFFFu);

    // The still is the first image alone on the transparent screen.
    EXPECT_EQ(image.still.width(), 4);
    EXPECT_EQ(image.still.argb(1, 0), 0xFF00FF00u);
    EXPECT_EQ(image.still.argb(0, 1) >> 24, 0u);
    EXPECT_EQ(image.still.argb(3, 2) >> 24, 0u);
}

TEST(GifDecoder, ColourTablesFallBackAndIndicesBeyondThemAreBlack) {
    struct Case {
        const char* what;
        std::vector<std::uint32_t> global;
        std::vector<std::uint8_t> indices;
        int transparent;
        std::vector<std::uint32_t> argb;
    };
    const Case cases[] = {
        {"no table: black and white",
         {},
         {0, 1, 2, 200},
         -1,
         {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000}},
        {"indices beyond a two-colour table",
         {kRed, kGreen},
         {1, 0, 2, 255},
         -1,
         {0xFF00FF00, 0xFFFF0000, 0xFF000000, 0xFF000000}},
        {"a transparent index beyond the table",
         {kRed, kGreen},
         {0, 9, 1, 3},
         9,
         {0xFFFF0000, 0, 0xFF00FF00, 0xFF000000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GifFile file(4, 1, c.global);
        if (c.transparent >= 0) {
            file.control(0, 0, c.transparent);
        }
        const Decoded d = decode(file.image(0, 0, 4, 1, c.indices).bytes());
        ASSERT_TRUE(d.ok) << d.why;
        EXPECT_TRUE(d.image.frames.empty()) << "a single image is a still picture";
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t expected = c.argb[std::size_t(x)];
            const std::uint32_t actual = d.image.still.argb(x, 0);
            EXPECT_EQ(expected == 0 ? actual >> 24 : actual, expected) << "pixel " << x;
        }
    }
}

TEST(GifDecoder, InterlacedRowsGoBackInPlace) {
    std::vector<std::uint32_t> greys;
    for (std::uint32_t i = 0; i < 16; ++i) {
        greys.push_back(i * 0x111111);
    }
    // Stored rows 0..9 of a 10-row image are the display rows 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
    const Decoded d = decode(
        GifFile(1, 10, greys).image(0, 0, 1, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, true).bytes());
    ASSERT_TRUE(d.ok) << d.why;
    const std::uint32_t stored[] = {0, 5, 3, 6, 2, 7, 4, 8, 1, 9};
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(d.image.still.argb(0, y), 0xFF000000 | stored[y] * 0x111111) << "row " << y;
    }
}

TEST(GifDecoder, LoopExtensions) {
    struct Case {
        const char* what;
        std::optional<int> loop;
        std::string_view application;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"NETSCAPE2.0", 5, "NETSCAPE2.0", 5},
        {"ANIMEXTS1.0 forever", 0, "ANIMEXTS1.0", 0},
        {"another application", 5, "XMPDataXMP\x01", std::nullopt},
        {"none", std::nullopt, "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GifFile file(1, 1);
        if (c.loop) {
            file.loop(*c.loop, c.application);
        }
        const Decoded d = decode(file.image(0, 0, 1, 1, {1}).image(0, 0, 1, 1, {0}).bytes());
        ASSERT_TRUE(d.ok) << d.why;
        expectLoop(d.image, c.expected);
    }
}

TEST(GifDecoder, FramesOutsideTheScreenAreKeptAndClipped) {
    const Decoded d = decode(GifFile(2, 2, {kRed, kGreen})
                                 .image(1, 1, 3, 3, {1, 1, 1, 1, 1, 1, 1, 1, 1})
                                 .image(65535, 65535, 1, 1, {0})
                                 .bytes());
    ASSERT_TRUE(d.ok) << d.why;
    ASSERT_EQ(d.image.frames.size(), 2u);
    EXPECT_EQ(d.image.frames[1].offsetX, 65535);
    EXPECT_EQ(d.image.still.width(), 2);
    EXPECT_EQ(d.image.still.argb(0, 0) >> 24, 0u);
    EXPECT_EQ(d.image.still.argb(1, 1), 0xFF00FF00u);
    const std::vector<Bitmap> shown = composeFrames(d.image);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(samePixels(shown[1], d.image.still));
}

TEST(GifDecoder, RefusesFilesOverTheLimitsOrWithoutImage) {
    const std::vector<std::uint8_t> fiveBlack(5);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"nothing", {}, "GIF: "},
        {"a PNG signature", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, "GIF: "},
        {"a header alone", {'G', 'I', 'F', '8', '9', 'a'}, "GIF: "},
        {"no image", GifFile(3, 3).bytes(), "no image"},
        {"a screen of 65535 x 65535", GifFile(65535, 65535).bytes(), "over the size limit"},
        {"a screen of 8193 x 1", GifFile(8193, 1).bytes(), "over the size limit"},
        {"a screen of 0 x 5", GifFile(0, 5).image(0, 0, 1, 5, fiveBlack).bytes(), "empty"},
        {"an image of 65535 x 65535",
         GifFile(1, 1).imageHeader(0, 0, 65535, 65535).data(8, {}).bytes(), "over the size limit"},
        {"an image beyond the pixels left by the screen",
         GifFile(8192, 8192).imageHeader(0, 0, 1, 1).data(8, GifFile::lzw({0})).bytes(),
         "over the pixel limit"},
        {"an image whose data ends early",
         GifFile(2, 2).imageHeader(0, 0, 2, 2).data(8, GifFile::lzw({0, 1})).bytes(), "GIF: "},
        {"an image without end code or enough data",
         GifFile(2, 2).imageHeader(0, 0, 2, 2).data(8, GifFile::lzw({0, 1, 1}, false)).bytes(),
         "GIF: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded d = decode(c.bytes);
        EXPECT_FALSE(d.ok);
        EXPECT_NE(d.why.find(c.reason), std::string::npos) << d.why;
    }
}

TEST(GifDecoder, KeepsTheImagesCompletedBeforeDamage) {
    GifFile file(2, 1, {kRed, kGreen});
    file.image(0, 0, 2, 1, {0, 1}).image(0, 0, 2, 1, {1, 0});
    const std::size_t twoImages = file.size();
    file.imageHeader(0, 0, 2, 1).data(8, GifFile::lzw({1}));  // one pixel short
    file.image(0, 0, 2, 1, {1, 1});                           // after the damage
    const Decoded d = decode(file.bytes());
    ASSERT_TRUE(d.ok) << d.why;
    ASSERT_EQ(d.image.frames.size(), 2u);
    EXPECT_EQ(d.image.frames[1].bitmap.argb(0, 0), 0xFF00FF00u);

    // Cut anywhere, a file keeps exactly the images whose data ended before the cut.
    const std::vector<std::uint8_t> whole = file.bytes();
    GifFile one(2, 1, {kRed, kGreen});
    one.image(0, 0, 2, 1, {0, 1});
    for (std::size_t length = 0; length < twoImages + 2; ++length) {
        SCOPED_TRACE(length);
        const Decoded cut = decode(std::span(whole).first(length));
        const std::size_t complete = length >= twoImages ? 2 : length >= one.size() ? 1 : 0;
        ASSERT_EQ(cut.ok, complete > 0) << cut.why;
        if (cut.ok) {
            EXPECT_EQ(imageCount(cut.image), complete);
            EXPECT_EQ(cut.image.still.argb(0, 0), 0xFFFF0000u);
        }
    }
}

TEST(GifDecoder, CorpusFilesCutShortDoNotBreakIt) {
    for (const testing::CorpusEntry& entry : testing::corpusEntries("gif/")) {
        const std::vector<std::uint8_t> whole =
            testing::readFile(testing::corpusFolder() / entry.path);
        if (whole.size() > 4096) {
            continue;  // the small files cover every kind of record
        }
        SCOPED_TRACE(entry.path);
        // Every length through the header, tables and first records; a sample of the rest.
        for (std::size_t length = 0; length < whole.size(); length += length < 256 ? 1 : 5) {
            const Decoded cut = decode(std::span(whole).first(length));
            if (cut.ok) {
                EXPECT_EQ(cut.image.still.width(), cut.image.canvasWidth);
                EXPECT_EQ(cut.image.still.height(), cut.image.canvasHeight);
            } else {
                EXPECT_FALSE(cut.why.empty());
            }
        }
    }
}

TEST(GifEncoder, PicturesOfFewColoursComeBackExactly) {
    struct Case {
        const char* what;
        Bitmap bitmap;
    };
    const Case cases[] = {
        {"256 opaque colours", picture(16, 16, false,
                                       [](int x, int y) {
                                           const std::uint32_t k = std::uint32_t(16 * y + x);
                                           return 0xFF000000 | k << 16 | (255 - k) << 8 | k * 7;
                                       })},
        {"255 colours and transparency",
         picture(32, 16, true,
                 [](int x, int y) {
                     const std::uint32_t i = std::uint32_t(32 * y + x), k = i % 255;
                     return i % 7 == 0 ? 0x00123456 : 0xFF000000 | k << 16 | k * 3 << 8 | 99;
                 })},
        {"alpha 127 is transparent, 128 opaque",
         picture(4, 1, true,
                 [](int x, int) {
                     constexpr std::uint32_t argb[] = {0x7FFF0000, 0x80FF0000, 0xFF00FF00, 0};
                     return argb[x];
                 })},
        {"alpha bytes of a bitmap without alpha plane",
         picture(3, 2, false, [](int x, int y) { return std::uint32_t(x * 0x40 + y * 0x4000); })},
        {"all transparent", picture(5, 3, true, [](int, int) { return 0x00FFFFFFu; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<std::vector<std::uint8_t>> gif = encodeGif(c.bitmap);
        ASSERT_TRUE(gif.has_value());
        ASSERT_GE(gif->size(), 6u);
        EXPECT_EQ(std::string(gif->begin(), gif->begin() + 6), "GIF89a");
        const Decoded d = decode(*gif);
        ASSERT_TRUE(d.ok) << d.why;
        EXPECT_TRUE(d.image.frames.empty());
        EXPECT_FALSE(d.image.hasLoopCount);
        EXPECT_TRUE(samePixels(d.image.still, asGifKeepsIt(c.bitmap)));
    }
}

TEST(GifEncoder, PhotoLikePicturesComeBackClose) {
    const Bitmap photo = picture(256, 256, false, [](int x, int y) {
        const std::uint32_t b = std::uint32_t(x * y / 255);
        return 0xFF000000 | std::uint32_t(x) << 16 | std::uint32_t(y) << 8 | b;
    });
    const std::optional<std::vector<std::uint8_t>> gif = encodeGif(photo);
    ASSERT_TRUE(gif.has_value());
    const Decoded d = decode(*gif);
    ASSERT_TRUE(d.ok) << d.why;
    ASSERT_EQ(d.image.still.width(), 256);
    ASSERT_EQ(d.image.still.height(), 256);
    double total = 0;
    int worst = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const std::uint8_t* a = d.image.still.pixel(x, y);
            const std::uint8_t* e = photo.pixel(x, y);
            EXPECT_EQ(a[3], 255);
            for (int c = 0; c < 3; ++c) {
                const int error = std::abs(a[c] - e[c]);
                total += error;
                worst = std::max(worst, error);
            }
        }
    }
    // 256 entries over this plane of 65536 colours leave cells of about 16 x 16 levels.
    const double mean = total / (3 * 256 * 256);
    EXPECT_LT(mean, 4.0);
    EXPECT_LT(worst, 24);
}

TEST(GifEncoder, RefusesAnEmptyBitmap) {
    EXPECT_FALSE(encodeGif(Bitmap()).has_value());
}

}  // namespace
}  // namespace tandel
