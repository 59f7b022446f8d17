// The built-in pictures of the default skin, drawn by scripts/draw-assets and built into the
// program.
#pragma once

#include <cstdint>
#include <span>

namespace tandel {

enum class PictureSet {
    Normal,
    Large,  // twice the size, for the large DPI mode
};

// The PNG bytes of the built-in picture of a slot (9..23, 61..80 and 87), or empty for a slot
// without one. Style 1 picks the second status bar background of slot 61, the one of the
// vertical bar.
std::span<const std::uint8_t> builtInPicture(int slot, PictureSet set = PictureSet::Normal,
                                             int style = 0);

}  // namespace tandel
