#include "SkinDocument.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <regex>

#include "BuiltInPictures.h"
#include "Pictures.h"
#include "SkinDate.h"
#include "TestFiles.h"
#include "TextCodec.h"

namespace tandel {
namespace {

using testing::TemporaryFolder;

// The payload's top directory.
std::vector<DirEntry> topDirectory(const SkinDocument& doc) {
    std::vector<DirEntry> entries(doc.header.entryCount);
    std::memcpy(entries.data(), doc.payload().data(), 12 * entries.size());
    return entries;
}

std::vector<int> pictureSlotsInPayload(const SkinDocument& doc) {
    std::vector<int> slots;
    for (const DirEntry& e : topDirectory(doc)) {
        if (e.type == kPictureEntry) {
            slots.push_back(e.id);
        }
    }
    return slots;
}

// Ids of a section's element directory in the payload.
std::vector<int> elementIds(const SkinDocument& doc, int sectionId) {
    for (const DirEntry& e : topDirectory(doc)) {
        if (e.id != sectionId || e.type != kSectionEntry) {
            continue;
        }
        const std::uint8_t* section = doc.payload().data() + 12 * doc.header.entryCount + e.offset;
        std::int32_t count = 0;
        std::size_t headerSize = 0;
        if (sectionId <= kComboVId) {
            std::memcpy(&count, section + offsetof(WindowHeader, elementCount), 4);
            headerSize = sizeof(WindowHeader);
        } else if (sectionId <= kSplitVId) {
            SplitHeader h;
            std::memcpy(&h, section, sizeof h);
            count = h.compElementCount + h.candElementCount;
            headerSize = sizeof(SplitHeader);
        } else {
            std::memcpy(&count, section + offsetof(StatusHeader, elementCount), 4);
            headerSize = sizeof(StatusHeader);
        }
        std::vector<int> ids;
        for (int i = 0; i < count; ++i) {
            DirEntry element;
            std::memcpy(&element, section + headerSize + 12 * std::size_t(i), sizeof element);
            ids.push_back(element.id);
        }
        return ids;
    }
    return {};
}

std::filesystem::path writePicture(const TemporaryFolder& folder, const std::string& name,
                                   const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path path = folder / name;
    testing::writeFile(path, bytes);
    return path;
}

TEST(SkinDocument, NewSkinHeaderAndFontCache) {
    SkinDocument doc;
    EXPECT_EQ(doc.header.magic, kSkinMagic);
    EXPECT_EQ(doc.header.revision, 1);
    EXPECT_EQ(doc.header.formatVersion, 2);
    EXPECT_EQ(doc.header.animationMode, 1);
    EXPECT_EQ(fixedText(doc.header.name), u"澜石输入法");
    EXPECT_EQ(fixedText(doc.header.author), u"Author");
    EXPECT_EQ(utf16ToUtf8(fixedText(doc.header.date)), makeDateString());
    EXPECT_TRUE(std::regex_match(makeDateString(), std::regex(R"(\d{4}-[1-9]\d?-[1-9]\d?)")));
    EXPECT_EQ(formatSkinDate(2014, 3, 7), "2014-3-7");
    EXPECT_EQ(formatSkinDate(2026, 12, 11), "2026-12-11");
    EXPECT_EQ(fixedText(doc.header.email), u"");
    EXPECT_EQ(fixedText(doc.header.description), u"");
    EXPECT_EQ(doc.openedFromFile, 0);
    EXPECT_EQ(doc.animationMode, 1);

    EXPECT_EQ(fixedText(doc.fontSettings[0].face), u"宋体");
    EXPECT_EQ(doc.fontSettings[0].size, 16);
    EXPECT_EQ(fixedText(doc.fontSettings[1].face), u"Arial");
    EXPECT_EQ(doc.fontSettings[1].index, 1);
    EXPECT_EQ(fixedText(doc.fontSettings[3].face), u"宋体");
    EXPECT_EQ(doc.fontSettings[3].index, 3);
    EXPECT_EQ(doc.fontSettings[2].size, 0);
    const std::uint32_t colours[] = {0xC76B1A, 0xE8863E, 0xE47A1C, 0x1434DE};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(doc.colourSettings[i].index, i);
        EXPECT_EQ(doc.colourSettings[i].colour, colours[i]);
    }
}

TEST(SkinDocument, NewSkinWindowSections) {
    SkinDocument doc;
    struct Value {
        const char* what;
        long long actual;
        long long expected;
    };
    const Value values[] = {
        {"comboH offsetY", doc.comboH.header.offsetY, 5},
        {"comboH stretch bottom", doc.comboH.header.stretch.bottom, 7},
        {"comboV stretch top", doc.comboV.header.stretch.top, 4},
        {"comboH cursor colour", doc.comboH.header.cursorColour, 0xFFE8863E},
        {"comboH focus colour", doc.comboH.header.focusColour, 0xFF1434DE},
        {"comboV aux colour", doc.comboV.header.auxColour, 0xFFBEBEBE},
        {"comboH background", doc.comboH.header.backgroundPicture, 9},
        {"comboV background", doc.comboV.header.backgroundPicture, 10},
        {"splitH backgrounds",
         doc.splitH.header.compBackgroundPicture * 100 + doc.splitH.header.candBackgroundPicture,
         1112},
        {"splitV backgrounds",
         doc.splitV.header.compBackgroundPicture * 100 + doc.splitV.header.candBackgroundPicture,
         1314},
        {"splitV cand stretch left", doc.splitV.header.candStretch.left, 4},
        {"comboH compText right margin", doc.comboH.compText.marginRight, 70},
        {"comboV candText bottom margin", doc.comboV.candText.marginBottom, 25},
        {"comboV candText right margin", doc.comboV.candText.marginRight, 50},
        {"splitH compText bottom margin", doc.splitH.compText.marginBottom, 10},
        {"splitH compText right margin", doc.splitH.compText.marginRight, 120},
        {"splitH candText top margin", doc.splitH.candText.marginTop, 7},
        {"splitV candText right margin", doc.splitV.candText.marginRight, 70},
        {"compText colour", doc.splitV.compText.colour, 0xFFC76B1A},
        {"candText colour", doc.comboH.candText.colour, 0xFFE47A1C},
        {"candText size", doc.comboH.candText.enFontSize, 16},
        {"comboH next alignment", doc.comboH.nextPageButton.alignment, 8},
        {"comboH next x", doc.comboH.nextPageButton.x, 17},
        {"comboH prev x", doc.comboH.prevPageButton.x, 31},
        {"comboH prev y", doc.comboH.prevPageButton.y, 25},
        {"comboV next alignment", doc.comboV.nextPageButton.alignment, 6},
        {"comboV prev x", doc.comboV.prevPageButton.x, 12},
        {"splitH next alignment", doc.splitH.nextPageButton.alignment, 2},
        {"splitH prev x", doc.splitH.prevPageButton.x, 30},
        {"splitH next y", doc.splitH.nextPageButton.y, 11},
        {"splitV next x", doc.splitV.nextPageButton.x, 26},
        {"button size", doc.splitV.prevPageButton.width * 100 + doc.splitV.prevPageButton.height,
         610},
        {"prev picture", doc.comboV.prevPageButton.picture, 17},
        {"split line colour", doc.comboH.splitLine.colour, 0xFFF8ECDB},
        {"comboH toolbox alignment", doc.comboH.toolbox.alignment, 2},
        {"splitH toolbox x", doc.splitH.toolbox.x, 55},
        {"splitV toolbox size", doc.splitV.toolbox.width * 100 + doc.splitV.toolbox.height, 1010},
        {"custom picture alignment", doc.splitV.candCustomPictures[4].alignment, 8},
    };
    for (const Value& v : values) {
        EXPECT_EQ(v.actual, v.expected) << v.what;
    }
    EXPECT_EQ(fixedText(doc.comboH.compText.cnFont), u"宋体");
    EXPECT_EQ(fixedText(doc.comboH.compText.enFont), u"Arial");
    EXPECT_EQ(fixedText(doc.comboH.candText.enFont), u"宋体");
    EXPECT_EQ(fixedText(doc.splitH.nextPageButton.tooltip), u"帮助");
    const CloudPictures cloud = {{19, 20, 21, 22, 23, -1}};
    EXPECT_EQ(std::memcmp(&doc.cloudPictures, &cloud, sizeof cloud), 0);
}

TEST(SkinDocument, NewSkinStatusSection) {
    SkinDocument doc;
    EXPECT_EQ(doc.status.header.stretch.left, 35);
    EXPECT_EQ(doc.status.header.stretch.right, 4);
    EXPECT_EQ(doc.status.header.width, 128);
    EXPECT_EQ(doc.status.header.height, 27);
    EXPECT_EQ(doc.status.header.backgroundPicture, 61);
    struct Item {
        int id;
        PlacementHead head;
    };
    const Item items[] = {
        {38, {0, 32, 2, 22, 22}},  {39, {0, 55, 2, 22, 22}}, {40, {0, 78, 2, 22, 22}},
        {41, {0, 71, 0, 22, 24}},  {42, {0, 32, 2, 22, 22}}, {43, {0, 101, 2, 22, 22}},
        {45, {0, 101, 2, 22, 22}}, {46, {0, 32, 2, 22, 22}}, {48, {0, 101, 2, 22, 22}},
    };
    for (const Item& item : items) {
        std::optional<PlacementHead> head = doc.status.head(item.id);
        ASSERT_TRUE(head) << item.id;
        EXPECT_EQ(std::memcmp(&*head, &item.head, sizeof item.head), 0) << item.id;
    }
    EXPECT_EQ(doc.status.modeSwitch.stateCount, 3);
    EXPECT_EQ(doc.status.modeSwitch.pictures[2], 64);
    EXPECT_EQ(doc.status.scriptSwitch.stateCount, 2);
    EXPECT_EQ(doc.status.scriptSwitch.pictures[1], 78);
    EXPECT_EQ(doc.status.softKeyboard.picture, 69);
    EXPECT_EQ(fixedText(doc.status.settings.tooltip), u"帮助");
    for (int id = 38; id <= 54; ++id) {
        bool shown = id == 38 || id == 39 || id == 40 || id == 48;
        EXPECT_EQ(doc.statusItemShown[id - 38], shown ? 1 : 0) << id;
    }
    EXPECT_EQ(doc.statusDirectoryTemplate[10].id, 48);
    EXPECT_EQ(doc.statusDirectoryTemplate[10].offset, 972u - 84u);
}

TEST(SkinDocument, NewSkinPayload) {
    SkinDocument doc;
    std::vector<DirEntry> top = topDirectory(doc);
    ASSERT_GE(top.size(), 6u);
    // Sections first, in the writer's order, back to back.
    const int sectionIds[] = {0, 1, 2, 3, 6, 5};
    const std::uint32_t sectionSizes[] = {576, 576, 608, 608, 36 + 12 * 4 + 3 * 92 + 84, 24};
    std::uint32_t offset = 0;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(top[i].id, sectionIds[i]);
        EXPECT_EQ(top[i].type, kSectionEntry);
        EXPECT_EQ(top[i].offset, offset);
        EXPECT_EQ(top[i].size, sectionSizes[i]);
        offset += top[i].size;
    }
    // Then every picture with a built-in default that takes part, in slot order.
    std::vector<int> expected = {9,  10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21,
                                 22, 23, 61, 62, 63, 64, 65, 66, 67, 68, 79};
    EXPECT_EQ(pictureSlotsInPayload(doc), expected);
    for (std::size_t i = 6; i < top.size(); ++i) {
        EXPECT_EQ(top[i].offset, offset);
        std::span<const std::uint8_t> builtIn = builtInPicture(top[i].id);
        ASSERT_EQ(top[i].size, builtIn.size());
        EXPECT_EQ(std::memcmp(doc.payload().data() + 12 * top.size() + offset, builtIn.data(),
                              builtIn.size()),
                  0);
        offset += top[i].size;
    }
    EXPECT_EQ(doc.header.entryCount, top.size());
    EXPECT_EQ(doc.header.payloadSize, 12 * top.size() + offset);
    EXPECT_EQ(doc.payload().size(), doc.header.payloadSize);

    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1}));
    EXPECT_EQ(elementIds(doc, 2), (std::vector<int>{12, 19, 20, 21}));
    EXPECT_EQ(elementIds(doc, 6), (std::vector<int>{38, 39, 40, 48}));
}

