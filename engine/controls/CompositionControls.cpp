#include "CompositionControls.h"

#include <algorithm>

#include "Dpi.h"
#include "SchemeInfo.h"
#include "SkinParser.h"
#include "TextFormat.h"

namespace tandel {
namespace {

constexpr char16_t kStrokes[ZODCompTipControl::kCells] = {u'一', u'丨', u'丿', u'丶', u'乛'};
constexpr char16_t kStrokeKeys[ZODCompTipControl::kCells] = {u'h', u's', u'p', u'n', u'z'};

bool compositionTipMode(const LayoutContext* context) {
    return context != nullptr && context->scheme != nullptr &&
           (context->scheme->GetModeFlags() & (kModeCompTip | kModeUTip)) != 0;
}

}  // namespace

// ---- The stroke cells -------------------------------------------------------------------------

int ZODCompTipControl::Create(std::span<const std::uint8_t>, ParseContext* context) {
    if (!createRender(context)) {
        return 0;
    }
    makeTextFont(context, kCompTipFont, nullptr);
    render_->SetFontIndex(kCandFont);
    render_->SetColorIndex(kCandColour);
    return 1;
}

int ZODCompTipControl::Layout(ContextHead* head) {
    LayoutContext* context = layoutContext(head);
    if (context == nullptr) {
        return 0;
    }
    const int h = std::max(context->height, 0);
    rect_ = {0, 0, kCells * h, h};
    for (int i = 0; i < kCells; ++i) {
        cells_[std::size_t(i)] = {i * h, 0, (i + 1) * h, h};
        context->tipCells[2 * i] = i * h;
        context->tipCells[2 * i + 1] = 0;
    }
    return 1;
}

int ZODCompTipControl::Draw(Canvas* canvas, const Rect* clip) {
    if (!render_ || canvas == nullptr || !mayDraw(clip)) {
        return 0;
    }
    render_->SetColorIndex(kCandColour);
    render_->DrawFrame(canvas, &rect_);
    for (int i = 0; i < kCells; ++i) {
        const Rect& cell = cells_[std::size_t(i)];
        if (i < kCells - 1) {
            const Rect line{cell.right - 1, cell.top, cell.right, cell.bottom};
            render_->FillColor(canvas, &line);
        }
        render_->SetColorIndex(i == hovered_ ? kFocusColour : kCandColour);
        render_->SetFontIndex(kCandFont);
        render_->DrawText(canvas, &cell, &kStrokes[i], 1,
                          kDtSingleLine | kDtVCenter | kDtCenter | kDtNoPrefix);
        const Rect quarter{cell.left + cell.width() / 2, cell.top + cell.height() / 2, cell.right,
                           cell.bottom};
        render_->SetFontIndex(kCompTipFont);
        render_->DrawText(canvas, &quarter, &kStrokeKeys[i], 1,
                          kDtSingleLine | kDtBottom | kDtCenter | kDtNoPrefix);
        render_->SetColorIndex(kCandColour);
    }
    render_->SetFontIndex(kCandFont);
    return 1;
}

int ZODCompTipControl::cellAt(int x, int y) const {
    for (int i = 0; i < kCells; ++i) {
        if (cells_[std::size_t(i)].contains(x, y)) {
            return i;
        }
    }
    return -1;
}

int ZODCompTipControl::OnMouse(int message, int x, int y, int, MouseResult* result) {
    const bool inside = rect_.contains(x, y);
    const int cell = inside ? cellAt(x, y) : -1;
    if (cell != hovered_ && result != nullptr) {
        if (hovered_ >= 0) {
            MergeRedraw(*result, 1, &cells_[std::size_t(hovered_)]);
        }
        // The cell entered changes colour too.
        if (cell >= 0) {
            MergeRedraw(*result, 1, &cells_[std::size_t(cell)]);
        }
    }
    hovered_ = cell;
    if (!inside) {
        return 0;
    }
    if (result != nullptr) {
        result->hit = 2;
        if (message == kButtonUp && cell >= 0) {
            result->command = 5 + cell;
        }
    }
    return 1;
}

void ZODCompTipControl::Offset(int dx, int dy) {
    rect_ = rect_.offset(dx, dy);
    for (Rect& cell : cells_) {
        cell = cell.offset(dx, dy);
    }
}

// ---- The composition string -------------------------------------------------------------------

int ZODTextCompControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    if (!createRender(context)) {
        return 0;
    }
    TextElement element;
    if (!readRecord(record, element)) {
        return 0;
    }
    const CDPI& dpi = CDPI::Instance();
    marginTop_ = dpi.Scaled(element.marginTop);
    marginBottom_ = dpi.Scaled(element.marginBottom);
    marginLeft_ = dpi.Scaled(element.marginLeft);
    marginRight_ = dpi.Scaled(element.marginRight);
    makeTextFont(context, kCompCnFont, &element);
    makeTextFont(context, kCompEnFont, &element);
    if (context != nullptr && context->cache != nullptr) {
        context->cache->setColour(kCompColour, element.colour);
    }
    render_->SetFontIndex(kCompCnFont);
    render_->SetColorIndex(kCompColour);
    cursor_ = std::make_unique<ZODImageControl>(kImageType, kCursorId);
    cursor_->CreateCursor(context);
    tip_ = std::make_unique<ZODCompTipControl>(kCompTipType, kCompTipId);
    tip_->Create(record, context);
    return 1;
}

ZODTextCompControl::Composition ZODTextCompControl::composition() const {
    ISchemeInfo* scheme = context_ != nullptr ? context_->scheme : nullptr;
    if (scheme == nullptr) {
        return {};
    }
    const char16_t* text = scheme->GetCompString(1);
    const int length = scheme->GetCompLength(1);
    if (text == nullptr || length <= 0) {
        return {};
    }
    return {text, boundedLength(text, std::min(length, kMaxCompositionLength))};
}

