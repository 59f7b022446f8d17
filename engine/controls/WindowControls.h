// The input windows: the combined window (composition above candidates in one background),
// the split window with its composition and candidate panes, the candidate-only window, and
// the split line. Every window grows with its text: the text controls are laid out first, the
// window takes their size (never narrower than its background picture), then places its
// buttons and pictures against that size and absorbs whatever sticks out.
#pragma once

#include <array>
#include <memory>

#include "Control.h"

namespace tandel {

// What the window kinds share: a background drawn as a nine-grid, outer margins, child slots
// by element id, the overflow of the last layout, and the child under the mouse.
template <std::size_t Slots>
class WindowBase : public ZODBaseControl {
public:
    // Children take the slots of element ids firstId .. firstId + slotCount - 1.
    WindowBase(int type, int id, int firstId, int slotCount = int(Slots))
        : ZODBaseControl(type, id), firstId_(firstId), slotCount_(slotCount) {}

    Rect GetOuterMargins() const override;
    int OnTimer(MouseResult* result) override;
    void ResetAnimation() override;
    void ResetAnimation2() override { ResetAnimation(); }
    // Moves the window with its children.
    void Offset(int dx, int dy) override;

    // The child with an element id, or null.
    IControl* child(int id) const;
    void forEachChild(const std::function<void(const IControl&)>& visit) const override {
        for (const auto& c : children_) {
            if (c) {
                visit(*c);
            }
        }
    }

protected:
    std::unique_ptr<IControl>* slotOf(int id);
    // Keeps the background bands and outer margins, scaled, and makes the picture available.
    void readBackground(const StretchSpec& stretch, const EdgeSpec& margins, int picture,
                        ParseContext* context);
    // Loads the background picture into the renderer, cut by its unscaled bands.
    void loadBackground(int picture, const StretchSpec& unscaled);
    // The background picture's width at the screen's DPI: the narrowest a window may be.
    int minimumWidth() const;
    // Applies the overflow collected in the context: moves by the left and top overflow, grows
    // by all four.
    void absorbOverflow(ContextHead& context);
    int drawBackground(Canvas* canvas, const Rect* clip, bool testClip);
    // The background, then the children in order, the first at the bottom.
    int drawWithChildren(Canvas* canvas, const Rect* clip, bool testClip,
                         std::initializer_list<int> order);
    // A point outside the window and its overflow leaves the hovered child and is handled.
    bool missed(int x, int y, MouseResult* result);
    // Hover tracking: forgets the hovered child, resetting it unless it is disabled or hidden
    // (or keepsState says so).
    void leaveHovered(MouseResult* result);
    virtual bool keepsState(int /*id*/, int /*state*/) const { return false; }
    // Asks the children in order; the first that takes the point decides. Returns its id or -1.
    int mouseChildren(std::initializer_list<int> order, int message, int x, int y, int keys,
                      MouseResult* result);
    Rect hitArea() const;

    std::array<std::unique_ptr<IControl>, Slots> children_;
    int firstId_;
    int slotCount_;
    StretchSpec stretch_{};
    EdgeSpec outerMargins_{};
    Rect overflow_;  // left, top, right, bottom of the last layout
    int hovered_ = -1;
};

class ZODCandNormalControl : public WindowBase<11> {
public:
    ZODCandNormalControl(int type, int id) : WindowBase(type, id, 0) {}

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    Rect GetCaretOffset() const override { return {caretOffset_[0], caretOffset_[1], 0, 0}; }

private:
    std::int16_t caretOffset_[2] = {};
};

// A pane's rect plus everything that sticks out of it.
class PaneBase : public WindowBase<8> {
public:
    using WindowBase::WindowBase;
    Rect GetRect(int part) const override { return part == 0 ? total_ : rect_; }
    Rect GetCaretOffset() const override;
    void Offset(int dx, int dy) override;

protected:
    Rect total_;
};

class ZODCandPartCompControl : public PaneBase {
public:
    ZODCandPartCompControl(int type, int id) : PaneBase(type, id, 12, 7) {}

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
};

class ZODCandPartCandControl : public PaneBase {
public:
    ZODCandPartCandControl(int type, int id) : PaneBase(type, id, 19) {}

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
};

class ZODCandPartControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    Rect GetRect(int part) const override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    Rect GetCaretOffset() const override { return {caretOffset_[0], caretOffset_[1], 0, 0}; }
    Rect GetOuterMargins() const override;
    int OnTimer(MouseResult* result) override;
    void ResetAnimation() override;
    void ResetAnimation2() override { ResetAnimation(); }
    void forEachChild(const std::function<void(const IControl&)>& visit) const override {
        for (const IControl* pane : {compPane_.get(), candPane_.get()}) {
            if (pane != nullptr) {
                visit(*pane);
            }
        }
    }

private:
    std::int16_t caretOffset_[2] = {};
    std::unique_ptr<IControl> compPane_;
    std::unique_ptr<IControl> candPane_;
    bool candVisible_ = false;
    std::uint8_t placement_ = 1;
};

class ZODCandSingleControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    Rect GetCaretOffset() const override;
    Rect GetOuterMargins() const override;
    void Offset(int dx, int dy) override;
    int OnTimer(MouseResult* result) override;
    void ResetAnimation() override;
    void ResetAnimation2() override { ResetAnimation(); }
    void forEachChild(const std::function<void(const IControl&)>& visit) const override {
        if (pane_) {
            visit(*pane_);
        }
    }

private:
    std::unique_ptr<IControl> pane_;
    bool visible_ = true;
};

class ZODSplitLineControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;

private:
    StretchSpec pictureSpec_{};
    EdgeSpec lineSpec_{};
    bool colourLine_ = false;
};

}  // namespace tandel
