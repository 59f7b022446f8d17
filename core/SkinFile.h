// The .tdskn skin file: its header, the payload's directory and the section and element records.
// Every record here is stored byte for byte as laid out (little-endian, no padding), so records
// are copied in and out of files and payloads with memcpy.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace tandel {

static_assert(std::endian::native == std::endian::little,
              "skin records are stored little-endian and copied as they are");

inline constexpr std::uint32_t kSkinMagic = 0x0815B506;
inline constexpr std::uint16_t kSkinFormatVersion = 2;
inline constexpr std::size_t kSkinHeaderSize = 656;
// The size limit of a payload, both when writing and when reading a skin file.
inline constexpr std::size_t kMaxPayloadSize = std::size_t(256) << 20;

// Ids 0..101 share one space: sections and picture slots.
inline constexpr int kSlotCount = 102;
// A picture field holding this value means "no picture".
inline constexpr std::int32_t kNoPicture = 102;
inline constexpr int kFirstPictureSlot = 7;

enum SectionId : std::uint16_t {
    kComboHId = 0,
    kComboVId = 1,
    kSplitHId = 2,
    kSplitVId = 3,
    kCloudPicturesId = 5,
    kStatusId = 6,
};

enum EntryType : std::uint16_t {
    kSectionEntry = 0,
    kPictureEntry = 1,
};

// Control type codes of the element directories.
enum ControlType : std::uint16_t {
    kCompTextType = 7,
    kCandTextType = 8,
    kStatusButtonType = 11,
    kPageButtonType = 12,
    kStateButtonType = 13,
    kImageType = 14,
    kSplitLineType = 15,
};

enum Alignment : std::int32_t {
    kTopLeft = 0,
    kTopCentre = 1,
    kTopRight = 2,
    kMiddleLeft = 3,
    kCentre = 4,
    kMiddleRight = 5,
    kBottomLeft = 6,
    kBottomCentre = 7,
    kBottomRight = 8,
};

// Fixed text arrays hold UTF-16 units, zero-terminated when shorter than the array.
using Text32 = char16_t[32];
using Text128 = char16_t[128];

struct SkinFileHeader {
    std::uint32_t magic;
    std::uint16_t revision;
    std::uint16_t formatVersion;
    std::uint16_t animationMode;
    std::uint16_t entryCount;
    std::uint32_t payloadSize;
    char skinId[32];  // lowercase hex, no terminator
    Text32 name;
    Text32 author;
    Text32 date;
    Text32 email;
    Text128 description;
    char signature[32];  // lowercase hex, no terminator
    std::uint8_t reserved[64];
};
static_assert(sizeof(SkinFileHeader) == kSkinHeaderSize);
static_assert(offsetof(SkinFileHeader, revision) == 4);
static_assert(offsetof(SkinFileHeader, formatVersion) == 6);
static_assert(offsetof(SkinFileHeader, animationMode) == 8);
static_assert(offsetof(SkinFileHeader, entryCount) == 10);
static_assert(offsetof(SkinFileHeader, payloadSize) == 12);
static_assert(offsetof(SkinFileHeader, skinId) == 16);
static_assert(offsetof(SkinFileHeader, name) == 48);
static_assert(offsetof(SkinFileHeader, author) == 112);
static_assert(offsetof(SkinFileHeader, date) == 176);
static_assert(offsetof(SkinFileHeader, email) == 240);
static_assert(offsetof(SkinFileHeader, description) == 304);
static_assert(offsetof(SkinFileHeader, signature) == 560);
static_assert(offsetof(SkinFileHeader, reserved) == 592);

// One entry of the payload's top directory or of a section's element directory. Top-directory
// offsets count from the start of the data area; element offsets from the start of the
// section's element data.
struct DirEntry {
    std::uint16_t id;
    std::uint16_t type;
    std::uint32_t offset;
    std::uint32_t size;
};
static_assert(sizeof(DirEntry) == 12);
static_assert(offsetof(DirEntry, type) == 2);
static_assert(offsetof(DirEntry, offset) == 4);
static_assert(offsetof(DirEntry, size) == 8);

// Border bands of a background picture; mode 0 stretches the middle, 1 tiles it.
struct StretchSpec {
    std::int32_t mode;
    std::uint16_t top;
    std::uint16_t bottom;
    std::uint16_t left;
    std::uint16_t right;
};
static_assert(sizeof(StretchSpec) == 12);
static_assert(offsetof(StretchSpec, top) == 4);
static_assert(offsetof(StretchSpec, right) == 10);

