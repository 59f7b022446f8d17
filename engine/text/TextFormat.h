// Format flags of text drawing. The engine's records and controls pass them with the values
// the input method's Windows drawing calls take, so these keep those values.
#pragma once

namespace tandel {

inline constexpr unsigned kDtTop = 0x0;
inline constexpr unsigned kDtLeft = 0x0;
inline constexpr unsigned kDtCenter = 0x1;
inline constexpr unsigned kDtRight = 0x2;
inline constexpr unsigned kDtVCenter = 0x4;
inline constexpr unsigned kDtBottom = 0x8;
inline constexpr unsigned kDtSingleLine = 0x20;
inline constexpr unsigned kDtNoPrefix = 0x800;

}  // namespace tandel
