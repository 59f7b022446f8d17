// UTF-8 and UTF-16 for the platform layer, which stands on the standard library alone: the
// system hands out UTF-8 (environment, files, file names), the editor works in UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tandel::platform {

// Ill-formed input (broken UTF-8, unpaired surrogates) becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u16string_view text);

}  // namespace tandel::platform