// Margins; the mode is kept as read.
struct EdgeSpec {
    std::int32_t mode;
    std::uint16_t top;
    std::uint16_t bottom;
    std::uint16_t left;
    std::uint16_t right;
};
static_assert(sizeof(EdgeSpec) == 12);

struct WindowHeader {
    std::int16_t offsetX;
    std::int16_t offsetY;
    StretchSpec stretch;
    EdgeSpec outerMargins;
    std::uint32_t cursorColour;
    std::uint32_t focusColour;
    std::uint32_t auxColour;
    std::int32_t backgroundPicture;
    std::int32_t elementCount;
};
static_assert(sizeof(WindowHeader) == 48);
static_assert(offsetof(WindowHeader, stretch) == 4);
static_assert(offsetof(WindowHeader, outerMargins) == 16);
static_assert(offsetof(WindowHeader, cursorColour) == 28);
static_assert(offsetof(WindowHeader, focusColour) == 32);
static_assert(offsetof(WindowHeader, auxColour) == 36);
static_assert(offsetof(WindowHeader, backgroundPicture) == 40);
static_assert(offsetof(WindowHeader, elementCount) == 44);

struct SplitHeader {
    std::int16_t offsetX;
    std::int16_t offsetY;
    StretchSpec compStretch;
    EdgeSpec compOuterMargins;
    std::uint32_t cursorColour;
    std::int32_t compBackgroundPicture;
    std::int32_t compElementCount;
    StretchSpec candStretch;
    EdgeSpec candOuterMargins;
    std::uint32_t focusColour;
    std::uint32_t auxColour;
    std::int32_t candBackgroundPicture;
    std::int32_t candElementCount;
};
static_assert(sizeof(SplitHeader) == 80);
static_assert(offsetof(SplitHeader, compStretch) == 4);
static_assert(offsetof(SplitHeader, compOuterMargins) == 16);
static_assert(offsetof(SplitHeader, cursorColour) == 28);
static_assert(offsetof(SplitHeader, compBackgroundPicture) == 32);
static_assert(offsetof(SplitHeader, compElementCount) == 36);
static_assert(offsetof(SplitHeader, candStretch) == 40);
static_assert(offsetof(SplitHeader, candOuterMargins) == 52);
static_assert(offsetof(SplitHeader, focusColour) == 64);
static_assert(offsetof(SplitHeader, auxColour) == 68);
static_assert(offsetof(SplitHeader, candBackgroundPicture) == 72);
static_assert(offsetof(SplitHeader, candElementCount) == 76);

struct StatusHeader {
    StretchSpec stretch;
    EdgeSpec outerMargins;
    std::uint16_t width;
    std::uint16_t height;
    std::int32_t backgroundPicture;
    std::int32_t elementCount;
};
static_assert(sizeof(StatusHeader) == 36);
static_assert(offsetof(StatusHeader, outerMargins) == 12);
static_assert(offsetof(StatusHeader, width) == 24);
static_assert(offsetof(StatusHeader, height) == 26);
static_assert(offsetof(StatusHeader, backgroundPicture) == 28);
static_assert(offsetof(StatusHeader, elementCount) == 32);

// Slots 0..3 are the cloud states (1 doubles as the cloud-link icon); a last value other than
// -1 switches on the focused-candidate picture.
struct CloudPictures {
    std::int32_t slots[6];
};
static_assert(sizeof(CloudPictures) == 24);

// The placement head every picture-like element starts with.
struct PlacementHead {
    std::int32_t alignment;
    std::int16_t x;
    std::int16_t y;
    std::uint16_t width;
    std::uint16_t height;
};
static_assert(sizeof(PlacementHead) == 12);

struct ImageElement {
    std::int32_t alignment;
    std::int16_t x;
    std::int16_t y;
    std::uint16_t width;
    std::uint16_t height;
    std::int32_t picture;
};
static_assert(sizeof(ImageElement) == 16);
static_assert(offsetof(ImageElement, x) == 4);
static_assert(offsetof(ImageElement, y) == 6);
static_assert(offsetof(ImageElement, width) == 8);
static_assert(offsetof(ImageElement, height) == 10);
static_assert(offsetof(ImageElement, picture) == 12);

