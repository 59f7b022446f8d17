#include "Utf.h"

#include <cstddef>
#include <cstdint>

namespace tandel::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

std::u16string DecodeUtf8(std::string_view text) {
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    std::u16string out;
    out.reserve(text.size());
    auto byte = [&](std::size_t i) { return std::uint8_t(text[i]); };
    for (std::size_t i = 0; i < text.size();) {
        std::uint8_t lead = byte(i);
        std::size_t extra = lead < 0x80             ? 0
                            : (lead & 0xE0) == 0xC0 ? 1
                            : (lead & 0xF0) == 0xE0 ? 2
                            : (lead & 0xF8) == 0xF0 ? 3
                                                    : 4;
        bool valid = extra < 4 && i + extra < text.size();
        char32_t cp = valid ? char32_t(lead & (0x7F >> extra)) : 0;
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            valid = (byte(i + k) & 0xC0) == 0x80;
            cp = (cp << 6) | (byte(i + k) & 0x3F);
        }
        if (!valid || cp < kSmallest[extra] || cp > 0x10FFFF || IsHighSurrogate(cp) ||
            IsLowSurrogate(cp)) {
            out.push_back(char16_t(kReplacement));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += extra + 1;
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (IsHighSurrogate(cp) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp)) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace tandel::platform
