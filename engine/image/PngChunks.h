// The chunk layer of PNG files: walking the chunks of a file for what libpng does not read
// (the animation chunks), and writing chunks to build PNG streams in memory.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tandel {

inline constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P',  'N',  'G',
                                                              '\r', '\n', 0x1A, '\n'};

struct PngChunk {
    std::string_view type;  // the four type letters, inside the file's bytes
    std::span<const std::uint8_t> data;
};

std::uint16_t readBigEndian16(const std::uint8_t* bytes);
std::uint32_t readBigEndian32(const std::uint8_t* bytes);

// The chunks from the signature up to IEND, each checked to lie inside the bytes and to
// carry a matching CRC. False with a reason when the bytes are not such a sequence.
bool readPngChunks(std::span<const std::uint8_t> bytes, std::vector<PngChunk>& chunks,
                   std::string* why);

// Appends a chunk with its length and CRC. The data must be shorter than 2^31 bytes, as every
// chunk read from a file is.
void appendPngChunk(std::vector<std::uint8_t>& out, std::string_view type,
                    std::span<const std::uint8_t> data);

}  // namespace tandel
