#include "Font.h"

#include <algorithm>

#include "TextSystem.h"

namespace tandel {

Font::Font() : Font(LogicalFont{}) {}

Font::Font(const LogicalFont& logical) : data_(fontData(logical)) {}

const LogicalFont& Font::logicalFont() const {
    return data_->logical;
}
int Font::emHeight() const {
    return data_->emHeight;
}
int Font::ascent() const {
    return data_->ascent;
}
int Font::descent() const {
    return data_->descent;
}

std::u16string Font::family() const {
    PangoFontPtr font(pango_context_load_font(textContext(), data_->description.get()));
    return font ? familyOf(font.get()) : std::u16string();
}

Size measureText(const Font& font, std::u16string_view text) {
    if (text.empty()) {
        return {0, font.lineHeight()};
    }
    PangoLayout* layout = layoutFor(font, text, false);
    return {layoutWidth(layout), font.lineHeight()};
}

std::vector<std::u16string> familiesUsed(const Font& font, std::u16string_view text) {
    std::vector<std::u16string> families;
    PangoLayout* layout = layoutFor(font, text, false);
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
    for (GSList* item = line != nullptr ? line->runs : nullptr; item != nullptr;
         item = item->next) {
        PangoFont* used = static_cast<const PangoGlyphItem*>(item->data)->item->analysis.font;
        if (used == nullptr) {
            continue;
        }
        std::u16string family = familyOf(used);
        if (std::find(families.begin(), families.end(), family) == families.end()) {
            families.push_back(std::move(family));
        }
    }
    return families;
}

int missingGlyphCount(const Font& font, std::u16string_view text) {
    PangoLayout* layout = layoutFor(font, text, false);
    return pango_layout_get_unknown_glyphs_count(layout);
}

}  // namespace tandel
