// The editor's one skin record: picture slots, the layout sections and their options (the
// SkinSections base), the file header with the author information, the font page cache, and the
// payload built by the last layout step.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "PictureKey.h"
#include "SkinFile.h"
#include "SkinSections.h"

namespace tandel {

// One picture of the skin: the complete image file, either owned (read from a picture file)
// or borrowed from a built-in picture or from the opened skin file's data.
class PictureSlot {
public:
    const std::uint8_t* data() const { return data_; }
    std::int32_t size() const { return size_; }
    bool owned() const { return owned_; }
    bool empty() const { return size_ == 0; }
    std::span<const std::uint8_t> bytes() const { return {data_, std::size_t(size_)}; }
    // Changes with every borrow, adopt and clear: the same revision means the same bytes.
    std::uint64_t revision() const { return revision_; }

    void borrow(std::span<const std::uint8_t> bytes);
    void adopt(std::vector<std::uint8_t> bytes);
    // Empty; owned tells whether the slot counts as holding its own (absent) bytes.
    void clear(bool owned);

private:
    const std::uint8_t* data_ = nullptr;
    std::int32_t size_ = 0;
    bool owned_ = false;
    std::vector<std::uint8_t> storage_;
    std::uint64_t revision_ = 0;
};

struct FontSetting {
    std::int32_t index;
    char16_t face[32];
    std::int32_t size;
    std::int32_t bold;
};

struct ColourSetting {
    std::int32_t index;
    std::uint32_t colour;  // COLORREF without alpha
};

// A layout section's state right after the new-skin defaults: the layout step starts from it.
struct SectionSnapshot {
    std::int32_t elementCount;      // the composition pane's count for split sections
    std::int32_t candElementCount;  // split sections only
    std::int32_t sectionSize;
    std::int32_t dataSize;
    DirEntry fixedEntries[4];  // the first elementCount directory entries
};

enum SnapshotIndex { kSnapComboH = 0, kSnapComboV, kSnapSplitH, kSnapSplitV, kSnapStatus };

// Decides whether picture file bytes hold an animation (more than one frame).
using AnimationProbe = bool (*)(std::span<const std::uint8_t> bytes);

class SkinDocument : public SkinSections {
public:
    SkinDocument();
    SkinDocument(const SkinDocument&) = delete;
    SkinDocument& operator=(const SkinDocument&) = delete;

    // The process-wide record, created with the defaults of a new skin on first use.
    static SkinDocument& instance();

    void resetToNewSkin();
    void applyNewSkinDefaults();

    // Pictures. Slots outside 7..101 (and empty paths, for imports) are ignored.
    void importPicture(int slot, const std::filesystem::path& path);
    void loadPictureFile(int slot, const std::filesystem::path& path);
    void setPictureData(int slot, std::span<const std::uint8_t> bytes);
    void resetPictureToDefault(int slot);
    void restorePicture(int slot);
    std::filesystem::path picturePath(int slot) const;
    bool hasAnimatedPicture() const;

    void setStatusItemShown(int id, bool shown);
    // The stretch bands of the background whose picture is slot 9..14.
    const StretchSpec* backgroundStretch(int slot) const;
    // The placement head of the status element that uses picture slot 62..79 or 81..85.
    std::optional<PlacementHead> statusPictureBox(int slot) const;

    // Rebuilds the payload from the sections, options and pictures.
    void layOut();
    // Lays out, compresses and writes the file; an existing file is replaced only by a complete
    // new one. Returns whether the file was written; why, when given, receives the reason of
    // a failure.
    bool saveToFile(const std::filesystem::path& path, std::string* why = nullptr);
    // Whether the file is one the editor can open (header, magic, version, signature).
    static bool checkFile(const std::filesystem::path& path);
    // Reads a skin file into the document. A file that fails any check leaves the document as
    // it was; on success every section and picture comes from the file.
    bool loadFromFile(const std::filesystem::path& path);

    // The payload built by the last layout step; empty when it could not be built.
    std::span<const std::uint8_t> payload() const { return {payload_.get(), payloadSize}; }
    // The keys of the pictures the last layout put into the payload, by slot (zero for the
    // others). Each is worked out once per change of its picture.
    const std::array<PictureKey, kSlotCount>& payloadPictureKeys() const { return payloadKeys_; }
    // The data area of the last opened file (what its picture entries point into).
    std::span<const std::uint8_t> openedData() const;

    static void setAnimationProbe(AnimationProbe probe);

    std::array<PictureSlot, kSlotCount> pictures;
    std::array<std::filesystem::path, kSlotCount> picturePaths;
    SkinFileHeader header;
    FontSetting fontSettings[6];
    ColourSetting colourSettings[4];
    std::uint16_t topCount = 0;
    DirEntry topEntries[kSlotCount];
    std::int32_t topDataSize = 0;
    std::uint8_t pictureIncluded[kSlotCount];
    SectionSnapshot sectionSnapshot[5];
    std::int32_t pictureAnimated[kSlotCount];
    DirEntry statusDirectoryTemplate[kStatusElementCount];
    std::size_t payloadSize = 0;
    std::int32_t animationMode = 1;
    DirEntry openedPictures[kSlotCount];
    std::uint8_t openedFromFile = 0;

private:
    void clearPictureSlots();
    void recomputeAnimationMode();
    void appendTopEntry(std::uint16_t id, std::int32_t size);
    bool reservePayload(std::size_t size);

    std::unique_ptr<std::uint8_t[]> payload_;
    std::size_t payloadCapacity_ = 0;
    // The pictures the payload holds behind its sections, by slot and revision: a layout that
    // would write the same pictures to the same place leaves them where they are, so that the
    // preview's layout after every edit costs no more than the sections.
    struct LaidOutPicture {
        int slot;
        std::uint64_t revision;
        bool operator==(const LaidOutPicture&) const = default;
    };
    std::vector<LaidOutPicture> laidOutPictures_;
    std::uint32_t laidOutPicturesAt_ = 0;
    std::array<PictureKey, kSlotCount> payloadKeys_{};
    std::array<PictureKey, kSlotCount> keyMemo_{};
    std::array<std::uint64_t, kSlotCount> keyMemoRevision_{};  // the revision each key is of
    std::vector<std::uint8_t> openedPayload_;  // the whole inflated payload of the opened file
    std::size_t openedDataOffset_ = 0;
};

}  // namespace tandel
