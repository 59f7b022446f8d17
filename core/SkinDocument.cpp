#include "SkinDocument.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ctime>

#include "BuiltInPictures.h"
#include "FileBytes.h"
#include "PictureSniff.h"
#include "SkinDate.h"
#include "SkinFileReader.h"
#include "SkinFileWriter.h"
#include "TextCodec.h"

namespace tandel {
namespace {

AnimationProbe gAnimationProbe = &looksAnimated;

bool isPictureSlot(int slot) {
    return slot >= kFirstPictureSlot && slot < kSlotCount;
}

// The editor's built-in pictures: window frames, page-turn buttons, split line, cloud pictures
// and the status bar.
std::span<const std::uint8_t> editorDefaultPicture(int slot) {
    bool hasDefault = (slot >= 9 && slot <= 23) || (slot >= 61 && slot <= 79);
    return hasDefault ? builtInPicture(slot) : std::span<const std::uint8_t>{};
}

SectionSnapshot snapshotOf(std::int32_t count, std::int32_t candCount, std::int32_t headerSize,
                           std::int32_t dataSize, const DirEntry* directory) {
    SectionSnapshot snapshot{};
    snapshot.elementCount = count;
    snapshot.candElementCount = candCount;
    snapshot.sectionSize = headerSize + 12 * (count + candCount) + dataSize;
    snapshot.dataSize = dataSize;
    std::copy_n(directory, std::min<std::int32_t>(count, 4), snapshot.fixedEntries);
    return snapshot;
}

}  // namespace

namespace {
std::atomic<std::uint64_t> gPictureRevision{0};
}  // namespace

void PictureSlot::borrow(std::span<const std::uint8_t> bytes) {
    revision_ = ++gPictureRevision;
    storage_ = {};
    data_ = bytes.data();
    size_ = std::int32_t(bytes.size());
    owned_ = false;
}

void PictureSlot::adopt(std::vector<std::uint8_t> bytes) {
    revision_ = ++gPictureRevision;
    storage_ = std::move(bytes);
    data_ = storage_.data();
    size_ = std::int32_t(storage_.size());
    owned_ = true;
}

void PictureSlot::clear(bool owned) {
    revision_ = ++gPictureRevision;
    storage_ = {};
    data_ = nullptr;
    size_ = 0;
    owned_ = owned;
}

SkinDocument::SkinDocument() {
    clearPictureSlots();
    applyNewSkinDefaults();
}

SkinDocument& SkinDocument::instance() {
    static SkinDocument document;
    return document;
}

void SkinDocument::setAnimationProbe(AnimationProbe probe) {
    gAnimationProbe = probe != nullptr ? probe : &looksAnimated;
}

void SkinDocument::clearPictureSlots() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        pictures[std::size_t(slot)].clear(false);
        picturePaths[std::size_t(slot)].clear();
        resetPictureToDefault(slot);
    }
}

void SkinDocument::resetToNewSkin() {
    clearPictureSlots();
    applyNewSkinDefaults();
}

