// Shared by the text sources: the Pango context with the program's font configuration, the
// resolved font data behind Font, layouts of texts, and owners for the C libraries' objects.
#pragma once

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "Font.h"

namespace tandel {

template <auto Free>
struct FreeWith {
    template <typename T>
    void operator()(T* object) const {
        Free(object);
    }
};
using LayoutPtr = std::unique_ptr<PangoLayout, FreeWith<&g_object_unref>>;
using PangoFontPtr = std::unique_ptr<PangoFont, FreeWith<&g_object_unref>>;
using DescriptionPtr =
    std::unique_ptr<PangoFontDescription, FreeWith<&pango_font_description_free>>;
using PatternPtr = std::unique_ptr<FcPattern, FreeWith<&FcPatternDestroy>>;
using FontSetPtr = std::unique_ptr<FcFontSet, FreeWith<&FcFontSetDestroy>>;

struct FontData {
    LogicalFont logical;
    DescriptionPtr description;
    int emHeight = 0;
    int ascent = 0;
    int descent = 0;
};

// The context every layout is made in; built on first use.
PangoContext* textContext();

// The configuration the font map uses; null when the program's rules could not be loaded and
// Pango's default font map stands in (fontconfig then uses its default configuration).
FcConfig* textFontConfig();

// The installed fonts matching pattern, with the given properties.
FontSetPtr listFonts(FcConfig* config, const FcPattern* pattern,
                     std::initializer_list<const char*> properties);

// The shared data of the fonts made from logical, resolved on first use.
std::shared_ptr<const FontData> fontData(const LogicalFont& logical);

// The family name of a loaded font.
std::u16string familyOf(PangoFont* font);

// A single-line layout of text in font. With prefixes, '&' marks are taken out and underline
// the character after them ("&&" stands for one '&'). Layouts are kept and handed out again
// for the same font and text, since the engine measures and draws the same texts over and
// over; the layout stays valid until the next call, which may drop it.
PangoLayout* layoutFor(const Font& font, std::u16string_view text, bool prefixes);

// The layout's logical width in whole pixels.
int layoutWidth(PangoLayout* layout);

}  // namespace tandel
