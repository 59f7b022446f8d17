#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "Codecs.h"
#include "Corpus.h"
#include "FrameComposer.h"
#include "PngTestFiles.h"
#include "TestFiles.h"

namespace tandel {
namespace {

using testing::FrameControl;
using testing::TestChunk;

std::vector<std::uint8_t> corpusFile(const std::string& path) {
    return testing::readFile(testing::corpusFolder() / path);
}

// Animated files store a loop count (acTL's num_plays); the others are still pictures.
bool isAnimated(const testing::CorpusEntry& entry) {
    return entry.loop.has_value();
}

// The delays an index note lists: "delays ms [a, b, ...]" or "delays ms a then n x b".
std::vector<int> indexedDelays(const std::string& note) {
    std::smatch match;
    std::vector<int> delays;
    if (std::regex_search(note, match, std::regex(R"(delays ms \[([0-9, ]*)\])"))) {
        const std::string list = match[1];
        const std::regex number("[0-9]+");
        for (auto it = std::sregex_iterator(list.begin(), list.end(), number);
             it != std::sregex_iterator(); ++it) {
            delays.push_back(std::stoi(it->str()));
        }
    } else if (std::regex_search(note, match,
                                 std::regex(R"(delays ms ([0-9]+) then ([0-9]+) x ([0-9]+))"))) {
        delays.push_back(std::stoi(match[1]));
        delays.insert(delays.end(), std::size_t(std::stoi(match[2])), std::stoi(match[3]));
    }
    return delays;
}

struct IndexedPixel {
    int x, y;
    std::uint32_t argb;
};

// The pixels an index note gives for the last composed frame: "(x,y)=(r,g,b,a)".
std::vector<IndexedPixel> indexedPixels(const std::string& note) {
    std::vector<IndexedPixel> pixels;
    const std::regex pixel(R"(\((\d+),(\d+)\)=\((\d+),(\d+),(\d+),(\d+)\))");
    for (auto it = std::sregex_iterator(note.begin(), note.end(), pixel);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        const auto channel = [&](int i) { return std::uint32_t(std::stoi(m[i])); };
        pixels.push_back({std::stoi(m[1]), std::stoi(m[2]),
                          channel(6) << 24 | channel(3) << 16 | channel(4) << 8 | channel(5)});
    }
    return pixels;
}

TEST(Apng, CorpusDecodesOrRefusesAsIndexed) {
    const std::vector<testing::CorpusEntry> entries = testing::corpusEntries("apng/");
    ASSERT_FALSE(entries.empty());
    for (const testing::CorpusEntry& entry : entries) {
        SCOPED_TRACE(entry.path);
        DecodedImage image;
        std::string why;
        const bool decoded = decodePng(corpusFile(entry.path), image, &why);
        if (entry.expect == "refuse") {
            EXPECT_FALSE(decoded);
            EXPECT_FALSE(why.empty());
            continue;
        }
        if (entry.expect == "decode") {
            ASSERT_TRUE(decoded) << why;
        } else if (!decoded) {
            continue;
        }
        EXPECT_EQ(image.canvasWidth, entry.width);
        EXPECT_EQ(image.canvasHeight, entry.height);
        EXPECT_EQ(image.still.width(), entry.width);
        EXPECT_EQ(image.still.height(), entry.height);
        if (entry.expect == "decode" && isAnimated(entry)) {
            EXPECT_EQ(image.frames.size(), std::size_t(entry.frames.value_or(0)));
            EXPECT_TRUE(image.hasLoopCount);
            EXPECT_EQ(image.loopCount, *entry.loop);
        } else {
            // Broken animations are shown as their still image.
            EXPECT_TRUE(image.frames.empty());
            EXPECT_FALSE(image.hasLoopCount);
        }
    }
}

TEST(Apng, DelaysFollowTheIndex) {
    for (const testing::CorpusEntry& entry : testing::corpusEntries("apng/")) {
        if (entry.expect != "decode" || !isAnimated(entry)) {
            continue;
        }
        SCOPED_TRACE(entry.path);
        const std::vector<int> expected = indexedDelays(entry.note);
        ASSERT_FALSE(expected.empty()) << entry.note;
        DecodedImage image;
        ASSERT_TRUE(decodePng(corpusFile(entry.path), image, nullptr));
        std::vector<int> delays;
        for (const ImageFrame& frame : image.frames) {
            delays.push_back(frame.delayMs);
        }
        EXPECT_EQ(delays, expected);
    }
}

TEST(Apng, LastComposedFrameShowsTheIndexedPixels) {
    // The index follows straight-alpha "over"; the engine mixes with its integer rule, which
    // differs where partly transparent pixels meet. Alpha-128 pixels over black give 127, not
    // 128; the 16-bit file may round either way.
    struct EngineRule {
        const char* file;
        int x, y;
        std::uint32_t argb;
        int tolerance;
    };
    const EngineRule engineRule[] = {
        {"blend_op_over_near_transparent.png", 0, 0, 0xFF00AA00, 2},
        {"blend_op_source_near_transparent.png", 0, 0, 0x01000100, 0},
        {"blend_op_source_near_transparent.png", 64, 32, 0x01000100, 0},
        {"mode_16bit.png", 0, 0, 0xFF00007F, 1},
        {"mode_16bit.png", 64, 32, 0xFF00007F, 1},
        {"mode_grayscale_alpha.png", 0, 0, 0xFF7F7F7F, 0},
        {"mode_grayscale_alpha.png", 64, 32, 0xFF7F7F7F, 0},
        {"mode_palette_1bit_alpha.png", 0, 0, 0xFF00007F, 0},
        {"mode_palette_1bit_alpha.png", 64, 32, 0xFF00007F, 0},
    };
    for (const testing::CorpusEntry& entry : testing::corpusEntries("apng/")) {
        if (entry.expect != "decode" || !isAnimated(entry)) {
            continue;
        }
        SCOPED_TRACE(entry.path);
        DecodedImage image;
        ASSERT_TRUE(decodePng(corpusFile(entry.path), image, nullptr));
        const std::vector<Bitmap> composed = composeFrames(image);
        ASSERT_EQ(composed.size(), image.frames.size());
        const std::vector<IndexedPixel> pixels = indexedPixels(entry.note);
        ASSERT_FALSE(pixels.empty()) << entry.note;
        for (IndexedPixel pixel : pixels) {
            int tolerance = 0;
            for (const EngineRule& rule : engineRule) {
                if (entry.path == std::string("apng/") + rule.file && rule.x == pixel.x &&
                    rule.y == pixel.y) {
                    pixel.argb = rule.argb;
                    tolerance = rule.tolerance;
                }
            }
            const std::uint32_t actual = composed.back().argb(pixel.x, pixel.y);
            for (int shift = 0; shift < 32; shift += 8) {
                const int want = int(pixel.argb >> shift & 0xFF);
                const int got = int(actual >> shift & 0xFF);
                EXPECT_LE(std::abs(got - want), tolerance)
                    << std::hex << "(" << std::dec << pixel.x << "," << pixel.y << ") is 0x"
                    << std::hex << actual << ", expected 0x" << pixel.argb;
            }
        }
    }
}

constexpr std::uint32_t kDefaultColour = 0xFF0000FF;  // red, RGBA
constexpr int kWidth = 8, kHeight = 6;

// A valid animation on an 8 x 6 canvas: a red default image that is not a frame, then two
// frames.
std::vector<TestChunk> twoFrameAnimation() {
    return {testing::ihdrChunk(kWidth, kHeight),
            testing::actlChunk(2, 3),
            {"IDAT", testing::solidImageData(kWidth, kHeight, kDefaultColour)},
            testing::fctlChunk({.sequence = 0, .width = kWidth, .height = kHeight}),
            testing::fdatChunk(1, testing::solidImageData(kWidth, kHeight, 0x00FF00FF)),
            testing::fctlChunk({.sequence = 2, .width = 3, .height = 2, .x = 5, .y = 4}),
            testing::fdatChunk(3, testing::solidImageData(3, 2, 0x0000FF80)),
            {"IEND", {}}};
}

std::size_t indexOf(const std::vector<TestChunk>& chunks, const std::string& type, int nth = 0) {
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        if (chunks[i].type == type && nth-- == 0) {
            return i;
        }
    }
    throw std::logic_error("no such chunk: " + type);
}

TEST(Apng, FramesCarryTheirFctlFields) {
    struct Timing {
        std::uint16_t num, den;
        int ms;
    };
    const Timing timings[] = {{1, 3, 333}, {2, 3, 667},          {5, 0, 50},
                              {0, 0, 0},   {65535, 65535, 1000}, {65535, 1, 65535000}};
    for (const Timing& t : timings) {
        std::vector<TestChunk> chunks = twoFrameAnimation();
        chunks[indexOf(chunks, "fcTL")] = testing::fctlChunk({.sequence = 0,
                                                              .width = kWidth,
                                                              .height = kHeight,
                                                              .delayNum = t.num,
                                                              .delayDen = t.den,
                                                              .disposeOp = 2,
                                                              .blendOp = 1});
        chunks[indexOf(chunks, "fcTL", 1)] = testing::fctlChunk(
            {.sequence = 2, .width = 3, .height = 2, .x = 5, .y = 4, .disposeOp = 1});
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodePng(testing::pngFile(chunks), image, &why)) << why;
        EXPECT_EQ(image.still.argb(0, 0), 0xFFFF0000u);  // the default image stays the still
        ASSERT_EQ(image.frames.size(), 2u);
        EXPECT_TRUE(image.hasLoopCount);
        EXPECT_EQ(image.loopCount, 3);
        const ImageFrame& first = image.frames[0];
        EXPECT_EQ(first.delayMs, t.ms) << t.num << "/" << t.den;
        EXPECT_EQ(first.disposal, Disposal::Previous);
        EXPECT_EQ(first.blend, Blend::Over);
        EXPECT_EQ(first.bitmap.argb(7, 5), 0xFF00FF00u);
        const ImageFrame& second = image.frames[1];
        EXPECT_EQ(second.bitmap.width(), 3);
        EXPECT_EQ(second.bitmap.height(), 2);
        EXPECT_EQ(second.offsetX, 5);
        EXPECT_EQ(second.offsetY, 4);
        EXPECT_EQ(second.delayMs, 100);
        EXPECT_EQ(second.disposal, Disposal::Background);
        EXPECT_EQ(second.blend, Blend::Source);
        EXPECT_TRUE(second.bitmap.hasAlpha());
        EXPECT_EQ(second.bitmap.argb(2, 1), 0x800000FFu);
    }
}

