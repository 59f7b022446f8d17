// Preparing a skin for the controls: a parse context over a skin file, an editor payload or
// the engine's built-in skin, and the process-wide resource cache from which controls and
// renderers take pictures, colours, fonts and the picture scale. Every offset and size taken
// from a file or payload is checked against the bytes that exist: a section, element or
// picture that does not fit is treated as missing.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "BuiltInPictures.h"
#include "Font.h"
#include "PictureStore.h"
#include "SkinFile.h"
#include "SkinSettings.h"

namespace tandel {

// Where the default pictures come from (the host's picture resources).
using PictureModule = std::span<const std::uint8_t> (*)(int slot, PictureSet set, int style);

class ResourceCache {
public:
    static constexpr int kColourCount = 8;
    static constexpr int kFontCount = 6;

    // The one cache of the process, shared by every engine object.
    static ResourceCache& Instance();

    // Keeps a copy of picture bytes for a slot; a slot already cached keeps its picture. known:
    // the bytes' key when the caller has it (else it is worked out from the bytes).
    bool storePicture(int slot, const std::uint8_t* bytes, std::size_t size,
                      const PictureKey* known = nullptr);
    // Points the slot at its default picture (normal set, or the large set when dpiAware and
    // the screen is in the large mode). False for slots without one.
    bool loadDefaultPicture(int slot, bool dpiAware);
    // Sets colour 0..7; 0..3 follow the built-in theme when the host names no skin, 7 is always
    // the theme colour. Returns 0 for other indices.
    int setColour(int index, std::uint32_t value);
    // Frees the pictures, fonts and colours; module, settings and picture scale stay.
    void releaseCache();

    std::span<const std::uint8_t> picture(int slot) const;
    // The slot's picture decoded, as a picture of the caller's own; null without one or when it
    // does not decode. Pictures decoded before (by any load) are not decoded again.
    std::unique_ptr<RUZizodGdi> decodedPicture(int slot) const;
    std::uint32_t colour(int index) const;
    const Font* font(int index) const;
    void setFont(int index, const Font& font);

    std::array<const std::uint8_t*, kSlotCount> pictureData{};
    std::array<std::int32_t, kSlotCount> pictureSize{};
    std::array<PictureKey, kSlotCount> pictureKeys{};
    std::array<std::optional<Font>, kFontCount> fonts;
    std::array<std::uint32_t, kColourCount> colours{};
    std::vector<SharedBytes> ownedBuffers;  // the stored pictures, kept by the picture store
    PictureModule module = nullptr;
    const SkinSettings* settings = nullptr;
    double imageScale = 1.0;
};

struct ParseContext {
    std::array<DirEntry, kSlotCount> entries{};  // by id; all zero for ids without an entry
    const std::uint8_t* data = nullptr;          // the payload's data area
    std::size_t dataSize = 0;
    std::int32_t customSkin = 0;  // 0: the built-in skin
    std::int32_t vertical = 0;
    std::int32_t statusVertical = 0;
    std::array<std::uint8_t, 640> skinInfo{};  // header bytes 16..655 of a loaded file
    ResourceCache* cache = nullptr;
    std::vector<std::uint8_t> fileBuffer;  // the data area of a loaded file
    // The keys of the payload's pictures by slot, when its owner has them (the editor's
    // document works them out once per picture change).
    const std::array<PictureKey, kSlotCount>* pictureKeys = nullptr;
};

// A skin file the engine can load: longer than its header, the right magic, a format version
// of at most 2, and a stream that inflates to payloadSize bytes.
bool loadFile(ParseContext& context, const std::filesystem::path& path);
// The same for the bytes of a file, saying why it is refused.
bool loadFileBytes(ParseContext& context, std::span<const std::uint8_t> file, std::string* why);
// An editor payload: entryCount directory entries, then the data area. Not copied: the
// payload must outlive the controls' Create calls.
bool loadPayload(ParseContext& context, std::span<const std::uint8_t> payload,
                 std::uint16_t entryCount, std::int32_t customSkin);
// A built-in payload from buildBuiltInPayload (a u16 entry count in front).
bool loadBuiltIn(ParseContext& context, std::span<const std::uint8_t> builtInPayload,
                 bool statusVertical);
void release(ParseContext& context);

// The bytes of section id; empty when it is missing. Ids 1, 3 and 86 mark the context vertical.
std::span<const std::uint8_t> findSection(ParseContext& context, int id);

// Makes the picture of a slot available in the cache: the skin's own bytes for a real skin
// (the default picture when it has none), the DPI-aware default for the built-in skin.
int loadPicture(ParseContext& context, int slot);

// The engine's own skin, for when no usable skin exists.
std::vector<std::uint8_t> buildBuiltInPayload(std::int32_t statusItemMask, std::uint8_t statusStyle,
                                              bool large);

}  // namespace tandel
