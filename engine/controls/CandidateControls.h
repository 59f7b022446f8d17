// The candidate list and what it holds: nine numbered candidates (the first also shows the
// scenario's comment, the second doubles as the cloud candidate) and the tip that takes their
// place in the "v" and "u" input modes. Each item measures itself from its own origin; the
// list moves the items into rows or columns with Offset.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "Control.h"
#include "SchemeInfo.h"
#include "TextControls.h"

namespace tandel {

// One candidate: label, text and an optional picture behind it.
class ZODTextControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    // Candidate positions (ids 59..67) only; 1 when the scenario could be asked.
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    void Offset(int dx, int dy) override;

    virtual int SetFont(int index);
    virtual int SetColor(int index);
    virtual int GetLabelWidth() const { return labelWidth_; }
    virtual void MeasureLabel();
    virtual void MeasureText();
    // flag: non-zero to make room for the cloud-link icon.
    virtual void MeasureIcon(int flag);
    virtual void DrawLabel(Canvas* canvas);
    virtual void DrawText(Canvas* canvas);
    virtual void DrawIcon(Canvas* canvas);

    Rect labelRect() const { return labelRect_; }
    Rect textRect() const { return textRect_; }
    Rect iconRect() const { return iconRect_; }
    bool brackets() const { return brackets_; }
    Size linkIconSize() const { return linkIconSize_; }

protected:
    // 0..8 for the candidate ids, else -1.
    int position() const;
    ISchemeInfo* scheme() const { return context_ != nullptr ? context_->scheme : nullptr; }
    // The scenario's candidate at this position; null without one.
    const CandidateRecord* candidate() const;
    // "1." to "9." or "a." to "i."; the first position hides it when the scenario says so.
    bool labelShown() const;
    std::array<char16_t, 2> label() const;
    // Measures length characters of text in font; 0 x 0 when the font does not exist.
    Size measure(const char16_t* text, int length, int font) const;
    // Character by character, in font 4 from each "(" to its ")" with a g2 step on either
    // side; the width without a step at the end and the tallest character.
    Size measureBracketed(const char16_t* text, int length, int g2) const;
    void drawBracketed(Canvas* canvas, const Rect& area, const char16_t* text, int length,
                       int g2) const;
    // Lays the candidate's text out from x0; brackets: whether to measure it in parts.
    void measureCandidate(const CandidateRecord& record, int x0, bool brackets);
    void drawCandidate(Canvas* canvas, const CandidateRecord& record) const;
    // Puts the cloud-link icon behind the text when the candidate carries one.
    bool placeLinkIcon(const CandidateRecord& record);
    void placeIcon(IRender* render, Size size, int top, bool asIs);

    LayoutContext* context_ = nullptr;
    Rect labelRect_, textRect_, iconRect_;
    int labelWidth_ = 0;
    bool brackets_ = false;
    std::unique_ptr<IRender> linkIcon_;
    Size linkIconSize_;
    // What the icon rect shows: the link icon, a cloud state, or nothing; some pictures keep
    // their own colours whatever the item's colour.
    IRender* icon_ = nullptr;
    bool iconAsIs_ = false;
};

// The first candidate, with the scenario's comment between label and text.
class ZODFixTextControl : public ZODTextControl {
public:
    using ZODTextControl::ZODTextControl;

    int Layout(ContextHead* context) override;
    void Offset(int dx, int dy) override;
    void MeasureText() override;
    void DrawText(Canvas* canvas) override;

    Rect commentRect() const { return commentRect_; }

private:
    Rect commentRect_;
};

// The second candidate; a cloud candidate there shows the cloud state's picture.
class ZODCloudTextControl : public ZODTextControl {
public:
    static constexpr int kStates = 4;

    using ZODTextControl::ZODTextControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    void MeasureText() override;
    void MeasureIcon(int flag) override;
    void DrawText(Canvas* canvas) override;

    Size stateSize(int state) const { return stateSizes_[std::size_t(state)]; }

private:
    // A cloud candidate only has text in state 1.
    bool textless(const CandidateRecord& record) const;

    std::array<std::unique_ptr<IRender>, kStates> states_;
    std::array<Size, kStates> stateSizes_{};
};

// Shown instead of the candidates: the "u" mode's example line, or the "v" mode's four lines
// with the link to the function list.
class ZODCandTipControl : public ZODTextControl {
public:
    using ZODTextControl::ZODTextControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    void Offset(int dx, int dy) override;

    Rect linkRect() const { return linkRect_; }

private:
    std::uint8_t modeFlags() const;

    Rect linkRect_;
};

class ZODTextCandControl : public ZODBaseControl {
public:
    using ZODBaseControl::ZODBaseControl;

    int Create(std::span<const std::uint8_t> record, ParseContext* context) override;
    int Layout(ContextHead* context) override;
    // The list with its margins.
    Rect GetRect(int part) const override;
    int Draw(Canvas* canvas, const Rect* clip) override;
    int OnMouse(int message, int x, int y, int keys, MouseResult* result) override;
    void Offset(int dx, int dy) override;

    ZODTextControl* item(int position) const { return items_[std::size_t(position)].get(); }
    ZODCandTipControl* tip() const { return tip_.get(); }
    int minimumRowHeight() const { return minRowHeight_; }
    bool vertical() const { return vertical_; }
    void forEachChild(const std::function<void(const IControl&)>& visit) const override;

private:
    bool tipMode() const;
    // Candidates on the page that exist as items, at most the number last laid out.
    int shownCount() const;

    int marginTop_ = 0, marginBottom_ = 0, marginLeft_ = 0, marginRight_ = 0;
    bool vertical_ = false;
    LayoutContext* context_ = nullptr;
    std::array<std::unique_ptr<ZODTextControl>, kCandidateSlots> items_;
    std::unique_ptr<ZODCandTipControl> tip_;
    int minRowHeight_ = 0;
    // What the last layout did: whether it had a scenario, showed the tip, and how many items.
    bool laidOut_ = false;
    bool laidOutTip_ = false;
    int laidOutCount_ = 0;
};

}  // namespace tandel