// The pictures' bytes as the payload holds them, by slot.
std::map<int, std::vector<std::uint8_t>> picturesInPayload(const SkinDocument& doc) {
    std::map<int, std::vector<std::uint8_t>> out;
    const std::vector<DirEntry> top = topDirectory(doc);
    const std::uint8_t* data = doc.payload().data() + 12 * top.size();
    for (const DirEntry& e : top) {
        if (e.type == kPictureEntry) {
            out[e.id].assign(data + e.offset, data + e.offset + e.size);
        }
    }
    return out;
}

TEST(SkinDocument, EveryLayoutHoldsTheCurrentPictures) {
    TemporaryFolder folder;
    SkinDocument doc;
    auto expectCurrent = [&](const char* step) {
        SCOPED_TRACE(step);
        doc.layOut();
        for (const auto& [slot, bytes] : picturesInPayload(doc)) {
            std::span<const std::uint8_t> own = doc.pictures[std::size_t(slot)].bytes();
            EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), own.begin(), own.end())) << slot;
        }
    };
    expectCurrent("new skin");
    doc.comboH.compText.marginLeft = 30;  // sections change, pictures stay where they are
    expectCurrent("a margin");
    // A picture of the same size but other bytes, where the old one was.
    doc.importPicture(9, writePicture(folder, "a.png", testing::pngBytes(40, 30, 0xFF0000FF)));
    expectCurrent("first import");
    doc.importPicture(9, writePicture(folder, "b.png", testing::pngBytes(40, 30, 0xFF00FF00)));
    expectCurrent("second import of the same size");
    doc.splitLineOn[kComboH] = 1;  // a larger section moves every picture
    expectCurrent("split line");
    doc.restorePicture(9);
    expectCurrent("restored");
    doc.importPicture(26, writePicture(folder, "c.png", testing::pngBytes(8, 8)));
    doc.comboH.customPictures[0].width = doc.comboH.customPictures[0].height = 8;
    expectCurrent("custom picture");
    doc.comboH.customPictures[0].width = 0;  // dropped again
    expectCurrent("custom picture dropped");
}

