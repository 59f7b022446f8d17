#include "SkinSections.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "ElementRecords.h"
#include "TextCodec.h"

namespace tandel {

void* StatusSection::item(int id) {
    return const_cast<void*>(static_cast<const StatusSection*>(this)->item(id));
}

const void* StatusSection::item(int id) const {
    switch (id) {
        case 38: return &modeSwitch;
        case 39: return &widthSwitch;
        case 40: return &punctuationSwitch;
        case 41: return &softKeyboard;
        case 42: return &account;
        case 43: return &skinPanel;
        case 44: return &symbolPanel;
        case 45: return &search;
        case 46: return &pinyinSwitch;
        case 47: return &scriptSwitch;
        case 48: return &settings;
        default: return nullptr;
    }
}

std::optional<PlacementHead> StatusSection::head(int id) const {
    const void* record = item(id);
    if (id >= kFirstStatusCustomId && id < kFirstStatusCustomId + kCustomPictureCount) {
        record = &customPictures[id - kFirstStatusCustomId];
    }
    if (record == nullptr) {
        return std::nullopt;
    }
    PlacementHead head;
    std::memcpy(&head, record, sizeof head);
    return head;
}

}  // namespace tandel

namespace tandel {
namespace {

constexpr std::uint32_t kCursorColour = 0xFFE8863E;
constexpr std::uint32_t kFocusColour = 0xFF1434DE;
constexpr std::uint32_t kAuxColour = 0xFFBEBEBE;
constexpr std::uint32_t kCompTextColour = 0xFFC76B1A;
constexpr std::uint32_t kCandTextColour = 0xFFE47A1C;
constexpr std::uint32_t kSplitLineColour = 0xFFF8ECDB;
constexpr StretchSpec kWindowStretch = {0, 4, 7, 4, 4};

ImageElement imageElement(std::int32_t alignment, std::int16_t x, std::int16_t y,
                          std::uint16_t width, std::uint16_t height) {
    return ImageElement{alignment, x, y, width, height, 0};
}

void setCombo(ComboSection& s, bool vertical) {
    s = {};
    s.header.offsetY = 5;
    s.header.stretch = kWindowStretch;
    s.header.cursorColour = kCursorColour;
    s.header.focusColour = kFocusColour;
    s.header.auxColour = kAuxColour;
    s.header.backgroundPicture = vertical ? 10 : 9;
    s.compText = makeTextElement({9, 5, 11, 70}, u"宋体", u"Arial", 16, kCompTextColour);
    s.candText = makeTextElement(vertical ? Margins{8, 25, 11, 50} : Margins{8, 12, 11, 35},
                                 u"宋体", u"宋体", 16, kCandTextColour);
    s.nextPageButton = vertical ? makeButtonElement(kBottomLeft, 26, 22, 6, 10, 16)
                                : makeButtonElement(kBottomRight, 17, 25, 6, 10, 16);
    s.prevPageButton = vertical ? makeButtonElement(kBottomLeft, 12, 22, 6, 10, 17)
                                : makeButtonElement(kBottomRight, 31, 25, 6, 10, 17);
    s.splitLine.colour = kSplitLineColour;
    s.toolbox = imageElement(kTopRight, 0, 0, 0, 0);
    for (ImageElement& e : s.customPictures) {
        e = imageElement(kBottomRight, 0, 0, 0, 0);
    }
    s.directory[0] = {3, kCompTextType, 0, sizeof(TextElement)};
    s.directory[1] = {4, kCandTextType, 156, sizeof(TextElement)};
    s.directory[2] = {0, kPageButtonType, 312, sizeof(ButtonElement)};
    s.directory[3] = {1, kPageButtonType, 396, sizeof(ButtonElement)};
    s.header.elementCount = 4;
    s.dataSize = 480;
}

void setSplit(SplitSection& s, bool vertical) {
    s = {};
    s.header.offsetY = 5;
    s.header.compStretch = kWindowStretch;
    s.header.candStretch = kWindowStretch;
    s.header.cursorColour = kCursorColour;
    s.header.focusColour = kFocusColour;
    s.header.auxColour = kAuxColour;
    s.header.compBackgroundPicture = vertical ? 13 : 11;
    s.header.candBackgroundPicture = vertical ? 14 : 12;
    s.compText = makeTextElement({9, 10, 11, 120}, u"宋体", u"Arial", 16, kCompTextColour);
    s.candText = makeTextElement(vertical ? Margins{7, 25, 11, 70} : Margins{7, 12, 11, 30},
                                 u"宋体", u"宋体", 16, kCandTextColour);
    s.nextPageButton = vertical ? makeButtonElement(kBottomLeft, 26, 22, 6, 10, 16)
                                : makeButtonElement(kTopRight, 16, 11, 6, 10, 16);
    s.prevPageButton = vertical ? makeButtonElement(kBottomLeft, 12, 22, 6, 10, 17)
                                : makeButtonElement(kTopRight, 30, 11, 6, 10, 17);
    s.toolbox = imageElement(kTopRight, 55, 12, 10, 10);
    for (ImageElement& e : s.compCustomPictures) {
        e = imageElement(kBottomRight, 0, 0, 0, 0);
    }
    for (ImageElement& e : s.candCustomPictures) {
        e = imageElement(kBottomRight, 0, 0, 0, 0);
    }
    s.directory[0] = {12, kCompTextType, 0, sizeof(TextElement)};
    s.header.compElementCount = 1;
    s.dataSize = 156;
}

StateButtonElement stateItem(std::int16_t x, std::initializer_list<std::int32_t> pictures) {
    return makeStateButtonElement(kTopLeft, x, 2, 22, 22, pictures);
}

ButtonElement buttonItem(std::int16_t x, std::int16_t y, std::uint16_t height,
                         std::int32_t picture) {
    return makeButtonElement(kTopLeft, x, y, 22, height, picture);
}

void setStatus(StatusSection& s) {
    s = {};
    s.header.stretch = {0, 0, 0, 35, 4};
    s.header.width = 128;
    s.header.height = 27;
    s.header.backgroundPicture = 61;
    s.modeSwitch = stateItem(32, {62, 63, 64});
    s.widthSwitch = stateItem(55, {65, 66});
    s.punctuationSwitch = stateItem(78, {67, 68});
    s.softKeyboard = buttonItem(71, 0, 24, 69);
    s.account = stateItem(32, {70, 71});
    s.skinPanel = buttonItem(101, 2, 22, 72);
    s.symbolPanel = buttonItem(101, 2, 22, 73);
    s.search = buttonItem(101, 2, 22, 74);
    s.pinyinSwitch = stateItem(32, {75, 76});
    s.scriptSwitch = stateItem(32, {77, 78});
    s.settings = buttonItem(101, 2, 22, 79);
    std::uint32_t offset = 0;
    for (int i = 0; i < kStatusItemCount; ++i) {
        const StatusItemInfo& item = kStatusItems[i];
        s.directory[i] = {item.id, item.type, offset, item.recordSize};
        offset += item.recordSize;
    }
    s.header.elementCount = kStatusItemCount;
    s.dataSize = std::int32_t(offset);
}

}  // namespace

void setNewSkinSections(SkinSections& sections) {
    setCombo(sections.comboH, false);
    setCombo(sections.comboV, true);
    setSplit(sections.splitH, false);
    setSplit(sections.splitV, true);
    setStatus(sections.status);
    sections.cloudPictures = {{19, 20, 21, 22, 23, -1}};
    std::fill(std::begin(sections.statusItemShown), std::end(sections.statusItemShown), 0);
    for (int id : {38, 39, 40, 48}) {
        sections.statusItemShown[id - kFirstStatusItemId] = 1;
    }
    std::fill(std::begin(sections.splitLineOn), std::end(sections.splitLineOn), 0);
    std::fill(std::begin(sections.toolboxOn), std::end(sections.toolboxOn), 0);
}

}  // namespace tandel