TEST(Apng, FctlBeforeIdatMakesTheDefaultImageFrameZero) {
    std::vector<TestChunk> chunks = twoFrameAnimation();
    // Frame 0 moves in front of IDAT and describes it; the sequence numbers stay in order.
    TestChunk fctl = chunks[indexOf(chunks, "fcTL")];
    chunks.erase(chunks.begin() + std::ptrdiff_t(indexOf(chunks, "fdAT")));
    chunks.erase(chunks.begin() + std::ptrdiff_t(indexOf(chunks, "fcTL")));
    chunks.insert(chunks.begin() + std::ptrdiff_t(indexOf(chunks, "IDAT")), fctl);
    chunks[indexOf(chunks, "fcTL", 1)] =
        testing::fctlChunk({.sequence = 1, .width = 3, .height = 2, .x = 5, .y = 4});
    chunks[indexOf(chunks, "fdAT")] =
        testing::fdatChunk(2, testing::solidImageData(3, 2, 0x0000FF80));
    DecodedImage image;
    std::string why;
    ASSERT_TRUE(decodePng(testing::pngFile(chunks), image, &why)) << why;
    ASSERT_EQ(image.frames.size(), 2u);
    EXPECT_EQ(image.frames[0].bitmap.argb(3, 3), 0xFFFF0000u);
    EXPECT_EQ(image.frames[0].bitmap.width(), kWidth);
    EXPECT_EQ(image.still.argb(3, 3), 0xFFFF0000u);
    EXPECT_EQ(image.frames[1].bitmap.argb(0, 0), 0x800000FFu);
}

