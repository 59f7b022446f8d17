// The status bar drawn from the skin document itself, as the status-bar pages and the check
// scene show it: the background and the item pictures at their boxes, without the engine.
#pragma once

#include <array>
#include <memory>

#include "Canvas.h"
#include "RUZizod.h"
#include "SkinDocument.h"

namespace tandel {

// Decoded status bar pictures kept between drawings, so that animations advance: the
// background (slot 61) and the five custom pictures (slots 81..85).
class StatusPictureCache {
public:
    // Decodes the pictures of the document again (absent when a slot has no bytes or does
    // not decode).
    void reload(const SkinDocument& document);
    RUZizodGdi* background() const { return background_.get(); }
    RUZizodGdi* custom(int slot) const;

private:
    std::unique_ptr<RUZizodGdi> background_;
    std::array<std::unique_ptr<RUZizodGdi>, 5> customs_;
};

// The check scene of the status bar: nine rows, three groups of item pictures (first, second,
// last mode picture) times three button states (normal, hover, pressed), each row the
// background with every included picture, from x = 200, y = 20 down. Sizes are multiplied by
// scale, positions are not. Returns the content size: the background's width and the height
// below the last row.
Size DrawStatusScenes(const SkinDocument& document, StatusPictureCache& cache, Canvas& canvas,
                      double scale);

}  // namespace tandel
