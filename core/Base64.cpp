#include "Base64.h"

namespace tandel {

std::string base64Encode(std::span<const std::uint8_t> bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group =
            std::uint32_t(bytes[i]) << 16 | std::uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        text += kAlphabet[group >> 18 & 63];
        text += kAlphabet[group >> 12 & 63];
        text += kAlphabet[group >> 6 & 63];
        text += kAlphabet[group & 63];
    }
    // A last group of one or two bytes still gives every bit its character, zeros included.
    const std::size_t left = bytes.size() - i;
    if (left > 0) {
        const std::uint32_t group =
            std::uint32_t(bytes[i]) << 16 | (left == 2 ? std::uint32_t(bytes[i + 1]) << 8 : 0);
        text += kAlphabet[group >> 18 & 63];
        text += kAlphabet[group >> 12 & 63];
        text += left == 2 ? kAlphabet[group >> 6 & 63] : '=';
        text += '=';
    }
    return text;
}

}  // namespace tandel
