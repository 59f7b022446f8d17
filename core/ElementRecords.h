// Element records filled in one call, for the skins the programs make themselves: the new
// skin's defaults and the engine's built-in skin.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "SkinFile.h"

namespace tandel {

struct Margins {
    std::uint16_t top, bottom, left, right;
};

TextElement makeTextElement(Margins margins, std::u16string_view cnFont, std::u16string_view enFont,
                            std::int32_t size, std::uint32_t colour);
// A button with the tooltip "帮助".
ButtonElement makeButtonElement(std::int32_t alignment, std::int16_t x, std::int16_t y,
                                std::uint16_t width, std::uint16_t height, std::int32_t picture);
// A status item with one picture per state and the tooltip "帮助".
StateButtonElement makeStateButtonElement(std::int32_t alignment, std::int16_t x, std::int16_t y,
                                          std::uint16_t width, std::uint16_t height,
                                          std::initializer_list<std::int32_t> pictures);

}  // namespace tandel
