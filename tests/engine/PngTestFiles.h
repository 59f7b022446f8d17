// PNG and animated PNG files built chunk by chunk for the PNG tests, so that single chunks can
// be left out, repeated, reordered or damaged.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tandel::testing {

struct TestChunk {
    std::string type;
    std::vector<std::uint8_t> data;
    bool damagedCrc = false;
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
        const auto crc = std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start)));
        putBigEndian(out, chunk.damagedCrc ? ~crc : crc);
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

inline TestChunk actlChunk(std::uint32_t frames, std::uint32_t plays) {
    TestChunk chunk{"acTL", {}};
    putBigEndian(chunk.data, frames);
    putBigEndian(chunk.data, plays);
    return chunk;
}

struct FrameControl {
    std::uint32_t sequence = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint16_t delayNum = 1;
    std::uint16_t delayDen = 10;
    std::uint8_t disposeOp = 0;
    std::uint8_t blendOp = 0;
};

inline TestChunk fctlChunk(const FrameControl& f) {
    TestChunk chunk{"fcTL", {}};
    for (std::uint32_t v : {f.sequence, f.width, f.height, f.x, f.y}) {
        putBigEndian(chunk.data, v);
    }
    putBigEndian(chunk.data, f.delayNum, 2);
    putBigEndian(chunk.data, f.delayDen, 2);
    chunk.data.push_back(f.disposeOp);
    chunk.data.push_back(f.blendOp);
    return chunk;
}

inline TestChunk fdatChunk(std::uint32_t sequence, const std::vector<std::uint8_t>& data) {
    TestChunk chunk{"fdAT", {}};
    putBigEndian(chunk.data, sequence);
    chunk.data.insert(chunk.data.end(), data.begin(), data.end());
    return chunk;
}

}  // namespace tandel::testing