TEST(SkinDocument, BuiltInPicturesHaveTheirSizes) {
    struct Size {
        int slot;
        std::uint32_t width, height;
    };
    const Size sizes[] = {{9, 36, 63},  {15, 36, 63}, {16, 24, 10},  {17, 24, 10},
                          {18, 1, 1},   {19, 16, 16}, {20, 11, 11},  {21, 16, 16},
                          {22, 16, 16}, {23, 11, 11}, {61, 128, 27}, {62, 66, 22},
                          {70, 66, 22}, {79, 66, 22}, {80, 66, 22},  {87, 36, 63}};
    auto big32 = [](const std::uint8_t* p) {
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
               p[3];
    };
    for (const Size& s : sizes) {
        for (PictureSet set : {PictureSet::Normal, PictureSet::Large}) {
            std::span<const std::uint8_t> png = builtInPicture(s.slot, set);
            ASSERT_GE(png.size(), 24u) << s.slot;
            std::uint32_t factor = set == PictureSet::Large ? 2 : 1;
            EXPECT_EQ(big32(png.data() + 16), s.width * factor) << s.slot;
            EXPECT_EQ(big32(png.data() + 20), s.height * factor) << s.slot;
        }
    }
    EXPECT_TRUE(builtInPicture(24).empty());
    EXPECT_TRUE(builtInPicture(61, PictureSet::Normal, 1).size() > 0);
    EXPECT_NE(builtInPicture(61, PictureSet::Normal, 1).data(), builtInPicture(61).data());
    // The editor has no default for the slots of the engine's own built-in skin.
    SkinDocument doc;
    EXPECT_TRUE(doc.pictures[80].empty());
    EXPECT_TRUE(doc.pictures[87].empty());
    EXPECT_EQ(doc.pictures[9].data(), doc.pictures[15].data());
}

