// Conversions between the texts of skin records (UTF-16), command lines and files (UTF-8) and
// the system's ANSI code page, which is GBK (code page 936).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tandel {

// Ill-formed input (unpaired surrogates, broken UTF-8) becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// Every character GBK cannot represent becomes one "?", as the system's conversion does.
std::string utf16ToGbk(std::u16string_view text);
// Byte sequences that are not GBK become U+FFFD.
std::u16string gbkToUtf16(std::string_view bytes);

// A zero-terminated UTF-16 text in a fixed array: the units before the first zero, never more
// than the array holds.
std::u16string_view fixedText(std::span<const char16_t> field);

// Stores text into a fixed array: at most size - 1 units, then zeros to the end.
void setFixedText(std::span<char16_t> field, std::u16string_view text);

template <std::size_t N>
std::u16string_view fixedText(const char16_t (&field)[N]) {
    return fixedText(std::span<const char16_t>(field, N));
}
template <std::size_t N>
void setFixedText(char16_t (&field)[N], std::u16string_view text) {
    setFixedText(std::span<char16_t>(field, N), text);
}

}  // namespace tandel
