// Reading and checking .tdskn skin files. Every offset and size taken from a file is checked
// against the bytes that are really there; a file that fails a check is refused with a reason
// that names the check and the offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SkinFile.h"
#include "SkinSections.h"

namespace tandel {

// A skin file's header and its inflated payload, with the top directory filed by id.
struct SkinFileContents {
    SkinFileHeader header{};
    std::vector<std::uint8_t> payload;
    std::size_t dataOffset = 0;  // where the data area starts: after the top directory
    DirEntry entries[kSlotCount]{};
    bool present[kSlotCount]{};

    std::span<const std::uint8_t> dataArea() const;
    // The bytes of entry id, empty when the file has none.
    std::span<const std::uint8_t> item(int id) const;
    std::size_t payloadOffset(int id) const { return dataOffset + entries[id].offset; }
};

// A skin file as the editor opens it: checked, inflated and restored into sections.
struct OpenedSkinFile {
    SkinFileContents contents;
    SkinSections sections;
};

// Reads the header of a file longer than the header itself.
bool readSkinFileHeader(const std::filesystem::path& path, SkinFileHeader& header,
                        std::string* why);
bool parseSkinFileHeader(std::span<const std::uint8_t> file, SkinFileHeader& header,
                         std::string* why);

// The editor's acceptance test of a header: signature, magic and format version.
bool checkSkinHeader(const SkinFileHeader& header, std::string* why);

// Inflates the zlib stream after the header into exactly header.payloadSize bytes (at most
// kMaxPayloadSize).
bool inflateSkinStream(std::span<const std::uint8_t> file, const SkinFileHeader& header,
                       std::vector<std::uint8_t>& payload, std::string* why);

// Inflates the payload after the header (already in contents.header), then indexes it.
bool inflateSkinPayload(std::span<const std::uint8_t> file, SkinFileContents& contents,
                        std::string* why);

// Files the top directory of contents.payload, checking that every entry lies inside the
// data area.
bool indexSkinPayload(SkinFileContents& contents, std::string* why);

// Puts every element of the file back into its fixed slot, starting from the given sections
// (those of a new skin): sections 2, 3 and 5 keep them when the file has none.
bool restoreSections(const SkinFileContents& contents, SkinSections& sections, std::string* why);

// All of the above: what the editor does to open a file.
std::optional<OpenedSkinFile> openSkinFile(std::span<const std::uint8_t> file, std::string* why);
std::optional<OpenedSkinFile> openSkinFile(const std::filesystem::path& path, std::string* why);

}  // namespace tandel