TEST(SkinDocument, OptionalElementsTakePartOnlyWhenSwitchedOn) {
    TemporaryFolder folder;
    SkinDocument doc;

    doc.splitLineOn[kComboV] = 1;
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1}));
    EXPECT_EQ(elementIds(doc, 1), (std::vector<int>{3, 4, 0, 1, 2}));
    EXPECT_EQ(doc.comboV.splitLine.picture, kNoPicture);
    EXPECT_EQ(doc.comboV.splitLine.marginTop, 1);
    EXPECT_EQ(doc.comboV.splitLine.marginBottom, 1);
    EXPECT_EQ(doc.pictureIncluded[18], 1);
    doc.splitLineOn[kComboV] = 0;
    doc.layOut();
    EXPECT_EQ(doc.pictureIncluded[18], 0);

    // The toolbox needs its picture.
    doc.toolboxOn[kToolboxComboH] = 1;
    doc.toolboxOn[kToolboxSplitV] = 1;
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1}));
    doc.importPicture(25, writePicture(folder, "tool.png", testing::pngBytes(10, 10)));
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1, 5}));
    EXPECT_EQ(elementIds(doc, 3), (std::vector<int>{12, 13, 19, 20, 21}));
    EXPECT_EQ(doc.comboH.toolbox.picture, 25);
    EXPECT_EQ(doc.splitV.header.compElementCount, 2);
    EXPECT_EQ(doc.splitV.header.candElementCount, 3);
}