bool ZODTextCompControl::tipShown() const {
    return tip_ != nullptr && compositionTipMode(context_);
}

Size ZODTextCompControl::place(int i, const char16_t* text, int font, int gap5) {
    charFonts_[std::size_t(i)] = std::uint8_t(font);
    render_->SetFontIndex(font);
    Size size;
    render_->MeasureText(context_->canvas, &text[i], 1, &size);
    const int x = content_.right;
    charRects_[std::size_t(i)] = {x, marginTop_, x + size.cx + gap5, marginTop_ + size.cy};
    content_.right = x + size.cx;
    measured_ = i + 1;
    return size;
}

int ZODTextCompControl::Layout(ContextHead* head) {
    context_ = layoutContext(head);
    rect_ = content_ = {};
    laidOut_ = false;
    measured_ = 0;
    allLatin_ = true;
    if (cursor_) {
        cursor_->SetRect({});
    }
    if (context_ == nullptr) {
        if (cursor_) {
            cursor_->Layout(nullptr);
        }
        if (tip_) {
            tip_->Layout(nullptr);
        }
        return 0;
    }
    if (!render_ || context_->scheme == nullptr) {
        return 0;
    }
    ISchemeInfo& scheme = *context_->scheme;
    const TextGaps gaps = TextGaps::current();
    content_ = {marginLeft_, marginTop_, marginLeft_, marginTop_};
    const Composition comp = composition();
    const int caret = std::clamp(scheme.GetCaretPos(1), 0, comp.length);
    CompConvertedInfo converted{};
    scheme.GetCompConverted(&converted, 1);
    context_->convertedEndX = marginLeft_;

    int lastHeight = 0;
    for (int i = 0; i < caret; ++i) {
        const bool cn = i < converted.bytes[5] || comp.text[i] >= 0x80;
        const Size size = place(i, comp.text, cn ? kCompCnFont : kCompEnFont, gaps.g5);
        if (cn) {
            allLatin_ = false;
            context_->convertedEndX += size.cx;
        }
        lastHeight = size.cy;
    }
    const int cursorX = content_.right;
    for (int i = caret; i < comp.length; ++i) {
        const bool cn = comp.text[i] >= 0x80;
        allLatin_ = allLatin_ && !cn;
        lastHeight = place(i, comp.text, cn ? kCompCnFont : kCompEnFont, gaps.g5).cy;
    }
    content_.bottom += lastHeight;
    content_.right += 2 * gaps.d;
    if (cursor_) {
        cursor_->SetRect({cursorX, marginTop_, cursorX + gaps.d, content_.bottom});
    }
    rect_ = content_;
    laidOut_ = true;

    if (tipShown()) {
        const int h = content_.height();
        context_->height = h;
        tip_->Layout(context_);
        rect_.right += 10 * h;
        const int dx = content_.right + 5 * h, dy = marginTop_;
        tip_->Offset(dx, dy);
        for (int i = 0; i < ZODCompTipControl::kCells; ++i) {
            context_->tipCells[2 * i] += dx;
            context_->tipCells[2 * i + 1] += dy;
        }
    }
    return 1;
}

int ZODTextCompControl::Draw(Canvas* canvas, const Rect* clip) {
    if (!render_ || canvas == nullptr || context_ == nullptr || context_->scheme == nullptr ||
        !mayDraw(clip)) {
        return 0;
    }
    // Never more than the last layout measured.
    const Composition comp = composition();
    const int length = std::min(comp.length, measured_);
    if (length > 0) {
        if (allLatin_) {
            render_->SetFontIndex(kCompEnFont);
            render_->DrawText(canvas, &content_, comp.text, length, kDtNoPrefix);
        } else {
            for (int i = 0; i < length; ++i) {
                render_->SetFontIndex(charFonts_[std::size_t(i)]);
                render_->DrawText(canvas, &charRects_[std::size_t(i)], &comp.text[i], 1,
                                  kDtNoPrefix);
            }
        }
        render_->SetFontIndex(kCompCnFont);
    }
    if (cursor_) {
        cursor_->Draw(canvas, clip);
    }
    if (tipShown()) {
        tip_->Draw(canvas, clip);
    }
    return 1;
}

int ZODTextCompControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (content_.contains(x, y)) {
        if (result != nullptr) {
            result->command = 10;
            if (result->redraw != 2) {
                result->redraw = 0;
                result->rectangle = content_;
            }
        }
        return 1;
    }
    return tipShown() ? tip_->OnMouse(message, x, y, keys, result) : 0;
}

Rect ZODTextCompControl::GetRect(int) const {
    if (!laidOut_) {
        return rect_;
    }
    return rect_.grown(marginLeft_, marginTop_, marginRight_, marginBottom_);
}

void ZODTextCompControl::forEachChild(const std::function<void(const IControl&)>& visit) const {
    if (cursor_) {
        visit(*cursor_);
    }
    if (tip_) {
        visit(*tip_);
    }
}

void ZODTextCompControl::Offset(int dx, int dy) {
    rect_ = rect_.offset(dx, dy);
    content_ = content_.offset(dx, dy);
    for (int i = 0; i < measured_; ++i) {
        charRects_[std::size_t(i)] = charRects_[std::size_t(i)].offset(dx, dy);
    }
    if (cursor_) {
        cursor_->Offset(dx, dy);
    }
    if (tip_) {
        tip_->Offset(dx, dy);
    }
}

}  // namespace tandel
