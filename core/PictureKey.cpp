#include "PictureKey.h"

#include <cstring>

namespace tandel {
namespace {

std::uint64_t read64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// The high and low halves of the full 128-bit product, folded: a fast mixing step.
#if defined(__SIZEOF_INT128__)
__extension__ using Wide = unsigned __int128;
std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    const Wide product = Wide(a) * b;
    return std::uint64_t(product) ^ std::uint64_t(product >> 64);
}
#else
std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t aLow = a & 0xFFFFFFFF, aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xFFFFFFFF, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh;
    const std::uint64_t highLow = aHigh * bLow, highHigh = aHigh * bHigh;
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFF) + (highLow & 0xFFFFFFFF);
    const std::uint64_t low = (lowLow & 0xFFFFFFFF) | (middle << 32);
    const std::uint64_t high = highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
    return low ^ high;
}
#endif

}  // namespace

PictureKey pictureKey(std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t k0 = 0xA0761D6478BD642Full, k1 = 0xE7037ED1A0B428DBull;
    const std::uint8_t* p = bytes.data();
    const std::size_t n = bytes.size();
    std::uint64_t a = 0x243F6A8885A308D3ull, b = 0x13198A2E03707344ull;
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        a = mix(read64(p + i) ^ a, read64(p + i + 8) ^ k0) ^ a;
        b = mix(read64(p + i + 16) ^ b, read64(p + i + 24) ^ k1) ^ b;
    }
    std::uint64_t tail = 0;
    for (; i < n; ++i) {
        tail = (tail ^ p[i]) * 0x100000001B3ull;
    }
    return {mix(a ^ mix(b ^ tail, k0), k1 ^ std::uint64_t(n)), n};
}

}  // namespace tandel