TEST(Apng, BrokenAnimationsShowTheStillImage) {
    using Chunks = std::vector<TestChunk>;
    auto setFctl = [](int nth, FrameControl control) {
        return [=](Chunks& c) { c[indexOf(c, "fcTL", nth)] = testing::fctlChunk(control); };
    };
    auto setFdat = [](int nth, std::uint32_t sequence, std::vector<std::uint8_t> data) {
        return [=](Chunks& c) { c[indexOf(c, "fdAT", nth)] = testing::fdatChunk(sequence, data); };
    };
    auto setActl = [](std::uint32_t frames) {
        return [=](Chunks& c) { c[indexOf(c, "acTL")] = testing::actlChunk(frames, 0); };
    };
    auto moveBefore = [](const char* type, int nth, const char* before) {
        return [=](Chunks& c) {
            const TestChunk moved = c[indexOf(c, type, nth)];
            c.erase(c.begin() + std::ptrdiff_t(indexOf(c, type, nth)));
            c.insert(c.begin() + std::ptrdiff_t(indexOf(c, before)), moved);
        };
    };
    const std::vector<std::uint8_t> frameData = testing::solidImageData(3, 2, 0x0000FF80);
    std::vector<std::uint8_t> cutData = frameData;
    cutData.resize(cutData.size() / 2);
    // Numbers fcTL and fdAT in file order and counts the frames in acTL, so that only the
    // rule under test is broken.
    auto inOrder = [](std::function<void(Chunks&)> change) {
        return [=](Chunks& c) {
            change(c);
            std::uint8_t sequence = 0, frames = 0;
            for (TestChunk& chunk : c) {
                if (chunk.type == "fcTL" || chunk.type == "fdAT") {
                    chunk.data[3] = sequence++;
                    frames += chunk.type == "fcTL";
                }
            }
            c[indexOf(c, "acTL")].data[3] = frames;
        };
    };
    struct Case {
        const char* what;
        std::function<void(Chunks&)> change;
    };
    const Case cases[] = {
        {"acTL after IDAT", moveBefore("acTL", 0, "fcTL")},
        {"two acTL", [](Chunks& c) { c.insert(c.begin() + 1, testing::actlChunk(2, 0)); }},
        {"num_frames too high", setActl(3)},
        {"num_frames too low", setActl(1)},
        {"num_frames zero", setActl(0)},
        {"num_frames 2^31", setActl(0x80000000u)},
        {"sequence starting at 1", setFctl(0, {.sequence = 1, .width = 8, .height = 6})},
        {"sequence gap", setFdat(1, 4, frameData)},
        {"sequence repeated", setFctl(1, {.sequence = 1, .width = 3, .height = 2})},
        {"fdAT before its fcTL", inOrder(moveBefore("fdAT", 0, "fcTL"))},
        {"fdAT before IDAT", inOrder(moveBefore("fdAT", 0, "IDAT"))},
        {"fdAT for the IDAT frame", inOrder(moveBefore("fcTL", 0, "IDAT"))},
        {"two fcTL before IDAT", inOrder([](Chunks& c) {
             for (int i = 0; i < 2; ++i) {
                 c.insert(c.begin() + std::ptrdiff_t(indexOf(c, "IDAT")),
                          testing::fctlChunk({.width = kWidth, .height = kHeight}));
             }
         })},
        {"frame right of the canvas", setFctl(1, {.sequence = 2, .width = 3, .height = 2, .x = 6})},
        {"frame below the canvas", setFctl(1, {.sequence = 2, .width = 3, .height = 2, .y = 5})},
        {"offset wrapping around",
         setFctl(1, {.sequence = 2, .width = 3, .height = 2, .x = 0xFFFFFFFF})},
        {"zero width", setFctl(1, {.sequence = 2, .width = 0, .height = 2})},
        {"zero height", setFctl(1, {.sequence = 2, .width = 3, .height = 0})},
        {"dispose_op 3", setFctl(1, {.sequence = 2, .width = 3, .height = 2, .disposeOp = 3})},
        {"blend_op 2", setFctl(1, {.sequence = 2, .width = 3, .height = 2, .blendOp = 2})},
        {"short fcTL", [](Chunks& c) { c[indexOf(c, "fcTL")].data.pop_back(); }},
        {"fdAT without a sequence number", [](Chunks& c) { c[indexOf(c, "fdAT")].data.resize(3); }},
        {"last fcTL without fdAT",
         inOrder([](Chunks& c) { c.erase(c.begin() + std::ptrdiff_t(indexOf(c, "fdAT", 1))); })},
        {"fcTL without fdAT followed by another",
         inOrder([](Chunks& c) { c.erase(c.begin() + std::ptrdiff_t(indexOf(c, "fdAT"))); })},
        {"fcTL before IDAT smaller than the canvas", inOrder([](Chunks& c) {
             c.insert(c.begin() + std::ptrdiff_t(indexOf(c, "IDAT")),
                      testing::fctlChunk({.width = 4, .height = 6}));
         })},
        {"damaged fdAT CRC", [](Chunks& c) { c[indexOf(c, "fdAT")].damagedCrc = true; }},
        {"frame data not zlib", setFdat(1, 3, {1, 2, 3, 4, 5, 6})},
        {"frame data cut short", setFdat(1, 3, cutData)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Chunks chunks = twoFrameAnimation();
        c.change(chunks);
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodePng(testing::pngFile(chunks), image, &why)) << why;
        EXPECT_TRUE(image.frames.empty());
        EXPECT_FALSE(image.hasLoopCount);
        EXPECT_EQ(image.still.argb(1, 1), 0xFFFF0000u);
    }
}

