// The colour picker's eyedropper pictures, drawn at run time so they stay sharp at any size and
// device pixel ratio. They are designed on a 32 x 32 grid; side scales them, in logical pixels.
#pragma once

#include <QCursor>
#include <QPixmap>

namespace tandel {

// The eyedropper in its box, ready to be picked up.
QPixmap EyedropperPicture(int side, qreal pixelRatio);
// The box while the eyedropper is out picking: only its dashed outline is left.
QPixmap EyedropperOutlinePicture(int side, qreal pixelRatio);
// The eyedropper with a light halo, readable on any background; 32 x 32, the hot spot is its
// tip.
QCursor EyedropperCursor();

}  // namespace tandel