void SkinDocument::applyNewSkinDefaults() {
    animationMode = 1;
    openedFromFile = 0;
    setNewSkinSections(*this);
    std::fill(std::begin(pictureIncluded), std::end(pictureIncluded), 1);
    std::fill(std::begin(pictureAnimated), std::end(pictureAnimated), 0);

    header = {};
    header.magic = kSkinMagic;
    header.revision = 1;
    header.formatVersion = kSkinFormatVersion;
    header.animationMode = std::uint16_t(animationMode);
    setFixedText(header.name, u"澜石输入法");
    setFixedText(header.author, u"Author");
    setFixedText(header.date, utf8ToUtf16(makeDateString()));

    std::memset(fontSettings, 0, sizeof fontSettings);
    fontSettings[0].index = 0;
    setFixedText(fontSettings[0].face, u"宋体");
    fontSettings[0].size = 16;
    fontSettings[1].index = 1;
    setFixedText(fontSettings[1].face, u"Arial");
    fontSettings[1].size = 16;
    fontSettings[3].index = 3;
    setFixedText(fontSettings[3].face, u"宋体");
    fontSettings[3].size = 16;
    colourSettings[0] = {0, 0xC76B1A};
    colourSettings[1] = {1, 0xE8863E};
    colourSettings[2] = {2, 0xE47A1C};
    colourSettings[3] = {3, 0x1434DE};

    topCount = 0;
    topDataSize = 0;
    std::memset(topEntries, 0, sizeof topEntries);
    sectionSnapshot[kSnapComboH] = snapshotOf(comboH.header.elementCount, 0, sizeof(WindowHeader),
                                              comboH.dataSize, comboH.directory);
    appendTopEntry(kComboHId, sectionSnapshot[kSnapComboH].sectionSize);
    sectionSnapshot[kSnapComboV] = snapshotOf(comboV.header.elementCount, 0, sizeof(WindowHeader),
                                              comboV.dataSize, comboV.directory);
    appendTopEntry(kComboVId, sectionSnapshot[kSnapComboV].sectionSize);
    sectionSnapshot[kSnapSplitH] =
        snapshotOf(splitH.header.compElementCount, splitH.header.candElementCount,
                   sizeof(SplitHeader), splitH.dataSize, splitH.directory);
    appendTopEntry(kSplitHId, sectionSnapshot[kSnapSplitH].sectionSize);
    sectionSnapshot[kSnapSplitV] =
        snapshotOf(splitV.header.compElementCount, splitV.header.candElementCount,
                   sizeof(SplitHeader), splitV.dataSize, splitV.directory);
    appendTopEntry(kSplitVId, sectionSnapshot[kSnapSplitV].sectionSize);
    appendTopEntry(kCloudPicturesId, sizeof(CloudPictures));
    sectionSnapshot[kSnapStatus] = snapshotOf(status.header.elementCount, 0, sizeof(StatusHeader),
                                              status.dataSize, status.directory);
    std::copy(std::begin(status.directory), std::end(status.directory), statusDirectoryTemplate);
    appendTopEntry(kStatusId, sectionSnapshot[kSnapStatus].sectionSize);

    layOut();
}

void SkinDocument::appendTopEntry(std::uint16_t id, std::int32_t size) {
    topEntries[topCount] = {id, kSectionEntry, std::uint32_t(topDataSize), std::uint32_t(size)};
    ++topCount;
    topDataSize += size;
}

void SkinDocument::recomputeAnimationMode() {
    animationMode = hasAnimatedPicture() ? 2 : 1;
}

bool SkinDocument::hasAnimatedPicture() const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (pictureIncluded[slot] != 0 && pictureAnimated[slot] != 0) {
            return true;
        }
    }
    return false;
}

void SkinDocument::importPicture(int slot, const std::filesystem::path& path) {
    if (!isPictureSlot(slot) || path.empty()) {
        return;
    }
    std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(path);
    pictureAnimated[slot] = bytes && gAnimationProbe(*bytes) ? 1 : 0;
    pictureIncluded[slot] = 1;
    recomputeAnimationMode();
    picturePaths[std::size_t(slot)] = path;
    if (bytes) {
        pictures[std::size_t(slot)].adopt(std::move(*bytes));
    } else {
        pictures[std::size_t(slot)].clear(true);
    }
}

void SkinDocument::loadPictureFile(int slot, const std::filesystem::path& path) {
    if (!isPictureSlot(slot)) {
        return;
    }
    picturePaths[std::size_t(slot)] = path;
    std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(path);
    if (bytes) {
        pictures[std::size_t(slot)].adopt(std::move(*bytes));
    } else {
        pictures[std::size_t(slot)].clear(true);
    }
}

void SkinDocument::setPictureData(int slot, std::span<const std::uint8_t> bytes) {
    if (!isPictureSlot(slot)) {
        return;
    }
    pictures[std::size_t(slot)].borrow(bytes);
    picturePaths[std::size_t(slot)].clear();
}

void SkinDocument::resetPictureToDefault(int slot) {
    if (slot < 0 || slot >= kSlotCount) {
        return;
    }
    picturePaths[std::size_t(slot)].clear();
    pictures[std::size_t(slot)].borrow(editorDefaultPicture(slot));
}

void SkinDocument::restorePicture(int slot) {
    if (!isPictureSlot(slot)) {
        return;
    }
    if (openedFromFile != 0) {
        const DirEntry& entry = openedPictures[slot];
        setPictureData(slot, openedData().subspan(entry.offset, entry.size));
    } else {
        resetPictureToDefault(slot);
    }
    pictureAnimated[slot] = 0;
    recomputeAnimationMode();
}

std::filesystem::path SkinDocument::picturePath(int slot) const {
    if (slot < 0 || slot >= kSlotCount) {
        return {};
    }
    return picturePaths[std::size_t(slot)];
}

