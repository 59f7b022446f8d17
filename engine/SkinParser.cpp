#include "SkinParser.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "Dpi.h"
#include "ElementRecords.h"
#include "FileBytes.h"
#include "SkinFileReader.h"

namespace tandel {
namespace {

// The themes of the built-in skin: the theme colour and the colours it gives to text
// (indices 0 and 2) and to the cursor and focused candidate (indices 1 and 3).
struct Theme {
    std::uint32_t theme, text, accent;
};
constexpr Theme kThemes[] = {
    {0xFF88766C, 0xFF676767, 0xFFC08000}, {0xFF3D4AFE, 0xFF0404D4, 0xFF575757},
    {0xFF8F70FF, 0xFF9155FF, 0xFFFF8080}, {0xFF62B800, 0xFF009D21, 0xFF0078FF},
    {0xFF00C788, 0xFF00A3A0, 0xFF575757}, {0xFF0983FF, 0xFF0078FF, 0xFFFF8080},
    {0xFFF04772, 0xFFFF7CA7, 0xFFFF3578}, {0xFF6D4129, 0xFF4D2B00, 0xFF0000FF},
};

bool hasDefaultPicture(int slot) {
    return (slot >= 9 && slot <= 23) || (slot >= 61 && slot <= 80) || slot == 87;
}

// Files directory entries by id; entries that do not fit the data area count as missing.
void indexEntries(ParseContext& context, const std::uint8_t* directory, std::size_t entryCount) {
    context.entries.fill(DirEntry{});
    for (std::size_t i = 0; i < entryCount; ++i) {
        DirEntry e;
        std::memcpy(&e, directory + 12 * i, sizeof e);
        if (e.id < kSlotCount && std::uint64_t(e.offset) + e.size <= context.dataSize) {
            context.entries[e.id] = e;
        }
    }
}

double pictureScale(bool builtIn) {
    const CDPI& dpi = CDPI::Instance();
    if (!dpi.enabled) {
        return 1.0;
    }
    return builtIn && dpi.highDpi ? dpi.halfScale : dpi.scale;
}

void attachCache(ParseContext& context, bool builtIn) {
    if (context.cache == nullptr) {
        context.cache = &ResourceCache::Instance();
    }
    context.cache->imageScale = pictureScale(builtIn);
}

// Appends a record to a byte buffer.
template <typename Record>
void append(std::vector<std::uint8_t>& out, const Record& record) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    out.insert(out.end(), bytes, bytes + sizeof record);
}

// A section: header, element directory, elements back to back.
struct SectionWriter {
    std::vector<DirEntry> directory;
    std::vector<std::uint8_t> data;