struct ButtonElement {
    std::int32_t alignment;
    std::int16_t x;
    std::int16_t y;
    std::uint16_t width;  // of one frame of the strip
    std::uint16_t height;
    std::int32_t picture;
    std::uint32_t fillColour;  // used when picture is kNoPicture
    Text32 tooltip;
};
static_assert(sizeof(ButtonElement) == 84);
static_assert(offsetof(ButtonElement, picture) == 12);
static_assert(offsetof(ButtonElement, fillColour) == 16);
static_assert(offsetof(ButtonElement, tooltip) == 20);

struct StateButtonElement {
    std::int32_t alignment;
    std::int16_t x;
    std::int16_t y;
    std::uint16_t width;
    std::uint16_t height;
    std::int32_t pictures[3];  // one three-frame strip per state
    std::int32_t stateCount;
    Text32 tooltip;
};
static_assert(sizeof(StateButtonElement) == 92);
static_assert(offsetof(StateButtonElement, pictures) == 12);
static_assert(offsetof(StateButtonElement, stateCount) == 24);
static_assert(offsetof(StateButtonElement, tooltip) == 28);

struct TextElement {
    std::int32_t alignment;
    std::uint16_t marginTop;
    std::uint16_t marginBottom;
    std::uint16_t marginLeft;
    std::uint16_t marginRight;
    Text32 cnFont;
    Text32 enFont;
    std::int32_t cnFontSize;
    std::int32_t enFontSize;
    std::int32_t bold;
    std::uint32_t colour;
};
static_assert(sizeof(TextElement) == 156);
static_assert(offsetof(TextElement, marginTop) == 4);
static_assert(offsetof(TextElement, marginRight) == 10);
static_assert(offsetof(TextElement, cnFont) == 12);
static_assert(offsetof(TextElement, enFont) == 76);
static_assert(offsetof(TextElement, cnFontSize) == 140);
static_assert(offsetof(TextElement, enFontSize) == 144);
static_assert(offsetof(TextElement, bold) == 148);
static_assert(offsetof(TextElement, colour) == 152);

struct SplitLineElement {
    std::int32_t alignment;
    std::uint16_t head[4];
    std::int32_t marginMode;
    std::uint16_t marginTop;
    std::uint16_t marginBottom;
    std::uint16_t leftReserve;
    std::uint16_t rightReserve;
    std::int32_t picture;  // kNoPicture: drawn in colour
    std::uint32_t colour;
};
static_assert(sizeof(SplitLineElement) == 32);
static_assert(offsetof(SplitLineElement, marginMode) == 12);
static_assert(offsetof(SplitLineElement, marginTop) == 16);
static_assert(offsetof(SplitLineElement, leftReserve) == 20);
static_assert(offsetof(SplitLineElement, rightReserve) == 22);
static_assert(offsetof(SplitLineElement, picture) == 24);
static_assert(offsetof(SplitLineElement, colour) == 28);

// The status items: element id, control type, record size, picture slot per state.
struct StatusItemInfo {
    std::uint16_t id;
    std::uint16_t type;
    std::uint32_t recordSize;
    int pictureCount;
    std::int32_t pictures[3];
};
inline constexpr int kFirstStatusItemId = 38;
inline constexpr int kLastStatusItemId = 48;
inline constexpr int kStatusItemCount = 11;
inline constexpr int kFirstStatusCustomId = 49;
inline constexpr int kLastStatusElementId = 54;
inline constexpr int kStatusElementCount = 17;  // ids 38..54
inline constexpr StatusItemInfo kStatusItems[kStatusItemCount] = {
    {38, kStateButtonType, 92, 3, {62, 63, 64}}, {39, kStateButtonType, 92, 2, {65, 66, 0}},
    {40, kStateButtonType, 92, 2, {67, 68, 0}},  {41, kStatusButtonType, 84, 1, {69, 0, 0}},
    {42, kStateButtonType, 92, 2, {70, 71, 0}},  {43, kStatusButtonType, 84, 1, {72, 0, 0}},
    {44, kStatusButtonType, 84, 1, {73, 0, 0}},  {45, kStatusButtonType, 84, 1, {74, 0, 0}},
    {46, kStateButtonType, 92, 2, {75, 76, 0}},  {47, kStateButtonType, 92, 2, {77, 78, 0}},
    {48, kStatusButtonType, 84, 1, {79, 0, 0}},
};

inline constexpr const StatusItemInfo* statusItemInfo(int id) {
    if (id < kFirstStatusItemId || id > kLastStatusItemId) {
        return nullptr;
    }
    return &kStatusItems[id - kFirstStatusItemId];
}

inline constexpr std::uint32_t kCloudPicturesSize = sizeof(CloudPictures);

}  // namespace tandel
