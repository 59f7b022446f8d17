// The layout step: turns the document's sections, options and pictures into the skin payload.
// It starts every section from its state after the new-skin defaults and appends the optional
// elements that are switched on; whatever is switched off is left out, and with it its picture.
#include <algorithm>
#include <cstring>
#include <new>

#include "SkinDocument.h"

namespace tandel {
namespace {

constexpr int kToolboxSlot = 25;
constexpr int kSplitLineSlot = 18;
constexpr int kSectionCount = 6;

// Appends directory entries to a section's element directory.
class DirectoryBuilder {
public:
    DirectoryBuilder(DirEntry* directory, int capacity, std::int32_t dataSize)
        : directory_(directory), capacity_(capacity), dataSize_(dataSize) {}

    void append(int id, std::uint16_t type, std::uint32_t size) {
        if (count_ == capacity_) {
            return;
        }
        directory_[count_++] = {std::uint16_t(id), type, std::uint32_t(dataSize_), size};
        dataSize_ += std::int32_t(size);
    }
    void restore(const DirEntry* entries, int count) {
        for (int i = 0; i < count; ++i) {
            directory_[count_++] = entries[i];
        }
    }
    // Zeroes the unused entries, so that a directory never shows a stale element.
    void finish() { std::fill(directory_ + count_, directory_ + capacity_, DirEntry{}); }