TEST(SkinDocument, CustomPicturesNeedASize) {
    TemporaryFolder folder;
    SkinDocument doc;
    std::filesystem::path png = writePicture(folder, "c.png", testing::pngBytes(4, 3));
    doc.importPicture(28, png);  // comboH custom picture 2
    doc.importPicture(43, png);  // splitH candidate pane custom picture 2
    doc.comboH.customPictures[2].width = 4;
    doc.comboH.customPictures[2].height = 3;
    doc.splitH.candCustomPictures[2].width = 4;
    doc.splitH.candCustomPictures[2].height = 3;
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1, 8}));
    EXPECT_EQ(elementIds(doc, 2), (std::vector<int>{12, 19, 20, 21, 24}));
    EXPECT_EQ(doc.comboH.customPictures[2].picture, 28);
    std::vector<int> slots = pictureSlotsInPayload(doc);
    EXPECT_NE(std::find(slots.begin(), slots.end(), 28), slots.end());

    // A zero size drops the element and its picture, until the picture is imported again.
    doc.comboH.customPictures[2].height = 0;
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1}));
    EXPECT_EQ(doc.pictureIncluded[28], 0);
    doc.comboH.customPictures[2].height = 3;
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1}));
    slots = pictureSlotsInPayload(doc);
    EXPECT_EQ(std::find(slots.begin(), slots.end(), 28), slots.end());
    doc.importPicture(28, png);
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 0), (std::vector<int>{3, 4, 0, 1, 8}));
}

TEST(SkinDocument, StatusItemsAndTheirPictures) {
    TemporaryFolder folder;
    SkinDocument doc;
    auto hasSlot = [&](int slot) {
        std::vector<int> slots = pictureSlotsInPayload(doc);
        return std::find(slots.begin(), slots.end(), slot) != slots.end();
    };
    EXPECT_FALSE(hasSlot(70));
    doc.setStatusItemShown(42, true);
    doc.layOut();
    EXPECT_TRUE(hasSlot(70));
    EXPECT_TRUE(hasSlot(71));
    EXPECT_EQ(elementIds(doc, 6), (std::vector<int>{38, 39, 40, 42, 48}));
    doc.setStatusItemShown(42, false);
    doc.layOut();
    EXPECT_FALSE(hasSlot(70));
    EXPECT_FALSE(hasSlot(71));

    // Ids outside 38..54 change nothing.
    std::vector<std::uint8_t> before(doc.payload().begin(), doc.payload().end());
    doc.setStatusItemShown(37, true);
    doc.setStatusItemShown(55, true);
    doc.layOut();
    EXPECT_EQ(std::vector<std::uint8_t>(doc.payload().begin(), doc.payload().end()), before);

    // A custom picture of the status bar is placed after the items.
    doc.importPicture(84, writePicture(folder, "s.png", testing::pngBytes(5, 5)));
    doc.status.customPictures[3].width = 5;
    doc.status.customPictures[3].height = 5;
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 6), (std::vector<int>{38, 39, 40, 48, 52}));
    EXPECT_EQ(doc.statusItemShown[52 - 38], 1);

    // Hiding every item leaves the header and the custom picture.
    for (int id = 38; id <= 48; ++id) {
        doc.setStatusItemShown(id, false);
    }
    doc.layOut();
    EXPECT_EQ(elementIds(doc, 6), (std::vector<int>{52}));
    EXPECT_EQ(topDirectory(doc)[4].size, 36u + 12u + 16u);
    for (int slot = 62; slot <= 79; ++slot) {
        EXPECT_FALSE(hasSlot(slot)) << slot;
    }
}

TEST(SkinDocument, PlacementLookups) {
    SkinDocument doc;
    doc.splitV.header.candStretch.right = 9;
    ASSERT_NE(doc.backgroundStretch(14), nullptr);
    EXPECT_EQ(doc.backgroundStretch(14)->right, 9);
    EXPECT_EQ(doc.backgroundStretch(9), &doc.comboH.header.stretch);
    EXPECT_EQ(doc.backgroundStretch(15), nullptr);

    std::optional<PlacementHead> box = doc.statusPictureBox(66);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->x, 55);
    box = doc.statusPictureBox(69);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->height, 24);
    doc.status.customPictures[1].x = 7;
    box = doc.statusPictureBox(82);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->x, 7);
    EXPECT_FALSE(doc.statusPictureBox(80));
    EXPECT_FALSE(doc.statusPictureBox(61));
}

