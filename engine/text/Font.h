// Fonts and text measuring, in place of the input method's Windows font objects. Face names
// are the Windows faces skins name; the program's own fontconfig rules map them onto installed
// families, and characters the face lacks come from a Chinese fallback.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Geometry.h"

namespace tandel {

// The font asked for, like GDI's logical font; the face mapping picks the installed font.
struct LogicalFont {
    std::u16string face;  // empty or unknown: the Chinese system face, 宋体
    // Negative: the character (em) height in pixels, as the engine creates fonts; positive:
    // the cell height (ascent + descent).
    int height = -12;
    int weight = 400;  // 400 normal, 700 bold
    bool underline = false;
    bool operator==(const LogicalFont&) const = default;
    auto operator<=>(const LogicalFont&) const = default;
};

struct FontData;

// A resolved font. Fonts made from equal logical fonts share their data, so making one is cheap.
class Font {
public:
    Font();
    explicit Font(const LogicalFont& logical);

    const LogicalFont& logicalFont() const;
    int emHeight() const;
    int ascent() const;
    int descent() const;
    int lineHeight() const { return ascent() + descent(); }

    // The installed family the face resolved to.
    std::u16string family() const;

    const FontData& data() const { return *data_; }

private:
    std::shared_ptr<const FontData> data_;
};

// Like GetTextExtentPoint32W: cx the sum of the advances (no kerning, so a text measures the
// sum of its characters), cy the font's line height.
Size measureText(const Font& font, std::u16string_view text);

// The families that draw text, each once, in the order they first occur.
std::vector<std::u16string> familiesUsed(const Font& font, std::u16string_view text);

// How many characters of text no installed font can draw.
int missingGlyphCount(const Font& font, std::u16string_view text);

}  // namespace tandel