    int count() const { return count_; }
    std::int32_t dataSize() const { return dataSize_; }

private:
    DirEntry* directory_;
    int capacity_;
    int count_ = 0;
    std::int32_t dataSize_;
};

// Copies records into the payload.
class PayloadWriter {
public:
    explicit PayloadWriter(std::uint8_t* out) : out_(out) {}
    void write(const void* record, std::size_t size) {
        std::memcpy(out_, record, size);
        out_ += size;
    }
    template <typename Record>
    void write(const Record& record) {
        write(&record, sizeof record);
    }

private:
    std::uint8_t* out_;
};

struct CustomPictureRun {
    ImageElement* elements;
    int firstSlot;
    int firstId;
};

}  // namespace

void SkinDocument::layOut() {
    const bool toolboxPicture = !pictures[kToolboxSlot].empty();

    // Appends the custom pictures that are enabled and have a size; the others lose their
    // picture from the file until they are imported again.
    auto appendCustomPictures = [&](DirectoryBuilder& builder, CustomPictureRun run) {
        for (int k = 0; k < kCustomPictureCount; ++k) {
            ImageElement& e = run.elements[k];
            int slot = run.firstSlot + k;
            if (pictureIncluded[slot] != 0 && e.width != 0 && e.height != 0) {
                e.picture = slot;
                builder.append(run.firstId + k, kImageType, sizeof(ImageElement));
            } else {
                pictureIncluded[slot] = 0;
            }
        }
    };

    auto layOutCombo = [&](ComboSection& s, const SectionSnapshot& snap, bool splitLine,
                           bool toolbox, int firstCustomSlot) {
        DirectoryBuilder builder(s.directory, ComboSection::kDirectoryCapacity, snap.dataSize);
        builder.restore(snap.fixedEntries, snap.elementCount);
        if (splitLine) {
            s.splitLine.alignment = 0;
            s.splitLine.picture = kNoPicture;
            s.splitLine.marginTop = 1;
            s.splitLine.marginBottom = 1;
            builder.append(2, kSplitLineType, sizeof(SplitLineElement));
            pictureIncluded[kSplitLineSlot] = 1;
        }
        if (toolbox && toolboxPicture) {
            s.toolbox.picture = kToolboxSlot;
            builder.append(5, kImageType, sizeof(ImageElement));
        }
        appendCustomPictures(builder, {s.customPictures, firstCustomSlot, 6});
        builder.finish();
        s.header.elementCount = builder.count();
        s.dataSize = builder.dataSize();
        return std::int32_t(sizeof(WindowHeader)) + 12 * builder.count() + builder.dataSize();
    };

    auto layOutSplit = [&](SplitSection& s, const SectionSnapshot& snap, bool toolbox,
                           int firstCompSlot, int firstCandSlot) {
        DirectoryBuilder builder(s.directory, SplitSection::kDirectoryCapacity, snap.dataSize);
        builder.restore(snap.fixedEntries, snap.elementCount);
        if (toolbox && toolboxPicture) {
            s.toolbox.picture = kToolboxSlot;
            builder.append(13, kImageType, sizeof(ImageElement));
        }
        appendCustomPictures(builder, {s.compCustomPictures, firstCompSlot, 14});
        const int compCount = builder.count();
        builder.append(19, kCandTextType, sizeof(TextElement));
        builder.append(20, kPageButtonType, sizeof(ButtonElement));
        builder.append(21, kPageButtonType, sizeof(ButtonElement));
        appendCustomPictures(builder, {s.candCustomPictures, firstCandSlot, 22});
        builder.finish();
        s.header.compElementCount = compCount;
        s.header.candElementCount = builder.count() - compCount;
        s.dataSize = builder.dataSize();
        return std::int32_t(sizeof(SplitHeader)) + 12 * builder.count() + builder.dataSize();
    };

    auto layOutStatus = [&]() {
        const SectionSnapshot& snap = sectionSnapshot[kSnapStatus];
        DirectoryBuilder builder(status.directory, StatusSection::kDirectoryCapacity,
                                 snap.dataSize);
        builder.restore(statusDirectoryTemplate, snap.elementCount);
        for (int k = 0; k < kCustomPictureCount; ++k) {
            ImageElement& e = status.customPictures[k];
            int slot = 81 + k;
            int id = kFirstStatusCustomId + k;
            bool on = pictureIncluded[slot] != 0 && e.width != 0 && e.height != 0;
            if (on) {
                e.picture = slot;
                builder.append(id, kImageType, sizeof(ImageElement));
            } else {
                pictureIncluded[slot] = 0;
            }
            statusItemShown[id - kFirstStatusItemId] = on ? 1 : 0;
        }
        builder.finish();

        // Keep the shown elements only, in directory order, with offsets from 0.
        int kept = 0;
        std::uint32_t offset = 0;
        for (const DirEntry& entry : status.directory) {
            if (entry.id < kFirstStatusItemId || entry.id > kLastStatusElementId ||
                statusItemShown[entry.id - kFirstStatusItemId] == 0) {
                continue;
            }
            std::uint32_t size = entry.type == kStateButtonType    ? sizeof(StateButtonElement)
                                 : entry.type == kStatusButtonType ? sizeof(ButtonElement)
                                                                   : sizeof(ImageElement);
            status.directory[kept++] = {entry.id, entry.type, offset, size};
            offset += size;
        }
        std::fill(status.directory + kept, std::end(status.directory), DirEntry{});
        status.header.elementCount = kept;
        status.dataSize = std::int32_t(offset);

        for (const StatusItemInfo& item : kStatusItems) {
            if (statusItemShown[item.id - kFirstStatusItemId] == 0) {
                for (int k = 0; k < item.pictureCount; ++k) {
                    pictureIncluded[item.pictures[k]] = 0;
                }
            }
        }
        return std::int32_t(sizeof(StatusHeader)) + 12 * kept + status.dataSize;
    };

    pictureIncluded[kSplitLineSlot] = 0;
    topCount = 0;
    topDataSize = 0;
    appendTopEntry(kComboHId,
                   layOutCombo(comboH, sectionSnapshot[kSnapComboH], splitLineOn[kComboH] != 0,
                               toolboxOn[kToolboxComboH] != 0, 26));
    appendTopEntry(kComboVId,
                   layOutCombo(comboV, sectionSnapshot[kSnapComboV], splitLineOn[kComboV] != 0,
                               toolboxOn[kToolboxComboV] != 0, 31));
    appendTopEntry(kSplitHId, layOutSplit(splitH, sectionSnapshot[kSnapSplitH],
                                          toolboxOn[kToolboxSplitH] != 0, 36, 41));
    appendTopEntry(kSplitVId, layOutSplit(splitV, sectionSnapshot[kSnapSplitV],
                                          toolboxOn[kToolboxSplitV] != 0, 46, 51));
    appendTopEntry(kStatusId, layOutStatus());
    appendTopEntry(kCloudPicturesId, sizeof(CloudPictures));

    std::uint64_t total = std::uint64_t(topDataSize);
    for (int slot = kFirstPictureSlot; slot < kSlotCount; ++slot) {
        const PictureSlot& picture = pictures[std::size_t(slot)];
        if (pictureIncluded[slot] != 0 && !picture.empty()) {
            topEntries[topCount++] = {std::uint16_t(slot), kPictureEntry, std::uint32_t(total),
                                      std::uint32_t(picture.size())};
            total += std::uint64_t(picture.size());
        }
    }

    header.entryCount = topCount;
    header.animationMode = std::uint16_t(animationMode);
    std::uint64_t size = 12 * std::uint64_t(topCount) + total;
    // A payload the reader would refuse is never built.
    if (size > kMaxPayloadSize || !reservePayload(std::size_t(size))) {
        payloadSize = 0;
        return;
    }
    topDataSize = std::int32_t(total);
    payloadSize = std::size_t(size);
    header.payloadSize = std::uint32_t(size);

    std::vector<LaidOutPicture> laidOut;
    laidOut.reserve(std::size_t(topCount - kSectionCount));
    payloadKeys_.fill({});
    for (int i = kSectionCount; i < topCount; ++i) {
        const int slot = topEntries[i].id;
        const PictureSlot& picture = pictures[std::size_t(slot)];
        laidOut.push_back({slot, picture.revision()});
        if (keyMemoRevision_[std::size_t(slot)] != picture.revision()) {
            keyMemo_[std::size_t(slot)] = pictureKey(picture.bytes());
            keyMemoRevision_[std::size_t(slot)] = picture.revision();
        }
        payloadKeys_[std::size_t(slot)] = keyMemo_[std::size_t(slot)];
    }
    const std::uint32_t picturesAt =
        topCount > kSectionCount ? topEntries[kSectionCount].offset : std::uint32_t(total);
    const bool picturesInPlace = laidOut == laidOutPictures_ && picturesAt == laidOutPicturesAt_;

    PayloadWriter out(payload_.get());
    out.write(topEntries, 12 * std::size_t(topCount));
    auto writeDirectory = [&](const DirEntry* directory, int count) {
        out.write(directory, 12 * std::size_t(count));
    };
    for (const ComboSection* s : {&comboH, &comboV}) {
        out.write(s->header);
        writeDirectory(s->directory, s->header.elementCount);
        for (int i = 0; i < s->header.elementCount; ++i) {
            switch (int id = s->directory[i].id) {
                case 3: out.write(s->compText); break;
                case 4: out.write(s->candText); break;
                case 0: out.write(s->nextPageButton); break;
                case 1: out.write(s->prevPageButton); break;
                case 2: out.write(s->splitLine); break;
                case 5: out.write(s->toolbox); break;
                default: out.write(s->customPictures[id - 6]); break;
            }
        }
    }
    for (const SplitSection* s : {&splitH, &splitV}) {
        out.write(s->header);
        int count = s->header.compElementCount + s->header.candElementCount;
        writeDirectory(s->directory, count);
        for (int i = 0; i < count; ++i) {
            switch (int id = s->directory[i].id) {
                case 12: out.write(s->compText); break;
                case 13: out.write(s->toolbox); break;
                case 19: out.write(s->candText); break;
                case 20: out.write(s->nextPageButton); break;
                case 21: out.write(s->prevPageButton); break;
                default:
                    out.write(id < 19 ? s->compCustomPictures[id - 14]
                                      : s->candCustomPictures[id - 22]);
                    break;
            }
        }
    }
    out.write(status.header);
    writeDirectory(status.directory, status.header.elementCount);
    for (int i = 0; i < status.header.elementCount; ++i) {
        const DirEntry& entry = status.directory[i];
        if (const void* item = status.item(entry.id)) {
            out.write(item, entry.size);
        } else {
            out.write(status.customPictures[entry.id - kFirstStatusCustomId]);
        }
    }
    out.write(cloudPictures);
    if (!picturesInPlace) {
        for (int i = kSectionCount; i < topCount; ++i) {
            out.write(pictures[topEntries[i].id].data(), topEntries[i].size);
        }
        laidOutPictures_ = std::move(laidOut);
        laidOutPicturesAt_ = picturesAt;
    }
}

bool SkinDocument::reservePayload(std::size_t size) {
    if (size > payloadCapacity_ || !payload_) {
        payload_.reset(new (std::nothrow) std::uint8_t[std::max<std::size_t>(size, 1)]);
        payloadCapacity_ = payload_ ? size : 0;
        laidOutPictures_.clear();
        laidOutPicturesAt_ = 0;
    }
    return payload_ != nullptr;
}

}  // namespace tandel