    template <typename Record>
    void add(int id, std::uint16_t type, const Record& record) {
        directory.push_back({std::uint16_t(id), type, std::uint32_t(data.size()), sizeof record});
        append(data, record);
    }
    template <typename Header>
    std::vector<std::uint8_t> finish(const Header& header) const {
        std::vector<std::uint8_t> out;
        append(out, header);
        for (const DirEntry& e : directory) {
            append(out, e);
        }
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
};

std::vector<std::uint8_t> builtInCombo(bool vertical, int k) {
    WindowHeader h{};
    h.offsetY = std::int16_t(5 * k);
    h.stretch = {0, std::uint16_t(1 * k), std::uint16_t(3 * k), std::uint16_t(2 * k),
                 std::uint16_t(2 * k)};
    h.outerMargins = {0, 0, std::uint16_t(2 * k), std::uint16_t(1 * k), std::uint16_t(1 * k)};
    h.cursorColour = 0xFF0000FF;
    h.focusColour = 0xFF0000FF;
    h.auxColour = 0xFFBEBEBE;
    h.backgroundPicture = vertical ? 10 : 9;
    SectionWriter s;
    s.add(3, kCompTextType,
          makeTextElement(vertical ? Margins{7, 2, 11, 80} : Margins{6, 3, 11, 70}, u"宋体",
                          u"Arial", 16, 0xFFC76B1A));
    s.add(4, kCandTextType,
          makeTextElement(vertical ? Margins{7, 27, 11, 60} : Margins{6, 11, 11, 35}, u"宋体",
                          u"宋体", 16, 0xFFE47A1C));
    const std::int32_t corner = vertical ? kBottomLeft : kBottomRight;
    const std::int16_t y = vertical ? 22 : 24;
    s.add(0, kPageButtonType, makeButtonElement(corner, vertical ? 26 : 17, y, 6, 10, 16));
    s.add(1, kPageButtonType, makeButtonElement(corner, vertical ? 12 : 31, y, 6, 10, 17));
    SplitLineElement line{};
    line.marginTop = 1;
    line.marginBottom = 1;
    line.picture = 18;
    s.add(2, kSplitLineType, line);
    h.elementCount = std::int32_t(s.directory.size());
    return s.finish(h);
}

std::vector<std::uint8_t> builtInSplit(bool vertical, int k) {
    SplitHeader h{};
    h.offsetY = std::int16_t(5 * k);
    h.compStretch = {0, std::uint16_t(1 * k), std::uint16_t(3 * k), std::uint16_t(2 * k),
                     std::uint16_t(2 * k)};
    h.compOuterMargins = {0, 0, std::uint16_t(2 * k), std::uint16_t(1 * k), std::uint16_t(1 * k)};
    h.candStretch = h.compStretch;
    h.candOuterMargins = h.compOuterMargins;
    h.cursorColour = 0xFF0000FF;
    h.focusColour = 0xFF0000FF;
    h.auxColour = 0xFFBEBEBE;
    h.compBackgroundPicture = vertical ? 13 : 11;
    h.candBackgroundPicture = vertical ? 14 : 12;
    SectionWriter s;
    s.add(12, kCompTextType, makeTextElement({6, 6, 11, 20}, u"宋体", u"Arial", 16, 0xFFC76B1A));
    s.add(19, kCandTextType,
          makeTextElement(vertical ? Margins{6, 25, 11, 60} : Margins{6, 6, 11, 35}, u"宋体",
                          u"宋体", 16, 0xFFE47A1C));
    const std::int32_t corner = vertical ? kBottomLeft : kTopRight;
    const std::int16_t y = vertical ? 22 : 11;
    s.add(20, kPageButtonType, makeButtonElement(corner, vertical ? 26 : 16, y, 6, 10, 16));
    s.add(21, kPageButtonType, makeButtonElement(corner, vertical ? 12 : 30, y, 6, 10, 17));
    h.compElementCount = 1;
    h.candElementCount = 3;
    return s.finish(h);
}

std::vector<std::uint8_t> builtInStatus(std::int32_t mask, bool vertical, int k) {
    StatusHeader h{};
    const std::uint16_t band = std::uint16_t(34 * k), end = std::uint16_t(4 * k);
    h.stretch = vertical ? StretchSpec{1, band, end, 0, 0} : StretchSpec{1, 0, 0, band, end};
    h.width = std::uint16_t((vertical ? 27 : 62) * k);
    h.height = std::uint16_t((vertical ? 62 : 27) * k);
    h.backgroundPicture = 61;
    SectionWriter s;
    const std::int16_t size = std::int16_t(22 * k);
    s.add(kLastStatusElementId, kStatusButtonType,
          makeButtonElement(kTopLeft, std::int16_t((vertical ? 2 : 5) * k),
                            std::int16_t((vertical ? 4 : 1) * k), std::uint16_t(size),
                            std::uint16_t(size), 80));
    struct Item {
        int id;
        std::int32_t bit;
        int advance;
    };
    constexpr Item kItems[] = {{38, 0x1, 24},   {39, 0x2, 24},   {40, 0x4, 24},  {42, 0x10, 26},
                               {41, 0x8, 26},   {43, 0x20, 25},  {44, 0x40, 25}, {45, 0x80, 24},
                               {46, 0x100, 24}, {47, 0x200, 23}, {48, 0x400, 0}};
    int position = 32;
    const std::int16_t across = std::int16_t((vertical ? 2 : 1) * k);
    for (const Item& item : kItems) {
        if ((mask & item.bit) == 0) {
            continue;
        }
        const StatusItemInfo& info = *statusItemInfo(item.id);
        const std::int16_t along = std::int16_t(position * k);
        const std::int16_t x = vertical ? across : along, y = vertical ? along : across;
        if (info.type == kStateButtonType) {
            StateButtonElement e =
                makeStateButtonElement(kTopLeft, x, y, std::uint16_t(size), std::uint16_t(size),
                                       {info.pictures[0], info.pictures[1], info.pictures[2]});
            e.stateCount = info.pictureCount;
            s.add(item.id, kStateButtonType, e);
        } else {
            s.add(item.id, kStatusButtonType,
                  makeButtonElement(kTopLeft, x, y, std::uint16_t(size), std::uint16_t(size),
                                    info.pictures[0]));
        }
        position += item.advance;
    }
    h.elementCount = std::int32_t(s.directory.size());
    return s.finish(h);
}

}  // namespace

ResourceCache& ResourceCache::Instance() {
    static ResourceCache cache;
    return cache;
}

bool ResourceCache::storePicture(int slot, const std::uint8_t* bytes, std::size_t size,
                                 const PictureKey* known) {
    if (slot < 0 || slot >= kSlotCount || bytes == nullptr || size == 0) {
        return false;
    }
    if (pictureData[std::size_t(slot)] != nullptr) {
        return true;
    }
    const std::span<const std::uint8_t> view(bytes, size);
    const PictureKey key = known != nullptr && known->size == size ? *known : pictureKey(view);
    SharedBytes kept = PictureStore::Instance().intern(view, key);
    pictureData[std::size_t(slot)] = kept->data();
    pictureSize[std::size_t(slot)] = std::int32_t(size);
    pictureKeys[std::size_t(slot)] = key;
    ownedBuffers.push_back(std::move(kept));
    return true;
}

bool ResourceCache::loadDefaultPicture(int slot, bool dpiAware) {
    if (module == nullptr || !hasDefaultPicture(slot)) {
        return false;
    }
    const bool large = dpiAware && CDPI::Instance().highDpi;
    const int style = settings != nullptr && settings->statusStyle == 1 ? 1 : 0;
    std::span<const std::uint8_t> bytes =
        module(slot, large ? PictureSet::Large : PictureSet::Normal, style);
    if (bytes.empty()) {
        return false;
    }
    pictureData[std::size_t(slot)] = bytes.data();
    pictureSize[std::size_t(slot)] = std::int32_t(bytes.size());
    pictureKeys[std::size_t(slot)] = pictureKey(bytes);
    return true;
}

int ResourceCache::setColour(int index, std::uint32_t value) {
    if (index < 0 || index >= kColourCount) {
        return 0;
    }
    if (index == 7) {
        colours[7] = settings != nullptr ? settings->themeColour : kDefaultThemeColour;
        return 1;
    }
    if (index <= 3 && settings != nullptr && settings->skinId[0] == '\0') {
        for (const Theme& theme : kThemes) {
            if (theme.theme == settings->themeColour) {
                value = index == 0 || index == 2 ? theme.text : theme.accent;
                break;
            }
        }
    }
    colours[std::size_t(index)] = value;
    return 1;
}

void ResourceCache::releaseCache() {
    ownedBuffers.clear();
    for (std::optional<Font>& f : fonts) {
        f.reset();
    }
    pictureData.fill(nullptr);
    pictureSize.fill(0);
    pictureKeys.fill({});
    colours.fill(0);
}

std::span<const std::uint8_t> ResourceCache::picture(int slot) const {
    if (slot < 0 || slot >= kSlotCount || pictureData[std::size_t(slot)] == nullptr) {
        return {};
    }
    return {pictureData[std::size_t(slot)], std::size_t(pictureSize[std::size_t(slot)])};
}

std::unique_ptr<RUZizodGdi> ResourceCache::decodedPicture(int slot) const {
    std::span<const std::uint8_t> bytes = picture(slot);
    if (bytes.empty()) {
        return nullptr;
    }
    return PictureStore::Instance().load(bytes, pictureKeys[std::size_t(slot)]);
}

std::uint32_t ResourceCache::colour(int index) const {
    return index >= 0 && index < kColourCount ? colours[std::size_t(index)] : colours[0];
}

const Font* ResourceCache::font(int index) const {
    if (index < 0 || index >= kFontCount || !fonts[std::size_t(index)]) {
        return nullptr;
    }
    return &*fonts[std::size_t(index)];
}

void ResourceCache::setFont(int index, const Font& font) {
    if (index >= 0 && index < kFontCount) {
        fonts[std::size_t(index)] = font;
    }
}

bool loadFile(ParseContext& context, const std::filesystem::path& path) {
    release(context);
    std::optional<std::vector<std::uint8_t>> file =
        readFileBytes(path, kSkinHeaderSize + 2 * kMaxPayloadSize);
    return file && loadFileBytes(context, *file, nullptr);
}

bool loadFileBytes(ParseContext& context, std::span<const std::uint8_t> file, std::string* why) {
    release(context);
    auto refuse = [why](std::string reason) {
        if (why != nullptr) {
            *why = std::move(reason);
        }
        return false;
    };
    SkinFileHeader header;
    if (!parseSkinFileHeader(file, header, why)) {
        return false;
    }
    if (header.magic != kSkinMagic) {
        return refuse("not a skin file: wrong magic (file offset 0)");
    }
    if (header.formatVersion > kSkinFormatVersion) {
        return refuse("formatVersion " + std::to_string(header.formatVersion) + " is above " +
                      std::to_string(kSkinFormatVersion) + " (file offset 6)");
    }
    std::vector<std::uint8_t> payload;
    if (!inflateSkinStream(file, header, payload, why)) {
        return false;
    }
    const std::size_t directorySize = 12 * std::size_t(header.entryCount);
    if (directorySize > payload.size()) {
        return refuse("entryCount " + std::to_string(header.entryCount) +
                      " does not fit a payload of " + std::to_string(payload.size()) +
                      " bytes (file offset 10)");
    }
    context.fileBuffer.assign(payload.begin() + std::ptrdiff_t(directorySize), payload.end());
    context.data = context.fileBuffer.data();
    context.dataSize = context.fileBuffer.size();
    indexEntries(context, payload.data(), header.entryCount);
    context.customSkin = header.animationMode;
    std::memcpy(context.skinInfo.data(), reinterpret_cast<const std::uint8_t*>(&header) + 16,
                context.skinInfo.size());
    attachCache(context, false);
    return true;
}

bool loadPayload(ParseContext& context, std::span<const std::uint8_t> payload,
                 std::uint16_t entryCount, std::int32_t customSkin) {
    release(context);
    const std::size_t directorySize = 12 * std::size_t(entryCount);
    if (payload.empty() || directorySize > payload.size()) {
        return false;
    }
    context.data = payload.data() + directorySize;
    context.dataSize = payload.size() - directorySize;
    indexEntries(context, payload.data(), entryCount);
    context.customSkin = customSkin;
    attachCache(context, false);
    return true;
}

bool loadBuiltIn(ParseContext& context, std::span<const std::uint8_t> builtInPayload,
                 bool statusVertical) {
    release(context);
    if (builtInPayload.size() < 2) {
        return false;
    }
    std::uint16_t count;
    std::memcpy(&count, builtInPayload.data(), 2);
    const std::size_t directoryEnd = 2 + 12 * std::size_t(count);
    if (directoryEnd > builtInPayload.size()) {
        return false;
    }
    context.data = builtInPayload.data() + directoryEnd;
    context.dataSize = builtInPayload.size() - directoryEnd;
    indexEntries(context, builtInPayload.data() + 2, count);
    context.customSkin = 0;
    context.statusVertical = statusVertical ? 1 : 0;
    attachCache(context, true);
    return true;
}

void release(ParseContext& context) {
    ResourceCache* cache = context.cache;
    context = ParseContext{};
    context.cache = cache;
}

std::span<const std::uint8_t> findSection(ParseContext& context, int id) {
    if (id < 0 || id >= kSlotCount) {
        return {};
    }
    if (id == 1 || id == 3 || id == 86) {
        context.vertical = 1;
    }
    const DirEntry& e = context.entries[std::size_t(id)];
    if (context.data == nullptr || e.size == 0) {
        return {};
    }
    return {context.data + e.offset, e.size};
}

int loadPicture(ParseContext& context, int slot) {
    if (slot < 0 || slot >= kSlotCount || context.cache == nullptr) {
        return 0;
    }
    if (context.customSkin == 0) {
        return context.cache->loadDefaultPicture(slot, true) ? 1 : 0;
    }
    const DirEntry& e = context.entries[std::size_t(slot)];
    if (context.data != nullptr && e.size != 0) {
        const PictureKey* key =
            context.pictureKeys != nullptr ? &(*context.pictureKeys)[std::size_t(slot)] : nullptr;
        return context.cache->storePicture(slot, context.data + e.offset, e.size, key) ? 1 : 0;
    }
    return context.cache->loadDefaultPicture(slot, false) ? 1 : 0;
}

std::vector<std::uint8_t> buildBuiltInPayload(std::int32_t statusItemMask, std::uint8_t statusStyle,
                                              bool large) {
    const int k = large ? 2 : 1;
    CloudPictures cloud = {{19, 20, 21, 22, 23, -1}};
    std::vector<std::uint8_t> cloudBytes;
    append(cloudBytes, cloud);
    const std::pair<std::uint16_t, std::vector<std::uint8_t>> sections[] = {
        {kComboHId, builtInCombo(false, k)},
        {kComboVId, builtInCombo(true, k)},
        {kSplitHId, builtInSplit(false, k)},
        {kSplitVId, builtInSplit(true, k)},
        {kCloudPicturesId, cloudBytes},
        {kStatusId, builtInStatus(statusItemMask, statusStyle == 1, k)},
    };
    std::vector<std::uint8_t> out;
    append(out, std::uint16_t(std::size(sections)));
    std::uint32_t offset = 0;
    for (const auto& [id, bytes] : sections) {
        append(out, DirEntry{id, kSectionEntry, offset, std::uint32_t(bytes.size())});
        offset += std::uint32_t(bytes.size());
    }
    for (const auto& [id, bytes] : sections) {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

}  // namespace tandel
