#include "PngChunks.h"

#include <zlib.h>

#include <algorithm>

namespace tandel {
namespace {

// PNG chunk lengths are limited to 2^31 - 1 bytes.
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;

void appendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(value >> shift));
    }
}

bool refuse(std::string* why, const std::string& reason) {
    if (why != nullptr) {
        *why = reason;
    }
    return false;
}

}  // namespace

std::uint16_t readBigEndian16(const std::uint8_t* bytes) {
    return std::uint16_t(bytes[0] << 8 | bytes[1]);
}

std::uint32_t readBigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
           std::uint32_t(bytes[2]) << 8 | std::uint32_t(bytes[3]);
}

bool readPngChunks(std::span<const std::uint8_t> bytes, std::vector<PngChunk>& chunks,
                   std::string* why) {
    chunks.clear();
    if (bytes.size() < kPngSignature.size() ||
        !std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin())) {
        return refuse(why, "PNG: no PNG signature");
    }
    std::size_t position = kPngSignature.size();
    for (;;) {
        const std::size_t left = bytes.size() - position;
        if (left < 12) {
            return refuse(why, "PNG: the file ends before IEND");
        }
        const std::uint8_t* header = bytes.data() + position;
        const std::uint32_t length = readBigEndian32(header);
        if (length > kMaxChunkLength || length > left - 12) {
            return refuse(why, "PNG: a chunk runs past the end of the file");
        }
        const std::uint32_t stored = readBigEndian32(header + 8 + length);
        if (std::uint32_t(crc32(0, header + 4, uInt(length) + 4)) != stored) {
            return refuse(why, "PNG: chunk CRC mismatch");
        }
        const PngChunk chunk{std::string_view(reinterpret_cast<const char*>(header + 4), 4),
                             bytes.subspan(position + 8, length)};
        chunks.push_back(chunk);
        position += 12 + std::size_t(length);
        if (chunk.type == "IEND") {
            return true;
        }
    }
}

void appendPngChunk(std::vector<std::uint8_t>& out, std::string_view type,
                    std::span<const std::uint8_t> data) {
    appendBigEndian32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    appendBigEndian32(out, std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

}  // namespace tandel
