#include "SkinSignature.h"

#include <algorithm>
#include <cstring>

#include "Md5.h"
#include "TextCodec.h"

namespace tandel {

std::string makeSkinId(std::u16string_view name, std::u16string_view author) {
    std::u16string text(name);
    text += author;
    return Md5::hex(utf16ToGbk(text));
}

std::string makeSignature(std::u16string_view name, std::u16string_view author,
                          std::u16string_view date) {
    std::u16string text(name);
    text += author;
    text += date;
    return Md5::hex(utf16ToGbk(text) + std::string(kSignatureSalt));
}

bool verifySignature(const SkinFileHeader& header) {
    std::string expected =
        makeSignature(fixedText(header.name), fixedText(header.author), fixedText(header.date));
    const char* stored = header.signature;
    std::size_t storedLength = std::find(stored, stored + 32, '\0') - stored;
    return storedLength == 32 && expected.size() == 32 &&
           std::memcmp(stored, expected.data(), 32) == 0;
}

void storeDigest(char (&field)[32], std::string_view digest) {
    std::memset(field, 0, sizeof field);
    std::memcpy(field, digest.data(), std::min(digest.size(), sizeof field));
}

}  // namespace tandel
