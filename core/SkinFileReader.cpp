#include "SkinFileReader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>

#include "FileBytes.h"
#include "SkinSignature.h"

namespace tandel {
namespace {

bool refuse(std::string* why, std::string reason) {
    if (why != nullptr) {
        *why = std::move(reason);
    }
    return false;
}

std::string hex32(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// Reads records one after the other from a section, refusing to go past its end.
class SectionCursor {
public:
    SectionCursor(std::span<const std::uint8_t> bytes, int id, std::size_t payloadOffset,
                  std::string* why)
        : bytes_(bytes), id_(id), payloadOffset_(payloadOffset), why_(why) {}

    template <typename Record>
    bool read(Record& out, const char* what) {
        return read(&out, sizeof out, what);
    }
    bool read(void* out, std::size_t size, const char* what) {
        if (size > bytes_.size() - position_) {
            return fail(std::string(what) + " needs bytes " + std::to_string(position_) + ".." +
                        std::to_string(position_ + size) + " of the section, which has " +
                        std::to_string(bytes_.size()));
        }
        if (out != nullptr) {
            std::memcpy(out, bytes_.data() + position_, size);
        }
        position_ += size;
        return true;
    }
    // Reads count directory entries into a directory of capacity entries, zeroing the rest,
    // and checks that each entry's element lies inside the element data behind them.
    bool readDirectory(DirEntry* directory, int count, int capacity) {
        if (count < 0 || count > capacity) {
            return fail("element count " + std::to_string(count) + " is outside 0.." +
                        std::to_string(capacity));
        }
        std::fill(directory, directory + capacity, DirEntry{});
        if (!read(directory, 12 * std::size_t(count), "element directory")) {
            return false;
        }
        std::size_t dataSize = bytes_.size() - position_;
        for (int i = 0; i < count; ++i) {
            const DirEntry& e = directory[i];
            if (std::uint64_t(e.offset) + e.size > dataSize) {
                return fail("element " + std::to_string(i) + " (id " + std::to_string(e.id) +
                            ") points to bytes " + std::to_string(e.offset) + ".." +
                            std::to_string(std::uint64_t(e.offset) + e.size) +
                            " of the element data, which has " + std::to_string(dataSize));
            }
        }
        return true;
    }
    bool fail(const std::string& message) {
        return refuse(why_, "section " + std::to_string(id_) + " at payload offset " +
                                std::to_string(payloadOffset_) + ": " + message);
    }

private:
    std::span<const std::uint8_t> bytes_;
    int id_;
    std::size_t payloadOffset_;
    std::string* why_;
    std::size_t position_ = 0;
};

// Custom picture records are filed by their element id; a record with an id outside the
// run is passed over.
bool readCustomPicture(SectionCursor& cursor, const DirEntry& entry, ImageElement* elements,
                       int firstId, int firstSlot) {
    ImageElement record;
    if (!cursor.read(record, "custom picture record")) {
        return false;
    }
    int k = entry.id - firstId;
    if (k >= 0 && k < kCustomPictureCount) {
        elements[k] = record;
        elements[k].picture = firstSlot + k;
    }
    return true;
}

bool restoreCombo(const SkinFileContents& contents, int id, ComboSection& s,
                  std::uint8_t& splitLineOn, std::uint8_t& toolboxOn, int firstCustomSlot,
                  std::string* why) {
    if (!contents.present[id]) {
        return refuse(why, "section " + std::to_string(id) + " is missing");
    }
    SectionCursor cursor(contents.item(id), id, contents.payloadOffset(id), why);
    if (!cursor.read(s.header, "window header")) {
        return false;
    }
    const int count = s.header.elementCount;
    if (!cursor.readDirectory(s.directory, count, ComboSection::kDirectoryCapacity) ||
        !cursor.read(s.compText, "composition text record") ||
        !cursor.read(s.candText, "candidate text record") ||
        !cursor.read(s.nextPageButton, "next-page button record") ||
        !cursor.read(s.prevPageButton, "previous-page button record")) {
        return false;
    }
    int i = 4;
    splitLineOn = i < count && s.directory[i].id == 2;
    if (splitLineOn != 0) {
        if (!cursor.read(s.splitLine, "split line record")) {
            return false;
        }
        ++i;
    }
    toolboxOn = i < count && s.directory[i].id == 5;
    if (toolboxOn != 0) {
        if (!cursor.read(s.toolbox, "toolbox record")) {
            return false;
        }
        ++i;
    }
    for (; i < count; ++i) {
        if (!readCustomPicture(cursor, s.directory[i], s.customPictures, 6, firstCustomSlot)) {
            return false;
        }
    }
    return true;
}

bool restoreSplit(const SkinFileContents& contents, int id, SplitSection& s,
                  std::uint8_t& toolboxOn, int firstCompSlot, int firstCandSlot, std::string* why) {
    if (!contents.present[id]) {
        return true;
    }
    SectionCursor cursor(contents.item(id), id, contents.payloadOffset(id), why);
    if (!cursor.read(s.header, "split window header")) {
        return false;
    }
    const int compCount = s.header.compElementCount;
    const int candCount = s.header.candElementCount;
    if (compCount < 0 || candCount < 0) {
        return cursor.fail("negative element count");
    }
    if (!cursor.readDirectory(s.directory, compCount + candCount,
                              SplitSection::kDirectoryCapacity) ||
        !cursor.read(s.compText, "composition text record")) {
        return false;
    }
    int i = 1;
    toolboxOn = i < compCount && s.directory[i].id == 13;
    if (toolboxOn != 0) {
        if (!cursor.read(s.toolbox, "toolbox record")) {
            return false;
        }
        ++i;
    }
    for (; i < compCount; ++i) {
        if (!readCustomPicture(cursor, s.directory[i], s.compCustomPictures, 14, firstCompSlot)) {
            return false;
        }
    }
    if (!cursor.read(s.candText, "candidate text record") ||
        !cursor.read(s.nextPageButton, "next-page button record") ||
        !cursor.read(s.prevPageButton, "previous-page button record")) {
        return false;
    }
    for (i = compCount + 3; i < compCount + candCount; ++i) {
        if (!readCustomPicture(cursor, s.directory[i], s.candCustomPictures, 22, firstCandSlot)) {
            return false;
        }
    }
    return true;
}

bool restoreStatus(const SkinFileContents& contents, StatusSection& s,
                   std::uint8_t (&shown)[kStatusElementCount], std::string* why) {
    if (!contents.present[kStatusId]) {
        return refuse(why, "section 6 is missing");
    }
    std::fill(std::begin(shown), std::end(shown), 0);
    SectionCursor cursor(contents.item(kStatusId), kStatusId, contents.payloadOffset(kStatusId),
                         why);
    if (!cursor.read(s.header, "status bar header")) {
        return false;
    }
    const int count = s.header.elementCount;
    if (!cursor.readDirectory(s.directory, count, StatusSection::kDirectoryCapacity)) {
        return false;
    }
    // The items come first, each read by its id's record kind; the custom pictures follow.
    for (int i = 0; i < count; ++i) {
        const StatusItemInfo* info = statusItemInfo(s.directory[i].id);
        if (info == nullptr) {
            continue;
        }
        if (!cursor.read(s.item(info->id), info->recordSize, "status item record")) {
            return false;
        }
        shown[info->id - kFirstStatusItemId] = 1;
    }
    for (int i = 0; i < count; ++i) {
        const DirEntry& entry = s.directory[i];
        if (statusItemInfo(entry.id) != nullptr) {
            continue;
        }
        if (!readCustomPicture(cursor, entry, s.customPictures, kFirstStatusCustomId, 81)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::span<const std::uint8_t> SkinFileContents::dataArea() const {
    return std::span<const std::uint8_t>(payload).subspan(std::min(dataOffset, payload.size()));
}

std::span<const std::uint8_t> SkinFileContents::item(int id) const {
    if (id < 0 || id >= kSlotCount || !present[id]) {
        return {};
    }
    return dataArea().subspan(entries[id].offset, entries[id].size);
}

bool parseSkinFileHeader(std::span<const std::uint8_t> file, SkinFileHeader& header,
                         std::string* why) {
    if (file.size() <= kSkinHeaderSize) {
        return refuse(why, "file is " + std::to_string(file.size()) +
                               " bytes long; a skin file is longer than its " +
                               std::to_string(kSkinHeaderSize) + "-byte header");
    }
    std::memcpy(&header, file.data(), sizeof header);
    return true;
}

bool readSkinFileHeader(const std::filesystem::path& path, SkinFileHeader& header,
                        std::string* why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return refuse(why, "cannot open the file");
    }
    std::uint8_t bytes[kSkinHeaderSize + 1];
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    return parseSkinFileHeader(std::span(bytes, std::size_t(in.gcount())), header, why);
}

bool checkSkinHeader(const SkinFileHeader& header, std::string* why) {
    if (!verifySignature(header)) {
        return refuse(why, "signature does not match the name, author and date (file offset 560)");
    }
    if (header.magic != kSkinMagic) {
        return refuse(why, "magic is " + hex32(header.magic) + ", not " + hex32(kSkinMagic) +
                               " (file offset 0)");
    }
    if (header.formatVersion < 2) {
        return refuse(why, "formatVersion " + std::to_string(header.formatVersion) +
                               " is below 2 (file offset 6)");
    }
    return true;
}

bool inflateSkinStream(std::span<const std::uint8_t> file, const SkinFileHeader& header,
                       std::vector<std::uint8_t>& payload, std::string* why) {
    if (header.payloadSize > kMaxPayloadSize) {
        return refuse(why, "payloadSize " + std::to_string(header.payloadSize) +
                               " is larger than the limit of " + std::to_string(kMaxPayloadSize) +
                               " bytes (file offset 12)");
    }
    payload.clear();
    try {
        payload.resize(header.payloadSize);
    } catch (const std::bad_alloc&) {
        return refuse(
            why, "no memory for a payload of " + std::to_string(header.payloadSize) + " bytes");
    }

    std::span<const std::uint8_t> stream = file.subspan(kSkinHeaderSize);
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        return refuse(why, "zlib cannot start");
    }
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = uInt(stream.size());
    std::uint8_t none = 0;  // zlib refuses a null output buffer, even an empty one
    z.next_out = payload.empty() ? &none : payload.data();
    z.avail_out = uInt(payload.size());
    int result = inflate(&z, Z_FINISH);
    std::string zlibMessage = z.msg != nullptr ? z.msg : "";
    std::size_t produced = z.total_out;
    std::size_t consumed = z.total_in;
    bool outputFull = z.avail_out == 0;
    inflateEnd(&z);
    std::string where = " (file offset " + std::to_string(kSkinHeaderSize + consumed) + ")";
    if (result == Z_DATA_ERROR || result == Z_NEED_DICT || result == Z_MEM_ERROR ||
        result == Z_STREAM_ERROR) {
        return refuse(why, "zlib stream is damaged: " +
                               (zlibMessage.empty() ? std::string("error ") + std::to_string(result)
                                                    : zlibMessage) +
                               where);
    }
    if (result != Z_STREAM_END) {
        if (outputFull) {
            return refuse(why, "zlib stream inflates to more than payloadSize " +
                                   std::to_string(header.payloadSize) + " bytes" + where);
        }
        return refuse(why, "zlib stream ends early, after " + std::to_string(produced) +
                               " bytes of the payload" + where);
    }
    if (produced != header.payloadSize) {
        return refuse(why, "zlib stream inflates to " + std::to_string(produced) +
                               " bytes, but payloadSize is " + std::to_string(header.payloadSize) +
                               " (file offset 12)");
    }
    return true;
}

bool inflateSkinPayload(std::span<const std::uint8_t> file, SkinFileContents& contents,
                        std::string* why) {
    return inflateSkinStream(file, contents.header, contents.payload, why) &&
           indexSkinPayload(contents, why);
}

bool indexSkinPayload(SkinFileContents& contents, std::string* why) {
    const SkinFileHeader& header = contents.header;
    if (12 * std::size_t(header.entryCount) > contents.payload.size()) {
        return refuse(why, "entryCount " + std::to_string(header.entryCount) +
                               " does not fit a payload of " +
                               std::to_string(contents.payload.size()) + " bytes (file offset 10)");
    }
    contents.dataOffset = 12 * std::size_t(header.entryCount);
    const std::size_t dataSize = contents.payload.size() - contents.dataOffset;
    std::fill(std::begin(contents.entries), std::end(contents.entries), DirEntry{});
    std::fill(std::begin(contents.present), std::end(contents.present), false);
    for (std::size_t i = 0; i < header.entryCount; ++i) {
        DirEntry entry;
        std::memcpy(&entry, contents.payload.data() + 12 * i, sizeof entry);
        if (entry.id >= kSlotCount) {
            continue;
        }
        if (std::uint64_t(entry.offset) + entry.size > dataSize) {
            return refuse(why, "directory entry " + std::to_string(i) + " (id " +
                                   std::to_string(entry.id) + ", payload offset " +
                                   std::to_string(12 * i) + ") points to bytes " +
                                   std::to_string(entry.offset) + ".." +
                                   std::to_string(std::uint64_t(entry.offset) + entry.size) +
                                   " of a data area of " + std::to_string(dataSize) + " bytes");
        }
        contents.entries[entry.id] = entry;
        contents.present[entry.id] = true;
    }
    return true;
}

bool restoreSections(const SkinFileContents& contents, SkinSections& s, std::string* why) {
    if (!restoreCombo(contents, kComboHId, s.comboH, s.splitLineOn[kComboH],
                      s.toolboxOn[kToolboxComboH], 26, why) ||
        !restoreCombo(contents, kComboVId, s.comboV, s.splitLineOn[kComboV],
                      s.toolboxOn[kToolboxComboV], 31, why) ||
        !restoreSplit(contents, kSplitHId, s.splitH, s.toolboxOn[kToolboxSplitH], 36, 41, why) ||
        !restoreSplit(contents, kSplitVId, s.splitV, s.toolboxOn[kToolboxSplitV], 46, 51, why) ||
        !restoreStatus(contents, s.status, s.statusItemShown, why)) {
        return false;
    }
    if (contents.present[kCloudPicturesId]) {
        SectionCursor cursor(contents.item(kCloudPicturesId), kCloudPicturesId,
                             contents.payloadOffset(kCloudPicturesId), why);
        if (!cursor.read(s.cloudPictures, "cloud pictures")) {
            return false;
        }
    }
    return true;
}

std::optional<OpenedSkinFile> openSkinFile(std::span<const std::uint8_t> file, std::string* why) {
    OpenedSkinFile opened;
    if (!parseSkinFileHeader(file, opened.contents.header, why) ||
        !checkSkinHeader(opened.contents.header, why) ||
        !inflateSkinPayload(file, opened.contents, why)) {
        return std::nullopt;
    }
    setNewSkinSections(opened.sections);
    if (!restoreSections(opened.contents, opened.sections, why)) {
        return std::nullopt;
    }
    return opened;
}

std::optional<OpenedSkinFile> openSkinFile(const std::filesystem::path& path, std::string* why) {
    // A skin file's stream is at most a little larger than its payload.
    std::optional<std::vector<std::uint8_t>> file =
        readFileBytes(path, kSkinHeaderSize + 2 * kMaxPayloadSize);
    if (!file) {
        refuse(why, "cannot read the file, or it is larger than any skin file");
        return std::nullopt;
    }
    return openSkinFile(*file, why);
}

}  // namespace tandel