TEST(Apng, AnimationsOverThePixelLimitAreRefused) {
    // Canvas and three full frames make 4 x 32 Mi pixels; the data is never reached.
    constexpr std::uint32_t width = 8192, height = 4096;
    std::vector<TestChunk> chunks = {
        testing::ihdrChunk(width, height), testing::actlChunk(3, 0), {"IDAT", {1, 2, 3}}};
    for (std::uint32_t i = 0; i < 3; ++i) {
        chunks.push_back(testing::fctlChunk({.sequence = 2 * i, .width = width, .height = height}));
        chunks.push_back(testing::fdatChunk(2 * i + 1, {1, 2, 3}));
    }
    chunks.push_back({"IEND", {}});
    DecodedImage image;
    std::string why;
    EXPECT_FALSE(decodePng(testing::pngFile(chunks), image, &why));
    EXPECT_NE(why.find("size limit"), std::string::npos) << why;
}

TEST(Apng, CutAnimationsNeverReadOutsideTheirBytes) {
    for (const char* name : {"dispose_op_none_region.png", "mode_palette_1bit_alpha.png",
                             "split_fdat_zero_chunk.png"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> file = corpusFile(std::string("apng/") + name);
        DecodedImage whole;
        ASSERT_TRUE(decodePng(file, whole, nullptr));
        for (std::size_t length = 0; length < file.size(); ++length) {
            const std::vector<std::uint8_t> cut(file.begin(),
                                                file.begin() + std::ptrdiff_t(length));
            DecodedImage image;
            std::string why;
            if (decodePng(cut, image, &why)) {
                EXPECT_EQ(image.still.width(), 128) << "cut at " << length;
                EXPECT_TRUE(image.frames.empty()) << "cut at " << length;
            } else {
                EXPECT_FALSE(why.empty()) << "cut at " << length;
            }
        }
    }
}

}  // namespace
}  // namespace tandel