void SkinDocument::setStatusItemShown(int id, bool shown) {
    if (id < kFirstStatusItemId || id > kLastStatusElementId) {
        return;
    }
    statusItemShown[id - kFirstStatusItemId] = shown ? 1 : 0;
    for (const StatusItemInfo& item : kStatusItems) {
        for (int k = 0; k < item.pictureCount; ++k) {
            pictureIncluded[item.pictures[k]] = statusItemShown[item.id - kFirstStatusItemId];
        }
    }
}

const StretchSpec* SkinDocument::backgroundStretch(int slot) const {
    switch (slot) {
        case 9: return &comboH.header.stretch;
        case 10: return &comboV.header.stretch;
        case 11: return &splitH.header.compStretch;
        case 12: return &splitH.header.candStretch;
        case 13: return &splitV.header.compStretch;
        case 14: return &splitV.header.candStretch;
        default: return nullptr;
    }
}

std::optional<PlacementHead> SkinDocument::statusPictureBox(int slot) const {
    if (slot >= 81 && slot < 81 + kCustomPictureCount) {
        return status.head(kFirstStatusCustomId + slot - 81);
    }
    for (const StatusItemInfo& item : kStatusItems) {
        for (int k = 0; k < item.pictureCount; ++k) {
            if (item.pictures[k] == slot) {
                return status.head(item.id);
            }
        }
    }
    return std::nullopt;
}

std::span<const std::uint8_t> SkinDocument::openedData() const {
    return std::span<const std::uint8_t>(openedPayload_)
        .subspan(std::min(openedDataOffset_, openedPayload_.size()));
}

bool SkinDocument::saveToFile(const std::filesystem::path& path, std::string* why) {
    layOut();
    if (payloadSize == 0) {
        if (why != nullptr) {
            *why = "the skin cannot be laid out: its pictures exceed what a skin file may hold";
        }
        return false;
    }
    return writeSkinFile(path, header, payload(), why);
}

bool SkinDocument::checkFile(const std::filesystem::path& path) {
    SkinFileHeader fileHeader;
    return readSkinFileHeader(path, fileHeader, nullptr) && checkSkinHeader(fileHeader, nullptr);
}

bool SkinDocument::loadFromFile(const std::filesystem::path& path) {
    std::optional<OpenedSkinFile> file = openSkinFile(path, nullptr);
    if (!file) {
        return false;
    }
    resetToNewSkin();
    // The reset's layout step left out the new skin's unsized custom pictures; every picture
    // takes part again until the next layout step decides from the file's elements.
    std::fill(std::begin(pictureIncluded), std::end(pictureIncluded), 1);
    static_cast<SkinSections&>(*this) = file->sections;
    header = file->contents.header;
    animationMode = header.animationMode;
    std::copy(std::begin(file->contents.entries), std::end(file->contents.entries), openedPictures);
    openedDataOffset_ = file->contents.dataOffset;
    openedPayload_ = std::move(file->contents.payload);

    const TextElement& compText = comboH.compText;
    const TextElement& candText = comboH.candText;
    colourSettings[0].colour = compText.colour & 0xFFFFFF;
    colourSettings[1].colour = comboH.header.cursorColour & 0xFFFFFF;
    colourSettings[2].colour = candText.colour & 0xFFFFFF;
    colourSettings[3].colour = comboH.header.focusColour & 0xFFFFFF;
    fontSettings[0] = {0, {}, compText.cnFontSize, 0};
    std::copy(std::begin(candText.cnFont), std::end(candText.cnFont), fontSettings[0].face);
    fontSettings[1] = {1, {}, compText.enFontSize, 0};
    std::copy(std::begin(candText.enFont), std::end(candText.enFont), fontSettings[1].face);
    fontSettings[3] = {3, {}, candText.cnFontSize, 0};
    std::copy(std::begin(candText.cnFont), std::end(candText.cnFont), fontSettings[3].face);

    std::span<const std::uint8_t> data = openedData();
    for (int slot = kFirstPictureSlot; slot < kSlotCount; ++slot) {
        const DirEntry& entry = openedPictures[slot];
        if (file->contents.present[slot]) {
            setPictureData(slot, data.subspan(entry.offset, entry.size));
        } else if (slot == 10 && file->contents.present[9]) {
            // A skin without its own vertical background uses the horizontal one.
            setPictureData(slot, data.subspan(openedPictures[9].offset, openedPictures[9].size));
        }
    }
    openedFromFile = 1;
    return true;
}

}  // namespace tandel
