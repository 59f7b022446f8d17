#include "Pictures.h"

#include <zlib.h>

#include <algorithm>
#include <string>

namespace tandel::testing {
namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(v >> shift));
    }
}

void chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
    put32(out, std::uint32_t(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

std::vector<std::uint8_t> pngFile(int width, int height, const std::vector<std::uint32_t>& rgba,
                                  int frames) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    put32(ihdr, std::uint32_t(width));
    put32(ihdr, std::uint32_t(height));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    chunk(out, "IHDR", ihdr);
    if (frames > 1) {
        std::vector<std::uint8_t> actl;
        put32(actl, std::uint32_t(frames));
        put32(actl, 0);
        chunk(out, "acTL", actl);
    }
    std::vector<std::uint8_t> raw;
    raw.reserve(std::size_t(height) * (4 * std::size_t(width) + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = rgba[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            raw.insert(raw.end(), {std::uint8_t(p >> 24), std::uint8_t(p >> 16),
                                   std::uint8_t(p >> 8), std::uint8_t(p)});
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> idat(size);
    compress(idat.data(), &size, raw.data(), uLong(raw.size()));
    idat.resize(size);
    chunk(out, "IDAT", idat);
    chunk(out, "IEND", {});
    return out;
}

}  // namespace

std::vector<std::uint8_t> pngBytes(int width, int height, std::uint32_t rgba, int frames) {
    return pngFile(width, height, std::vector<std::uint32_t>(std::size_t(width * height), rgba),
                   frames);
}

std::vector<std::uint8_t> pngBytes(int width, int height, const std::vector<std::uint32_t>& rgba) {
    return pngFile(width, height, rgba, 1);
}

std::vector<std::uint8_t> gifBytes(int images) {
    std::vector<std::uint8_t> out = {
        'G',  'I', 'F', '8', '9', 'a', 1,   0,   1,  0,
        0x80, 0,   0,   0,   0,   0,   255, 255, 255};  // 2-colour global table
    for (int i = 0; i < images; ++i) {
        out.insert(out.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});  // graphic control, 100 ms
        out.insert(out.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0});
        out.insert(out.end(), {2, 2, 0x44, 0x01, 0});  // LZW: clear, 0, end
    }
    out.push_back(0x3B);
    return out;
}

std::vector<std::uint8_t> animatedGifBytes(int width, int height, int frames) {
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&](int v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    put16(width);
    put16(height);
    out.insert(out.end(), {0xF6, 0, 0});  // 128-colour global table
    for (int i = 0; i < 128; ++i) {
        out.insert(out.end(), {std::uint8_t(i * 2), std::uint8_t(255 - i * 2), std::uint8_t(i)});
    }
    out.insert(out.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3,
                           1, 0, 0, 0});  // loop for ever
    for (int f = 0; f < frames; ++f) {
        out.insert(out.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});  // 100 ms
        out.push_back(0x2C);
        put16(0);
        put16(0);
        put16(width);
        put16(height);
        out.push_back(0);
        out.push_back(7);  // minimum code size: 8-bit codes until the table reaches 256
        // Uncompressed LZW: a clear code before every 125 pixels keeps every code one byte.
        std::vector<std::uint8_t> codes;
        const std::size_t pixels = std::size_t(width) * std::size_t(height);
        for (std::size_t p = 0; p < pixels; ++p) {
            if (p % 125 == 0) {
                codes.push_back(128);
            }
            const std::size_t x = p % std::size_t(width), y = p / std::size_t(width);
            codes.push_back(std::uint8_t((x / 8 + y / 8 + std::size_t(f) * 16) % 128));
        }
        codes.push_back(129);
        for (std::size_t at = 0; at < codes.size(); at += 255) {
            const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
            out.push_back(std::uint8_t(n));
            out.insert(out.end(), codes.begin() + std::ptrdiff_t(at),
                       codes.begin() + std::ptrdiff_t(at + n));
        }
        out.push_back(0);
    }
    out.push_back(0x3B);
    return out;
}

std::vector<std::uint8_t> photoPngBytes(int width, int height, int seed) {
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    std::uint32_t noise = 2463534242u + std::uint32_t(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            std::uint32_t r = std::uint32_t(x * 255 / width) ^ (noise & 7);
            std::uint32_t g = std::uint32_t(y * 255 / height) ^ ((noise >> 3) & 7);
            std::uint32_t b = std::uint32_t((x + y + seed * 10) & 255);
            pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                r << 24 | g << 16 | b << 8 | 0xFF;
        }
    }
    return pngBytes(width, height, pixels);
}

}  // namespace tandel::testing
