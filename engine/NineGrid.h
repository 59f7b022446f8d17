// The nine pieces of a picture or of a destination rectangle cut by four border widths:
// corners 0..3 (top left, top right, bottom right, bottom left), edges 4..7 (left, top,
// right, bottom) and the centre 8.
#pragma once

#include "Geometry.h"

namespace tandel {

inline constexpr int kNineGridPieces = 9;

// margins holds the border widths: left, top, right, bottom.
inline Rect nineGridPiece(int index, const Rect& r, const Rect& m) {
    const int L = r.left + m.left, T = r.top + m.top;
    const int R = r.right - m.right, B = r.bottom - m.bottom;
    switch (index) {
        case 0: return {r.left, r.top, L, T};
        case 1: return {R, r.top, r.right, T};
        case 2: return {R, B, r.right, r.bottom};
        case 3: return {r.left, B, L, r.bottom};
        case 4: return {r.left, T, L, B};
        case 5: return {L, r.top, R, T};
        case 6: return {R, T, r.right, B};
        case 7: return {L, B, R, r.bottom};
        default: return {L, T, R, B};
    }
}

}  // namespace tandel
