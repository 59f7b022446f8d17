// Buttons: the page-turn buttons of the input windows, the single-picture status items, and
// (ZODMutilButtonControl) the status items with a picture per input state. A picture button
// draws frame "state" of its strip; a button without picture is a flat arrow.
#pragma once

#include <array>
#include <memory>

#include "Control.h"

namespace tandel {

class ZODButtonControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int GetState() const override { return state_; }
    void SetState(int state) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;

protected:
    // The renderer the button draws with.
    virtual IRender* currentRender() const { return render_.get(); }
    // What a mouse message makes of the state; stores it and asks for a redraw when it
    // changes. Returns 0 outside the rect.
    int trackMouse(int message, int x, int y, int keys, MouseResult* result);
    void storeHead(const PlacementHead& head, ParseContext* context);

    PlacementHead head_{};
    int state_ = kStateNormal;
    bool arrow_ = false;
};

class ZODMutilButtonControl : public ZODButtonControl {
public:
    using ZODButtonControl::ZODButtonControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    // 5, 6 and 7 pick the first, second or third picture; other values are button states.
    void SetState(int state) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    int OnTimer(MouseResult* result) override;
    // Which of the item's pictures shows: 0, 1 or 2.
    int currentPicture() const { return current_; }

protected:
    IRender* currentRender() const override;

private:
    std::array<std::unique_ptr<IRender>, 3> renders_;
    int current_ = 0;
};

}  // namespace tandel
