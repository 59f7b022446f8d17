// The composition string with its cursor, and the row of five stroke cells that follows it
// while the input method takes strokes. Positions are computed from the control's own origin
// and moved into place by the parent with Offset.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "Control.h"
#include "ImageControl.h"
#include "TextControls.h"

namespace tandel {

// Five cells, one per stroke, each with its stroke symbol and key letter.
class ZODCompTipControl : public ZODBaseControl {
public:
    static constexpr int kCells = 5;

    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    // Square cells as high as the context is.
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    void Offset(int dx, int dy) override;

    Rect cell(int i) const { return cells_[std::size_t(i)]; }
    int hoveredCell() const { return hovered_; }

private:
    int cellAt(int x, int y) const;

    std::array<Rect, kCells> cells_{};
    int hovered_ = -1;
};

class ZODTextCompControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    // The text with its margins, as the windows size themselves by it (the candidate list's
    // rect includes its margins the same way).
    Rect GetRect(int part) const override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    void Offset(int dx, int dy) override;

    Rect contentRect() const { return content_; }
    // The characters measured by the last layout, with their rects and fonts.
    int measuredLength() const { return measured_; }
    Rect charRect(int i) const { return charRects_[std::size_t(i)]; }
    int charFont(int i) const { return charFonts_[std::size_t(i)]; }
    bool allLatin() const { return allLatin_; }
    ZODImageControl* cursor() const { return cursor_.get(); }
    ZODCompTipControl* tip() const { return tip_.get(); }
    void forEachChild(const std::function<void(const IControl&)>& visit) const override;

private:
    // The composition as the scenario gives it, no longer than what may be measured.
    struct Composition {
        const char16_t* text = nullptr;
        int length = 0;
    };
    Composition composition() const;
    bool tipShown() const;
    // Measures character i in font and puts it at the end of the content.
    Size place(int i, const char16_t* text, int font, int gap5);

    int marginTop_ = 0, marginBottom_ = 0, marginLeft_ = 0, marginRight_ = 0;
    LayoutContext* context_ = nullptr;
    std::array<Rect, kMaxCompositionLength> charRects_{};
    std::array<std::uint8_t, kMaxCompositionLength> charFonts_{};
    int measured_ = 0;
    Rect content_;
    bool laidOut_ = false;
    bool allLatin_ = true;
    std::unique_ptr<ZODImageControl> cursor_;
    std::unique_ptr<ZODCompTipControl> tip_;
};

}  // namespace tandel
