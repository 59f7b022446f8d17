#include "TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace tandel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Calls visit(codePoint, first, count) for each character of UTF-16 text.
template <typename Visit>
void forEachCodePoint(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t u = text[i];
        if (isHighSurrogate(u) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            char32_t cp = 0x10000 + ((u - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            visit(cp, i, std::size_t{2});
            i += 2;
        } else {
            visit(isHighSurrogate(u) || isLowSurrogate(u) ? kReplacement : u, i, std::size_t{1});
            i += 1;
        }
    }
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(char16_t(0xD800 + (cp >> 10)));
        out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(char16_t(cp));
    }
}

// One iconv conversion descriptor per direction, opened once; only the UI thread converts.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in; returns false when iconv rejects it (out is then unspecified).
    bool convert(const char* in, std::size_t inSize, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[64];
        char* src = const_cast<char*>(in);
        while (inSize > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            std::size_t r = iconv(cd_, &src, &inSize, &dst, &room);
            out.append(buffer, std::size_t(dst - buffer));
            if (r == std::size_t(-1) && errno != E2BIG) {
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

Converter& toGbk() {
    static Converter converter("CP936", "UTF-16LE");
    return converter;
}

Converter& fromGbk() {
    static Converter converter("UTF-16LE", "CP936");
    return converter;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
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
        if (!valid || cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(char16_t(kReplacement));
            ++i;
            continue;
        }
        appendUtf16(out, cp);
        i += extra + 1;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t cp, std::size_t, std::size_t) {
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
    });
    return out;
}

std::string utf16ToGbk(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    Converter& converter = toGbk();
    forEachCodePoint(text, [&](char32_t cp, std::size_t first, std::size_t count) {
        if (cp < 0x80) {
            out.push_back(char(cp));
            return;
        }
        std::string bytes;
        bool converted = cp != kReplacement && converter.ok() &&
                         converter.convert(reinterpret_cast<const char*>(text.data() + first),
                                           count * sizeof(char16_t), bytes);
        out += converted ? bytes : std::string("?");
    });
    return out;
}

std::u16string gbkToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    Converter& converter = fromGbk();
    for (std::size_t i = 0; i < bytes.size();) {
        std::uint8_t b = std::uint8_t(bytes[i]);
        if (b < 0x80) {
            out.push_back(char16_t(b));
            ++i;
            continue;
        }
        std::size_t length = (b == 0x80 || b == 0xFF || i + 1 >= bytes.size()) ? 1 : 2;
        std::string units;
        if (converter.ok() && converter.convert(bytes.data() + i, length, units) &&
            units.size() == 2) {
            out.push_back(char16_t(std::uint8_t(units[0]) | (std::uint8_t(units[1]) << 8)));
            i += length;
        } else {
            out.push_back(char16_t(kReplacement));
            i += 1;
        }
    }
    return out;
}

std::u16string_view fixedText(std::span<const char16_t> field) {
    auto end = std::find(field.begin(), field.end(), u'\0');
    return {field.data(), std::size_t(end - field.begin())};
}

void setFixedText(std::span<char16_t> field, std::u16string_view text) {
    if (field.empty()) {
        return;
    }
    std::size_t n = std::min(text.size(), field.size() - 1);
    if (n > 0 && n < text.size() && isHighSurrogate(text[n - 1])) {
        --n;  // never keep half of a surrogate pair
    }
    std::copy_n(text.begin(), n, field.begin());
    std::fill(field.begin() + std::ptrdiff_t(n), field.end(), u'\0');
}

}  // namespace tandel
