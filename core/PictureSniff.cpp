#include "PictureSniff.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace tandel {
namespace {

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

bool pngIsAnimated(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) {
        return false;
    }
    // acTL must come before the first IDAT.
    for (std::size_t pos = 8; bytes.size() - pos >= 12;) {
        std::uint32_t length = bigEndian32(&bytes[pos]);
        const std::uint8_t* type = &bytes[pos + 4];
        if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0) {
            return false;
        }
        if (std::memcmp(type, "acTL", 4) == 0) {
            return length >= 8 && bytes.size() - pos - 8 >= 8 && bigEndian32(&bytes[pos + 8]) > 1;
        }
        if (length > bytes.size() - pos - 12) {
            return false;
        }
        pos += 12 + std::size_t(length);
    }
    return false;
}

// Skips a chain of GIF data sub-blocks; returns the position after the terminator, or 0.
std::size_t skipSubBlocks(std::span<const std::uint8_t> bytes, std::size_t pos) {
    while (pos < bytes.size()) {
        std::size_t length = bytes[pos];
        if (length == 0) {
            return pos + 1;
        }
        pos += 1 + length;
    }
    return 0;
}

bool gifIsAnimated(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 13 || (std::memcmp(bytes.data(), "GIF87a", 6) != 0 &&
                              std::memcmp(bytes.data(), "GIF89a", 6) != 0)) {
        return false;
    }
    auto colourTableSize = [](std::uint8_t flags) {
        return (flags & 0x80) != 0 ? std::size_t(3) << ((flags & 7) + 1) : std::size_t(0);
    };
    std::size_t pos = 13 + colourTableSize(bytes[10]);
    int images = 0;
    while (pos < bytes.size()) {
        std::uint8_t block = bytes[pos];
        if (block == 0x2C) {  // image descriptor
            if (bytes.size() - pos < 11) {
                return false;
            }
            if (++images > 1) {
                return true;
            }
            pos += 10 + colourTableSize(bytes[pos + 9]);
            pos = pos < bytes.size() ? skipSubBlocks(bytes, pos + 1) : 0;  // LZW code size first
        } else if (block == 0x21) {                                        // extension
            pos = bytes.size() - pos >= 2 ? skipSubBlocks(bytes, pos + 2) : 0;
        } else {
            return false;  // trailer or damage
        }
        if (pos == 0) {
            return false;
        }
    }
    return false;
}

}  // namespace

PictureFormat pictureFormat(std::span<const std::uint8_t> bytes) {
    auto startsWith = [&](std::initializer_list<std::uint8_t> prefix) {
        return bytes.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), bytes.begin());
    };
    if (startsWith({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) {
        return PictureFormat::Png;
    }
    if (startsWith({0xFF, 0xD8, 0xFF})) {
        return PictureFormat::Jpeg;
    }
    if (startsWith({'G', 'I', 'F', '8'})) {
        return PictureFormat::Gif;
    }
    if (startsWith({'B', 'M'})) {
        return PictureFormat::Bmp;
    }
    return PictureFormat::Unknown;
}

const char* pictureExtension(PictureFormat format) {
    switch (format) {
        case PictureFormat::Png: return "png";
        case PictureFormat::Jpeg: return "jpg";
        case PictureFormat::Bmp: return "bmp";
        case PictureFormat::Gif: return "gif";
        case PictureFormat::Unknown: break;
    }
    return "bin";
}

bool looksAnimated(std::span<const std::uint8_t> bytes) {
    return pngIsAnimated(bytes) || gifIsAnimated(bytes);
}

}  // namespace tandel
