// The engine's side of a skin: parse contexts over files, payloads and the built-in skin, and
// the shared resource cache.
#include "SkinParser.h"

#include <gtest/gtest.h>

#include <cstring>

#include "Pictures.h"
#include "SkinDocument.h"
#include "SkinFileReader.h"
#include "SkinInfo.h"
#include "TestFiles.h"

namespace tandel {
namespace {

class SkinParserTest : public ::testing::Test {
protected:
    void SetUp() override { cache().releaseCache(); }
    void TearDown() override {
        cache().releaseCache();
        cache().settings = nullptr;
        cache().module = nullptr;
    }
    static ResourceCache& cache() { return ResourceCache::Instance(); }
};

// A payload with a directory written by hand: entries, then data.
std::vector<std::uint8_t> payloadOf(const std::vector<DirEntry>& entries,
                                    const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out(12 * entries.size());
    std::memcpy(out.data(), entries.data(), out.size());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST_F(SkinParserTest, PayloadSectionsAndVerticalFlag) {
    SkinDocument doc;
    ParseContext context;
    ASSERT_TRUE(loadPayload(context, doc.payload(), doc.header.entryCount, 1));
    EXPECT_EQ(context.cache, &cache());
    EXPECT_EQ(findSection(context, kComboHId).size(), 576u);
    EXPECT_EQ(context.vertical, 0);
    EXPECT_EQ(findSection(context, kStatusId).size(), doc.topEntries[4].size);
    EXPECT_TRUE(findSection(context, 86).empty());  // the editor never writes 86...
    EXPECT_EQ(context.vertical, 1);                 // ...but asking marks the context vertical
    EXPECT_TRUE(findSection(context, 4).empty());
    EXPECT_TRUE(findSection(context, 102).empty());
    EXPECT_FALSE(loadPayload(context, {}, 3, 1));
}

TEST_F(SkinParserTest, EntriesThatDoNotFitAreMissingAndLaterDuplicatesWin) {
    const std::vector<std::uint8_t> first = {1, 2, 3}, second = {4, 5, 6, 7};
    std::vector<std::uint8_t> data = first;
    data.insert(data.end(), second.begin(), second.end());
    std::vector<std::uint8_t> payload =
        payloadOf({{9, 1, 0, 3}, {9, 1, 3, 4}, {10, 1, 5, 100}, {200, 1, 0, 1}}, data);
    ParseContext context;
    ASSERT_TRUE(loadPayload(context, payload, 4, 1));
    ASSERT_EQ(loadPicture(context, 9), 1);
    ASSERT_EQ(cache().picture(9).size(), 4u);
    EXPECT_EQ(cache().picture(9)[0], 4);
    EXPECT_EQ(context.entries[10].size, 0u);  // reaches past the data: missing
    // A slot already cached keeps its picture until the cache is released.
    EXPECT_TRUE(cache().storePicture(9, first.data(), first.size()));
    EXPECT_EQ(cache().picture(9).size(), 4u);
    cache().releaseCache();
    EXPECT_TRUE(cache().picture(9).empty());
    EXPECT_FALSE(cache().storePicture(102, first.data(), 3));
    EXPECT_FALSE(cache().storePicture(9, nullptr, 3));
}

TEST_F(SkinParserTest, DefaultPicturesComeFromTheModule) {
    ParseContext context;
    SkinDocument doc;
    doc.pictureIncluded[16] = 0;  // the file lacks the next-page strip
    doc.layOut();
    ASSERT_TRUE(loadPayload(context, doc.payload(), doc.header.entryCount, 1));
    EXPECT_EQ(loadPicture(context, 16), 0);  // no module: no default
    cache().module = &builtInPicture;
    EXPECT_EQ(loadPicture(context, 16), 1);
    EXPECT_EQ(cache().picture(16).data(), builtInPicture(16).data());
    EXPECT_EQ(loadPicture(context, 24), 0);  // no default for slot 24
    EXPECT_EQ(loadPicture(context, -1), 0);
    // The status style picks the second status bar background.
    SkinSettings settings{};
    settings.statusStyle = 1;
    cache().settings = &settings;
    EXPECT_TRUE(cache().loadDefaultPicture(61, false));
    EXPECT_EQ(cache().picture(61).data(), builtInPicture(61, PictureSet::Normal, 1).data());
}

TEST_F(SkinParserTest, ThemeColoursOverrideOnlySkinlessHosts) {
    struct Case {
        bool settings;
        const char* skinId;
        std::uint32_t theme;
        int index;
        std::uint32_t value;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {false, "", 0, 3, 0xFF123456, 0xFF123456},
        {true, "", 0xFF62B800, 3, 0xFF123456, 0xFF0078FF},
        {true, "", 0xFF62B800, 2, 0xFF123456, 0xFF009D21},
        {true, "abc", 0xFF62B800, 3, 0xFF123456, 0xFF123456},
        {true, "", 0xFF000001, 3, 0xFF123456, 0xFF123456},  // not a theme
        {true, "", 0xFF62B800, 4, 0xFF123456, 0xFF123456},  // 4..6 are never themed
        {true, "", 0xFF62B800, 7, 0xFF123456, 0xFF62B800},  // 7 is the theme colour
        {false, "", 0, 7, 0xFF123456, kDefaultThemeColour},
    };
    for (const Case& c : cases) {
        SkinSettings settings{};
        std::strcpy(settings.skinId, c.skinId);
        settings.themeColour = c.theme;
        cache().settings = c.settings ? &settings : nullptr;
        EXPECT_EQ(cache().setColour(c.index, c.value), 1);
        EXPECT_EQ(cache().colour(c.index), c.expected) << c.index << " " << std::hex << c.theme;
    }
    EXPECT_EQ(cache().setColour(8, 1), 0);
    EXPECT_EQ(cache().setColour(-1, 1), 0);
}

TEST_F(SkinParserTest, SkinFilesAsTheEngineTakesThem) {
    testing::TemporaryFolder folder;
    SkinDocument doc;  // never signed: the engine does not care
    ASSERT_TRUE(doc.saveToFile(folder / "a.tdskn"));
    ParseContext context;
    ASSERT_TRUE(loadFile(context, folder / "a.tdskn"));
    EXPECT_EQ(context.customSkin, 1);  // the header's animationMode
    EXPECT_EQ(findSection(context, kComboHId).size(), 576u);
    SkinFileHeader header = doc.header;
    EXPECT_EQ(
        std::memcmp(context.skinInfo.data(), reinterpret_cast<std::uint8_t*>(&header) + 16, 640),
        0);

    std::vector<std::uint8_t> file = testing::readFile(folder / "a.tdskn");
    std::string why = "unchanged";
    EXPECT_TRUE(loadFileBytes(context, file, &why));
    EXPECT_EQ(why, "unchanged");
    struct Case {
        const char* what;
        void (*change)(std::vector<std::uint8_t>&);
        const char* refusal;  // part of the reason; null when the file loads
    };
    const Case cases[] = {
        {"format version 3", [](auto& f) { f[6] = 3; }, "formatVersion 3 is above 2"},
        {"format version 1", [](auto& f) { f[6] = 1; }, nullptr},
        {"wrong signature", [](auto& f) { f[560] ^= 1; }, nullptr},
        {"wrong magic", [](auto& f) { f[0] ^= 1; }, "wrong magic"},
        {"header only", [](auto& f) { f.resize(656); }, "656 bytes long"},
        {"cut stream", [](auto& f) { f.resize(f.size() - 20); }, "zlib stream ends early"},
        {"directory beyond the payload", [](auto& f) { f[10] = f[11] = 0xFF; },
         "entryCount 65535 does not fit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> changed = file;
        c.change(changed);
        testing::writeFile(folder / "b.tdskn", changed);
        EXPECT_EQ(loadFile(context, folder / "b.tdskn"), c.refusal == nullptr);
        why.clear();
        EXPECT_EQ(loadFileBytes(context, changed, &why), c.refusal == nullptr);
        EXPECT_TRUE(c.refusal ? why.find(c.refusal) != std::string::npos : why.empty()) << why;
    }
    EXPECT_FALSE(loadFile(context, folder / "missing.tdskn"));
    EXPECT_FALSE(loadFileBytes(context, {}, nullptr));
}

TEST_F(SkinParserTest, BuiltInPayloadLayout) {
    std::vector<std::uint8_t> payload = buildBuiltInPayload(0x7FF, 0, false);
    ParseContext context;
    ASSERT_TRUE(loadBuiltIn(context, payload, false));
    EXPECT_EQ(context.customSkin, 0);
    const std::uint32_t offsets[] = {0, 620, 1240, 1848, 2456, 2480};
    const int ids[] = {0, 1, 2, 3, 5, 6};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(context.entries[std::size_t(ids[i])].offset, offsets[i]) << ids[i];
    }
    EXPECT_EQ(context.entries[0].size, 620u);
    EXPECT_EQ(context.entries[2].size, 608u);
    EXPECT_EQ(context.entries[5].size, 24u);

    // The status items follow the mask, in their fixed order, at their positions along the bar.
    auto statusItems = [](std::int32_t mask, std::uint8_t style) {
        std::vector<std::uint8_t> bytes = buildBuiltInPayload(mask, style, false);
        ParseContext c;
        loadBuiltIn(c, bytes, style == 1);
        std::span<const std::uint8_t> status = findSection(c, kStatusId);
        StatusHeader header;
        std::memcpy(&header, status.data(), sizeof header);
        std::vector<std::pair<int, PlacementHead>> items;
        for (int i = 0; i < header.elementCount; ++i) {
            DirEntry e;
            std::memcpy(&e, status.data() + 36 + 12 * i, sizeof e);
            PlacementHead head;
            std::memcpy(&head, status.data() + 36 + 12 * header.elementCount + e.offset,
                        sizeof head);
            items.push_back({e.id, head});
        }
        return items;
    };
    auto only54 = statusItems(0, 0);
    ASSERT_EQ(only54.size(), 1u);
    EXPECT_EQ(only54[0].first, 54);
    EXPECT_EQ(only54[0].second.x, 5);
    auto all = statusItems(0x7FF, 0);
    const int order[] = {54, 38, 39, 40, 42, 41, 43, 44, 45, 46, 47, 48};
    const int positions[] = {5, 32, 56, 80, 104, 130, 156, 181, 206, 230, 254, 277};
    ASSERT_EQ(all.size(), 12u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].first, order[i]);
        EXPECT_EQ(all[i].second.x, positions[i]) << order[i];
    }
    auto vertical = statusItems(0x1, 1);
    EXPECT_EQ(vertical[1].second.x, 2);
    EXPECT_EQ(vertical[1].second.y, 32);
}

}  // namespace
}  // namespace tandel
