// Text drawing in place of the input method's DrawTextW calls: one line of text placed in a
// rectangle by the kDt* format flags (TextFormat.h) and clipped to it. GDI does not clip
// without DT_NOCLIP, but every caller passes a rectangle the text fits, so clipping only keeps
// stray ink of oversized glyphs inside the element that owns the rectangle. Without
// kDtNoPrefix, '&' marks the next character as a mnemonic (underlined, the '&' not drawn) and
// "&&" draws one '&'. Colours are 0x00BBGGRR (red in the low byte); their top byte is ignored.
#pragma once

#include <cstdint>
#include <string_view>

#include "Canvas.h"
#include "Font.h"
#include "Geometry.h"

namespace tandel {

// Anti-aliased text for skins: the glyph coverage becomes the alpha of the colour, composited
// into the alpha canvas. Returns 0 for an empty text or rectangle or a canvas without alpha,
// 1 otherwise.
int DrawTextAlpha(Canvas& canvas, std::u16string_view text, std::uint32_t colour, const Rect& rect,
                  const Font& font, unsigned format);

// The system look on any canvas: the text is drawn over the pixels already there, and every
// pixel it changes becomes opaque (GDI leaves no usable alpha where it draws, so the engine
// forces it). Returns 0 for an empty text, rectangle or canvas,
// 1 otherwise.
int DrawTextOpaque(Canvas& canvas, std::u16string_view text, std::uint32_t colour, const Rect& rect,
                   const Font& font, unsigned format);

}  // namespace tandel
