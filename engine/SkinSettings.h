// What the input method tells the engine about the skin it wants: a 192-byte record whose
// offsets are part of the interface. The editor supplies none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tandel {

struct SkinSettings {
    std::uint8_t unread0[8];
    std::int32_t statusItemMask;  // items of the built-in status bar
    std::uint32_t themeColour;    // 0xFFFF7930: the default theme
    std::uint8_t statusStyle;     // 1: the built-in status bar in its vertical variant
    std::uint8_t windowMode;      // 1..5; anything else means 0
    std::uint8_t fontSizeOverride;
    char skinId[32];  // UTF-8; empty: the built-in skin
    // UTF-16LE faces at odd offsets, so kept as bytes; read with faceOverride.
    std::uint8_t cnFaceOverride[64];
    std::uint8_t enFaceOverride[64];
    std::uint8_t unread179[13];
};
static_assert(sizeof(SkinSettings) == 192);
static_assert(offsetof(SkinSettings, statusItemMask) == 8);
static_assert(offsetof(SkinSettings, themeColour) == 12);
static_assert(offsetof(SkinSettings, statusStyle) == 16);
static_assert(offsetof(SkinSettings, windowMode) == 17);
static_assert(offsetof(SkinSettings, fontSizeOverride) == 18);
static_assert(offsetof(SkinSettings, skinId) == 19);
static_assert(offsetof(SkinSettings, cnFaceOverride) == 51);
static_assert(offsetof(SkinSettings, enFaceOverride) == 115);

inline constexpr std::uint32_t kDefaultThemeColour = 0xFFFF7930;

// A face override as text, up to its first zero unit; empty when none is set.
inline std::u16string faceOverride(const std::uint8_t (&field)[64]) {
    std::u16string face;
    for (std::size_t i = 0; i + 1 < sizeof field; i += 2) {
        char16_t unit = char16_t(field[i] | field[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        face += unit;
    }
    return face;
}

}  // namespace tandel
