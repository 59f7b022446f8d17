// Plain drawing primitives (solid rectangles, triangles, rounded frames) drawn into an alpha
// canvas without destroying its alpha: the primitive is drawn the way a GDI primitive draws
// (colour written, alpha byte zeroed) and every changed pixel is then merged with what was
// there before, by the colour's alpha byte: 255 keeps the new colour opaque, 1..254 mixes,
// 0 makes the drawing disappear.
#pragma once

#include <cstdint>

#include "Canvas.h"
#include "Geometry.h"

namespace tandel {

// Colours are 0xAABBGGRR: red in the low byte, the alpha byte on top.
int FillRectAlpha(Canvas& canvas, const Rect& rect, std::uint32_t colour);
// A filled triangle with its 1-pixel outline; rect bounds the area that may change.
int FillTriangleAlpha(Canvas& canvas, const Rect& rect, const Point (&points)[3],
                      std::uint32_t colour);
// The 1-pixel frame of rect with 5 x 5 rounded corners, inside rect.
int DrawRoundFrameAlpha(Canvas& canvas, const Rect& rect, std::uint32_t colour);

}  // namespace tandel
