// The status bar: a background with a row (or column) of items and up to five custom
// pictures. Its size and the places of its items are fixed when it is created; Layout only
// switches the items' pictures to the input state and reports the size.
#pragma once

#include "WindowControls.h"

namespace tandel {

class ZODStateControl : public WindowBase<kStatusElementCount> {
public:
    ZODStateControl(int type, int id) : WindowBase(type, id, kFirstStatusItemId) {}

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;

protected:
    // The soft keyboard stays pressed when the mouse leaves it.
    bool keepsState(int id, int state) const override { return id == 41 && state == kStatePressed; }
};

}  // namespace tandel
