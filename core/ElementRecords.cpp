#include "ElementRecords.h"

#include <algorithm>

#include "TextCodec.h"

namespace tandel {

TextElement makeTextElement(Margins margins, std::u16string_view cnFont, std::u16string_view enFont,
                            std::int32_t size, std::uint32_t colour) {
    TextElement e{};
    e.marginTop = margins.top;
    e.marginBottom = margins.bottom;
    e.marginLeft = margins.left;
    e.marginRight = margins.right;
    setFixedText(e.cnFont, cnFont);
    setFixedText(e.enFont, enFont);
    e.cnFontSize = size;
    e.enFontSize = size;
    e.colour = colour;
    return e;
}

ButtonElement makeButtonElement(std::int32_t alignment, std::int16_t x, std::int16_t y,
                                std::uint16_t width, std::uint16_t height, std::int32_t picture) {
    ButtonElement e{};
    e.alignment = alignment;
    e.x = x;
    e.y = y;
    e.width = width;
    e.height = height;
    e.picture = picture;
    setFixedText(e.tooltip, u"帮助");
    return e;
}

StateButtonElement makeStateButtonElement(std::int32_t alignment, std::int16_t x, std::int16_t y,
                                          std::uint16_t width, std::uint16_t height,
                                          std::initializer_list<std::int32_t> pictures) {
    StateButtonElement e{};
    e.alignment = alignment;
    e.x = x;
    e.y = y;
    e.width = width;
    e.height = height;
    std::copy_n(pictures.begin(), std::min<std::size_t>(pictures.size(), 3), e.pictures);
    e.stateCount = std::int32_t(std::min<std::size_t>(pictures.size(), 3));
    setFixedText(e.tooltip, u"帮助");
    return e;
}

}  // namespace tandel
