// A picture placed in a window: the toolbox, custom pictures, and the composition cursor
// (id 56), which paints a solid rectangle in the cursor colour instead.
#pragma once

#include "Control.h"

namespace tandel {

inline constexpr int kCursorId = 56;

class ZODImageControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;

    // The cursor has no record: a renderer without picture painting colour 1.
    int CreateCursor(ParseContext* context);
    int picture() const { return picture_; }

private:
    PlacementHead head_{};
    int picture_ = -1;
};

}  // namespace tandel
