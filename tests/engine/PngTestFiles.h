// PNG files built chunk by chunk for the PNG tests, so that single chunks can be left out,
// repeated, reordered or damaged.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tandel::testing {

struct TestChunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

inline void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes = 4) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(value >> shift));
    }
}

inline std::vector<std::uint8_t> pngFile(const std::vector<TestChunk>& chunks) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const TestChunk& chunk : chunks) {
        putBigEndian(out, std::uint32_t(chunk.data.size()));
        const std::size_t start = out.size();
        out.insert(out.end(), chunk.type.begin(), chunk.type.end());
        out.insert(out.end(), chunk.data.begin(), chunk.data.end());
        putBigEndian(out, std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
    }
    return out;
}

inline TestChunk ihdrChunk(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth = 8,
                           std::uint8_t colourType = 6) {
    TestChunk chunk{"IHDR", {}};
    putBigEndian(chunk.data, width);
    putBigEndian(chunk.data, height);
    chunk.data.insert(chunk.data.end(), {bitDepth, colourType, 0, 0, 0});
    return chunk;
}

// The zlib stream of width x height RGBA pixels of one colour (0xRRGGBBAA), rows unfiltered.
inline std::vector<std::uint8_t> solidImageData(int width, int height, std::uint32_t rgba) {
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            putBigEndian(raw, rgba);
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> out(size);
    compress(out.data(), &size, raw.data(), uLong(raw.size()));
    out.resize(size);
    return out;
}

}  // namespace tandel::testing