TEST(SkinDocument, AnimationModeFollowsIncludedAnimatedPictures) {
    TemporaryFolder folder;
    SkinDocument doc;
    std::filesystem::path gif = writePicture(folder, "a.gif", testing::gifBytes(2));
    std::filesystem::path apng =
        writePicture(folder, "a.png", testing::pngBytes(2, 2, 0xFF0000FF, 3));
    std::filesystem::path still = writePicture(folder, "s.gif", testing::gifBytes(1));

    doc.importPicture(9, still);
    EXPECT_EQ(doc.pictureAnimated[9], 0);
    EXPECT_EQ(doc.animationMode, 1);
    doc.importPicture(9, gif);
    doc.importPicture(10, apng);
    EXPECT_EQ(doc.pictureAnimated[9], 1);
    EXPECT_EQ(doc.pictureAnimated[10], 1);
    EXPECT_EQ(doc.animationMode, 2);
    doc.layOut();
    EXPECT_EQ(doc.header.animationMode, 2);

    doc.restorePicture(9);
    EXPECT_EQ(doc.animationMode, 2);  // slot 10 is still animated
    doc.restorePicture(10);
    EXPECT_EQ(doc.animationMode, 1);
    EXPECT_EQ(doc.pictures[10].data(), builtInPicture(10).data());
    EXPECT_TRUE(doc.picturePath(10).empty());
    doc.layOut();
    EXPECT_EQ(doc.header.animationMode, 1);
}

TEST(SkinDocument, PictureSlotOperations) {
    TemporaryFolder folder;
    SkinDocument doc;
    std::filesystem::path png = writePicture(folder, "p.png", testing::pngBytes(3, 3));

    doc.loadPictureFile(7, png);
    EXPECT_TRUE(doc.pictures[7].owned());
    EXPECT_EQ(doc.pictures[7].size(), std::int32_t(testing::readFile(png).size()));
    EXPECT_EQ(doc.picturePath(7), png);

    doc.loadPictureFile(7, folder / "missing.png");
    EXPECT_TRUE(doc.pictures[7].empty());
    EXPECT_TRUE(doc.pictures[7].owned());

    const std::uint8_t bytes[] = {1, 2, 3};
    doc.setPictureData(7, bytes);
    EXPECT_FALSE(doc.pictures[7].owned());
    EXPECT_EQ(doc.pictures[7].data(), bytes);
    EXPECT_TRUE(doc.picturePath(7).empty());

    // A slot without a default stays empty after a restore of a new skin.
    doc.restorePicture(7);
    EXPECT_TRUE(doc.pictures[7].empty());

    // Out-of-range slots and empty paths are ignored.
    doc.importPicture(102, png);
    doc.importPicture(8, {});
    EXPECT_TRUE(doc.pictures[8].empty());
    doc.importPicture(3, png);
    EXPECT_TRUE(doc.pictures[3].empty());
    EXPECT_TRUE(doc.picturePath(200).empty());
    doc.restorePicture(102);
}

TEST(SkinDocument, ResetToNewSkinForgetsEverything) {
    TemporaryFolder folder;
    SkinDocument doc;
    doc.importPicture(9, writePicture(folder, "a.gif", testing::gifBytes(2)));
    doc.splitLineOn[kComboH] = 1;
    doc.comboH.compText.marginLeft = 99;
    doc.setStatusItemShown(41, true);
    doc.resetToNewSkin();
    SkinDocument fresh;
    EXPECT_EQ(doc.animationMode, 1);
    EXPECT_EQ(doc.comboH.compText.marginLeft, 11);
    EXPECT_EQ(doc.pictures[9].data(), builtInPicture(9).data());
    ASSERT_EQ(doc.payload().size(), fresh.payload().size());
    EXPECT_EQ(std::memcmp(doc.payload().data(), fresh.payload().data(), fresh.payload().size()), 0);
}

TEST(SkinDocument, InstanceIsOneRecord) {
    EXPECT_EQ(&SkinDocument::instance(), &SkinDocument::instance());
    EXPECT_EQ(SkinDocument::instance().header.magic, kSkinMagic);
}

}  // namespace
}  // namespace tandel
