// The two digests of a skin file's header: the signature that ties a skin to its name, author
// and date, and the skin id that names the installed copy.
#pragma once

#include <string>
#include <string_view>

#include "SkinFile.h"

namespace tandel {

// The fixed salt appended to the signed text.
inline constexpr std::string_view kSignatureSalt = "5B7D1E9A3C6F48B2A0D4E8F1C3B5A7D9";

// 32 lowercase hexadecimal characters each. Texts are hashed in GBK.
std::string makeSkinId(std::u16string_view name, std::u16string_view author);
std::string makeSignature(std::u16string_view name, std::u16string_view author,
                          std::u16string_view date);

// True when the header's signature matches its name, author and date (letter case counts).
bool verifySignature(const SkinFileHeader& header);

// Writes a 32-character digest into a header field.
void storeDigest(char (&field)[32], std::string_view digest);

}  // namespace tandel
