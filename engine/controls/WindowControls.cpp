#include "WindowControls.h"

#include <algorithm>

#include "Dpi.h"
#include "SchemeInfo.h"
#include "SkinParser.h"

namespace tandel {
namespace {

bool isSystem(const ParseContext* context) {
    return context != nullptr && context->customSkin == 0;
}

StretchSpec asStretch(const EdgeSpec& e) {
    return {e.mode, e.top, e.bottom, e.left, e.right};
}
EdgeSpec asEdge(const StretchSpec& s) {
    return {s.mode, s.top, s.bottom, s.left, s.right};
}

// The window colours: the cursor, the focused candidate and the comment colour; a built-in
// skin also sets the theme colour.
void setWindowColours(ParseContext* context, const std::uint32_t* cursor,
                      const std::uint32_t* focus, const std::uint32_t* aux) {
    if (context == nullptr || context->cache == nullptr) {
        return;
    }
    ResourceCache& cache = *context->cache;
    if (cursor != nullptr) {
        cache.setColour(1, *cursor);
    }
    if (focus != nullptr) {
        cache.setColour(3, *focus);
    }
    if (aux != nullptr) {
        cache.setColour(4, *aux);
    }
    if (isSystem(context)) {
        cache.setColour(7, 0);
    }
}

// The pane counts of a split header, each at least 0 (the directory holds no more than fit).
int compCount(const SplitHeader& header) {
    return std::clamp(header.compElementCount, 0, 0xFFFF);
}
int candCount(const SplitHeader& header) {
    return std::clamp(header.candElementCount, 0, 0xFFFF);
}

// Whether a child answered "released while not disabled or hidden".
bool releasedActive(const IControl& child, int message) {
    return message == kButtonUp && child.GetState() != kStateDisabled &&
           child.GetState() != kStateHidden;
}

void noChildTakes(int message, MouseResult& result) {
    result.command = 1;
    result.hit = message == kButtonDown ? 3 : 1;
}

int pageButtonState(const LayoutContext& context, bool next, int current) {
    if (context.scheme == nullptr) {
        return current;
    }
    return next ? context.scheme->GetNextPageState() : context.scheme->GetPrevPageState();
}

}  // namespace

// ---- What every window kind shares -------------------------------------------------------------

template <std::size_t Slots>
IControl* WindowBase<Slots>::child(int id) const {
    const int index = id - firstId_;
    return index >= 0 && index < slotCount_ ? children_[std::size_t(index)].get() : nullptr;
}

template <std::size_t Slots>
std::unique_ptr<IControl>* WindowBase<Slots>::slotOf(int id) {
    const int index = id - firstId_;
    return index >= 0 && index < slotCount_ ? &children_[std::size_t(index)] : nullptr;
}

template <std::size_t Slots>
void WindowBase<Slots>::readBackground(const StretchSpec& stretch, const EdgeSpec& margins,
                                       int picture, ParseContext* context) {
    const bool system = isSystem(context);
    stretch_ = stretch;
    CDPI::Instance().ScaleStretchSpec(stretch_, system);
    StretchSpec scaledMargins = asStretch(margins);
    CDPI::Instance().ScaleStretchSpec(scaledMargins, system);
    outerMargins_ = asEdge(scaledMargins);
    if (picture >= 0 && context != nullptr) {
        loadPicture(*context, picture);
    }
}

template <std::size_t Slots>
void WindowBase<Slots>::loadBackground(int picture, const StretchSpec& unscaled) {
    if (render_ && picture >= 0) {
        render_->LoadImage(picture, nullptr, &unscaled);
    }
}

template <std::size_t Slots>
int WindowBase<Slots>::minimumWidth() const {
    if (!render_) {
        return 0;
    }
    const int width = render_->GetImageRect().width();
    const CDPI& dpi = CDPI::Instance();
    return dpi.enabled ? int(width * dpi.scale) : width;
}

template <std::size_t Slots>
void WindowBase<Slots>::Offset(int dx, int dy) {
    ZODBaseControl::Offset(dx, dy);
    for (auto& c : children_) {
        if (c) {
            c->Offset(dx, dy);
        }
    }
}

template <std::size_t Slots>
void WindowBase<Slots>::absorbOverflow(ContextHead& context) {
    overflow_ = {context.overflowLeft, context.overflowTop, context.overflowRight,
                 context.overflowBottom};
    if (overflow_.left > 0 || overflow_.top > 0) {
        context.width += overflow_.left;
        context.height += overflow_.top;
        Offset(overflow_.left, overflow_.top);
    }
    if (overflow_.right > 0 || overflow_.bottom > 0) {
        context.width += overflow_.right;
        context.height += overflow_.bottom;
    }
}

template <std::size_t Slots>
int WindowBase<Slots>::drawBackground(Canvas* canvas, const Rect* clip, bool testClip) {
    if (!render_ || canvas == nullptr || (testClip && !mayDraw(clip))) {
        return 0;
    }
    return render_->DrawStretched(canvas, &rect_, &stretch_);
}

template <std::size_t Slots>
int WindowBase<Slots>::drawWithChildren(Canvas* canvas, const Rect* clip, bool testClip,
                                        std::initializer_list<int> order) {
    if (canvas == nullptr) {
        return 0;
    }
    drawBackground(canvas, clip, testClip);
    for (int id : order) {
        if (IControl* c = child(id)) {
            c->Draw(canvas, clip);
        }
    }
    return 1;
}

template <std::size_t Slots>
bool WindowBase<Slots>::missed(int x, int y, MouseResult* result) {
    if (hitArea().contains(x, y)) {
        return false;
    }
    leaveHovered(result);
    result->hit = 1;
    return true;
}

template <std::size_t Slots>
Rect WindowBase<Slots>::hitArea() const {
    return {rect_.left - overflow_.left, rect_.top - overflow_.top, rect_.right + overflow_.right,
            rect_.bottom + overflow_.bottom};
}

template <std::size_t Slots>
void WindowBase<Slots>::leaveHovered(MouseResult* result) {
    IControl* old = child(hovered_);
    if (old != nullptr && old->GetState() != kStateDisabled && old->GetState() != kStateHidden &&
        !keepsState(hovered_, old->GetState())) {
        old->SetState(kStateNormal);
        if (result != nullptr) {
            const Rect r = old->GetRect(0);
            MergeRedraw(*result, 1, &r);
        }
    }
    hovered_ = -1;
}

template <std::size_t Slots>
int WindowBase<Slots>::mouseChildren(std::initializer_list<int> order, int message, int x, int y,
                                     int keys, MouseResult* result) {
    for (int id : order) {
        IControl* c = child(id);
        if (c != nullptr && c->OnMouse(message, x, y, keys, result)) {
            return id;
        }
    }
    return -1;
}

template <std::size_t Slots>
Rect WindowBase<Slots>::GetOuterMargins() const {
    return {outerMargins_.left, outerMargins_.top, outerMargins_.right, outerMargins_.bottom};
}

template <std::size_t Slots>
int WindowBase<Slots>::OnTimer(MouseResult* result) {
    int changed = ZODBaseControl::OnTimer(result);
    for (auto& c : children_) {
        if (c && c->OnTimer(result)) {
            changed = 1;
        }
    }
    return changed;
}

template <std::size_t Slots>
void WindowBase<Slots>::ResetAnimation() {
    ZODBaseControl::ResetAnimation();
    for (auto& c : children_) {
        if (c) {
            c->ResetAnimation();
        }
    }
}

template class WindowBase<11>;
template class WindowBase<8>;
template class WindowBase<17>;

// ---- The combined window ----------------------------------------------------------------------

int ZODCandNormalControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    const bool rendered = createRender(context);
    WindowHeader header;
    if (!readRecord(record, header)) {
        return 0;
    }
    caretOffset_[0] = header.offsetX;
    caretOffset_[1] = header.offsetY;
    CDPI::Instance().ScalePoint(caretOffset_, isSystem(context));
    readBackground(header.stretch, header.outerMargins, header.backgroundPicture, context);
    setWindowColours(context, &header.cursorColour, &header.focusColour, &header.auxColour);
    ElementDirectory directory(record, sizeof header, header.elementCount);
    createChildren(directory, 0, directory.count(), context, [this](int id) { return slotOf(id); });
    loadBackground(header.backgroundPicture, header.stretch);
    return rendered ? 1 : 0;
}

int ZODCandNormalControl::Layout(ContextHead* head) {
    LayoutContext* context = layoutContext(head);
    if (context == nullptr) {
        for (auto& c : children_) {
            if (c) {
                c->Layout(nullptr);
            }
        }
        return 0;
    }
    int compHeight = 0;
    int compWidth = 0;
    if (IControl* comp = child(3)) {
        comp->Layout(context);
        const Rect r = comp->GetRect(0);
        compWidth = r.width();
        compHeight = r.height();
        context->width = compWidth;
        context->height = compHeight;
    }
    if (IControl* list = child(4)) {
        list->Layout(context);
        const Rect r = list->GetRect(0);
        context->width = int(std::max(unsigned(compWidth), unsigned(r.width())));
        context->height = r.bottom;
    }
    rect_ = {0, 0, context->width, context->height};
    const int minimum = minimumWidth();
    if (rect_.width() < minimum) {
        rect_.right = rect_.left + minimum;
        context->width = minimum;
    }
    context->caretOffsetX = caretOffset_[0];
    context->caretOffsetY = caretOffset_[1];
    if (IControl* line = child(2)) {
        const int height = context->height;
        context->height = compHeight;
        line->Layout(context);
        context->height = height;
    }
    context->overflowLeft = context->overflowTop = 0;
    context->overflowRight = context->overflowBottom = 0;
    if (IControl* next = child(0)) {
        next->SetState(pageButtonState(*context, true, next->GetState()));
        next->Layout(context);
        context->nextPageLeft = next->GetRect(0).left;
        context->nextPageTop = next->GetRect(0).top;
    }
    if (IControl* prev = child(1)) {
        prev->SetState(pageButtonState(*context, false, prev->GetState()));
        prev->Layout(context);
        context->prevPageLeft = prev->GetRect(0).left;
        context->prevPageTop = prev->GetRect(0).top;
    }
    for (int id = 5; id <= 10; ++id) {
        if (IControl* picture = child(id)) {
            picture->Layout(context);
        }
    }
    absorbOverflow(*context);
    return 1;
}

int ZODCandNormalControl::Draw(Canvas* canvas, const Rect* clip) {
    // Custom pictures lie under the buttons and the text.
    return drawWithChildren(canvas, clip, false, {2, 6, 7, 8, 9, 10, 5, 0, 1, 3, 4});
}

int ZODCandNormalControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (result == nullptr) {
        return 0;
    }
    if (missed(x, y, result)) {
        return 0;
    }
    const int hit = mouseChildren({0, 1, 4, 3, 5}, message, x, y, keys, result);
    if (hit == 0 || hit == 1) {
        if (releasedActive(*child(hit), message)) {
            result->command = hit == 0 ? 3 : 2;
            result->redraw = 2;
        }
    } else if (hit == 5) {
        const int state = child(5)->GetState();
        if (state != kStateDisabled && state != kStateHidden) {
            result->command = 20;
            result->hit = 2;
        }
    } else if (hit < 0) {
        noChildTakes(message, *result);
    }
    if (hit == 0 || hit == 1 || hit == 5) {
        if (hovered_ != hit) {
            leaveHovered(result);
            hovered_ = hit;
        }
    } else {
        leaveHovered(result);
    }
    return 1;
}

// ---- Panes of the split window ----------------------------------------------------------------

Rect PaneBase::GetCaretOffset() const {
    return {outerMargins_.left + overflow_.left, outerMargins_.top + overflow_.top,
            outerMargins_.right + overflow_.right, outerMargins_.bottom + overflow_.bottom};
}

void PaneBase::Offset(int dx, int dy) {
    WindowBase::Offset(dx, dy);
    total_ = total_.offset(dx, dy);
}

int ZODCandPartCompControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    const bool rendered = createRender(context);
    SplitHeader header;
    if (!readRecord(record, header)) {
        return 0;
    }
    readBackground(header.compStretch, header.compOuterMargins, header.compBackgroundPicture,
                   context);
    setWindowColours(context, &header.cursorColour, nullptr, nullptr);
    ElementDirectory directory(record, sizeof header, compCount(header) + candCount(header));
    createChildren(directory, 0, compCount(header), context, [this](int id) { return slotOf(id); });
    loadBackground(header.compBackgroundPicture, header.compStretch);
    return rendered ? 1 : 0;
}

int ZODCandPartCompControl::Layout(ContextHead* head) {
    LayoutContext* context = layoutContext(head);
    if (context == nullptr) {
        for (auto& c : children_) {
            if (c) {
                c->Layout(nullptr);
            }
        }
        return 0;
    }
    IControl* comp = child(12);
    Rect compRect;
    if (comp != nullptr) {
        comp->Layout(context);
        compRect = comp->GetRect(0);
    }
    context->width = compRect.width();
    context->height = compRect.height();
    rect_ = {0, 0, context->width, context->height};
    const int minimum = minimumWidth();
    if (rect_.width() < minimum) {
        rect_.right = rect_.left + minimum;
        context->width = minimum;
    }
    context->overflowLeft = context->overflowTop = 0;
    context->overflowRight = context->overflowBottom = 0;
    for (int id = 13; id <= 18; ++id) {
        if (IControl* c = child(id)) {
            c->Layout(context);
        }
    }
    total_ = {};
    absorbOverflow(*context);
    context->compTextRect = comp != nullptr ? comp->GetRect(0) : Rect{};
    total_ = {0, 0, context->width, context->height};
    return 1;
}

int ZODCandPartCompControl::Draw(Canvas* canvas, const Rect* clip) {
    return drawWithChildren(canvas, clip, true, {14, 15, 16, 17, 18, 13, 12});
}

int ZODCandPartCompControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (result == nullptr) {
        return 0;
    }
    if (missed(x, y, result)) {
        return 0;
    }
    const int hit = mouseChildren({12, 13}, message, x, y, keys, result);
    if (hit == 13) {
        const int state = child(13)->GetState();
        if (state != kStateDisabled && state != kStateHidden) {
            result->command = 20;
            result->hit = 2;
        }
    } else if (hit < 0) {
        noChildTakes(message, *result);
    }
    return 1;
}

int ZODCandPartCandControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    const bool rendered = createRender(context);
    SplitHeader header;
    if (!readRecord(record, header)) {
        return 0;
    }
    readBackground(header.candStretch, header.candOuterMargins, header.candBackgroundPicture,
                   context);
    setWindowColours(context, nullptr, &header.focusColour, &header.auxColour);
    ElementDirectory directory(record, sizeof header, compCount(header) + candCount(header));
    createChildren(directory, compCount(header), candCount(header), context,
                   [this](int id) { return slotOf(id); });
    loadBackground(header.candBackgroundPicture, header.candStretch);
    return rendered ? 1 : 0;
}

int ZODCandPartCandControl::Layout(ContextHead* head) {
    LayoutContext* context = layoutContext(head);
    if (context == nullptr) {
        for (auto& c : children_) {
            if (c) {
                c->Layout(nullptr);
            }
        }
        return 0;
    }
    const int w0 = context->width, h0 = context->height;
    Rect listRect;
    if (IControl* list = child(19)) {
        list->Layout(context);
        listRect = list->GetRect(0);
    }
    rect_ = {0, h0, listRect.width(), h0 + listRect.height()};
    const int minimum = minimumWidth();
    if (rect_.width() < minimum) {
        rect_.right = rect_.left + minimum;
    }
    context->width = rect_.width();
    context->height = rect_.height();
    context->overflowLeft = context->overflowTop = 0;
    context->overflowRight = context->overflowBottom = 0;
    if (IControl* next = child(20)) {
        next->SetState(pageButtonState(*context, true, next->GetState()));
        next->Layout(context);
        next->Offset(0, h0);
        context->nextPageLeft = next->GetRect(0).left;
        context->nextPageTop = next->GetRect(0).top;
    }
    if (IControl* prev = child(21)) {
        prev->SetState(pageButtonState(*context, false, prev->GetState()));
        prev->Layout(context);
        prev->Offset(0, h0);
        context->prevPageLeft = prev->GetRect(0).left;
        context->prevPageTop = prev->GetRect(0).top;
    }
    for (int id = 22; id <= 26; ++id) {
        if (IControl* c = child(id)) {
            c->Layout(context);
            c->Offset(0, h0);
        }
    }
    total_ = {};
    absorbOverflow(*context);
    if (IControl* list = child(19)) {
        context->candListRect = list->GetRect(0);
    }
    total_ = {0, h0, context->width, h0 + context->height};
    context->height += h0;
    context->width = std::max(context->width, w0);
    return 1;
}

int ZODCandPartCandControl::Draw(Canvas* canvas, const Rect* clip) {
    return drawWithChildren(canvas, clip, true, {22, 23, 24, 25, 26, 20, 21, 19});
}

int ZODCandPartCandControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (result == nullptr) {
        return 0;
    }
    if (missed(x, y, result)) {
        return 0;
    }
    const int hit = mouseChildren({20, 21, 19}, message, x, y, keys, result);
    if ((hit == 20 || hit == 21) && releasedActive(*child(hit), message)) {
        result->command = hit == 20 ? 3 : 2;
        result->redraw = 2;
    } else if (hit < 0) {
        noChildTakes(message, *result);
    }
    if (hit == 20 || hit == 21) {
        if (hovered_ != hit) {
            leaveHovered(result);
            hovered_ = hit;
        }
    } else {
        leaveHovered(result);
    }
    return 1;
}

// ---- The split window -------------------------------------------------------------------------

int ZODCandPartControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    const bool rendered = createRender(context);
    SplitHeader header;
    if (!readRecord(record, header)) {
        return 0;
    }
    caretOffset_[0] = header.offsetX;
    caretOffset_[1] = header.offsetY;
    CDPI::Instance().ScalePoint(caretOffset_, isSystem(context));
    compPane_ = CreateControl(2, 12);
    candPane_ = CreateControl(3, 19);
    compPane_->Create(record, context);
    candPane_->Create(record, context);
    return rendered ? 1 : 0;
}

int ZODCandPartControl::Layout(ContextHead* head) {
    LayoutContext* context = layoutContext(head);
    if (!compPane_ || !candPane_) {
        return 0;  // a record too short to make the panes
    }
    if (context == nullptr) {
        compPane_->Layout(nullptr);
        candPane_->Layout(nullptr);
        return 0;
    }
    candVisible_ = context->scheme != nullptr && context->scheme->IsCandPartVisible() != 0;
    context->caretOffsetX = caretOffset_[0];
    context->caretOffsetY = caretOffset_[1];
    compPane_->Layout(context);
    if (candVisible_) {
        candPane_->Layout(context);
        placement_ = context->options[2] != 0 ? context->options[1] : 1;
        const CDPI& dpi = CDPI::Instance();
        const int gap = dpi.enabled ? int(3.0 * dpi.scale) : 3;
        Point move;
        switch (placement_) {
            case 0: {
                move = {context->convertedEndX + context->compTextRect.left - context->candTextX -
                            context->candListRect.left,
                        gap};
                candPane_->Offset(move.x, move.y);
                const int left = candPane_->GetRect(0).left;
                if (left < 0) {
                    context->caretOffsetX += left;
                    compPane_->Offset(-left, 0);
                    candPane_->Offset(-left, 0);
                    context->width =
                        std::max(compPane_->GetRect(0).right, candPane_->GetRect(0).right);
                } else {
                    context->width = std::max(context->width, candPane_->GetRect(0).right);
                }
                context->height += gap;
                break;
            }
            case 1:
                move = {0, gap};
                candPane_->Offset(move.x, move.y);
                context->height += gap;
                break;
            case 2: {
                const Rect comp = compPane_->GetRect(0);
                move = {gap + comp.width(), -comp.height()};
                candPane_->Offset(move.x, move.y);
                const Rect cand = candPane_->GetRect(0);
                context->width = cand.right - comp.left;
                context->height = std::max(cand.bottom, comp.bottom);
                break;
            }
            default: break;
        }
        context->nextPageLeft += move.x;
        context->nextPageTop += move.y;
        context->prevPageLeft += move.x;
        context->prevPageTop += move.y;
    }
    rect_ = {0, 0, context->width, context->height};
    return 1;
}

Rect ZODCandPartControl::GetRect(int part) const {
    if (part == 1) {
        return candPane_ ? candPane_->GetRect(1) : Rect{};
    }
    if (part == 2) {
        return compPane_ ? compPane_->GetRect(1) : Rect{};
    }
    return rect_;
}

Rect ZODCandPartControl::GetOuterMargins() const {
    const Rect m1 = compPane_ ? compPane_->GetOuterMargins() : Rect{};
    if (!candVisible_ || !candPane_) {
        return m1;
    }
    const Rect m2 = candPane_->GetOuterMargins();
    switch (placement_) {
        case 0:
        case 1: return {m2.left, m1.top, m2.right, m2.bottom};
        case 2: return {m1.left, m1.top, m2.right, m2.bottom};
        default: return {};
    }
}

int ZODCandPartControl::Draw(Canvas* canvas, const Rect* clip) {
    if (canvas == nullptr || !compPane_) {
        return 0;
    }
    compPane_->Draw(canvas, clip);
    if (candVisible_ && candPane_) {
        candPane_->Draw(canvas, clip);
    }
    return 1;
}

int ZODCandPartControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (!compPane_) {
        return 0;
    }
    int taken = compPane_->OnMouse(message, x, y, keys, result);
    if (!taken && candVisible_ && candPane_) {
        taken = candPane_->OnMouse(message, x, y, keys, result);
    }
    return taken;
}

int ZODCandPartControl::OnTimer(MouseResult* result) {
    int changed = compPane_ ? compPane_->OnTimer(result) : 0;
    if (candVisible_ && candPane_ && candPane_->OnTimer(result)) {
        changed = 1;
    }
    return changed;
}

void ZODCandPartControl::ResetAnimation() {
    if (compPane_) {
        compPane_->ResetAnimation();
    }
    if (candPane_) {
        candPane_->ResetAnimation();
    }
}

// ---- The candidate-only window ----------------------------------------------------------------

int ZODCandSingleControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    const bool rendered = createRender(context);
    SplitHeader header;
    if (!readRecord(record, header)) {
        return 0;
    }
    ElementDirectory directory(record, sizeof header, compCount(header) + candCount(header));
    for (int i = 0; i < std::min(compCount(header), directory.count()); ++i) {
        const DirEntry entry = directory.entry(i);
        TextElement text;
        if (entry.type == kCompTextType && readRecord(directory.record(entry), text)) {
            if (context != nullptr && context->cache != nullptr) {
                context->cache->setColour(0, text.colour == 0xFFFFFFFF ? 0xFFC76B1A : text.colour);
            }
            break;
        }
    }
    pane_ = CreateControl(3, 19);
    pane_->Create(record, context);
    return rendered ? 1 : 0;
}

int ZODCandSingleControl::Layout(ContextHead* head) {
    LayoutContext* context = layoutContext(head);
    if (!pane_) {
        return 0;  // a record too short to make the pane
    }
    if (context == nullptr) {
        pane_->Layout(nullptr);
        return 0;
    }
    const ISchemeInfo* scheme = context->scheme;
    visible_ = scheme != nullptr && ((scheme->GetModeFlags() & (kModeVTip | kModeUTip)) != 0 ||
                                     scheme->IsCandPartVisible() != 0);
    context->caretOffsetX = 0;
    context->caretOffsetY = 0;
    if (visible_) {
        pane_->Layout(context);
        // The inner edge of the visible window sits on the caret.
        const Rect offset = pane_->GetCaretOffset();
        context->caretOffsetX = -offset.left;
        context->caretOffsetY = -offset.top;
    }
    rect_ = {0, 0, context->width, context->height};
    return 1;
}

int ZODCandSingleControl::Draw(Canvas* canvas, const Rect* clip) {
    return visible_ && pane_ ? pane_->Draw(canvas, clip) : 0;
}

int ZODCandSingleControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    return visible_ && pane_ ? pane_->OnMouse(message, x, y, keys, result) : 0;
}

Rect ZODCandSingleControl::GetCaretOffset() const {
    const Rect r = pane_ ? pane_->GetCaretOffset() : Rect{};
    return {-r.left, -r.top, -r.right, -r.bottom};
}

Rect ZODCandSingleControl::GetOuterMargins() const {
    return pane_ ? pane_->GetOuterMargins() : Rect{};
}

void ZODCandSingleControl::Offset(int dx, int dy) {
    ZODBaseControl::Offset(dx, dy);
    if (pane_) {
        pane_->Offset(dx, dy);
    }
}

int ZODCandSingleControl::OnTimer(MouseResult* result) {
    return visible_ && pane_ ? pane_->OnTimer(result) : 0;
}

void ZODCandSingleControl::ResetAnimation() {
    if (pane_) {
        pane_->ResetAnimation();
    }
}

// ---- The split line ---------------------------------------------------------------------------

int ZODSplitLineControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    const bool rendered = createRender(context);
    SplitLineElement element;
    if (!readRecord(record, element)) {
        return 0;
    }
    const StretchSpec unscaled{element.alignment, element.head[0], element.head[1], element.head[2],
                               element.head[3]};
    pictureSpec_ = unscaled;
    StretchSpec line{element.marginMode, element.marginTop, element.marginBottom,
                     element.leftReserve, element.rightReserve};
    const bool system = isSystem(context);
    CDPI::Instance().ScaleStretchSpec(pictureSpec_, system);
    CDPI::Instance().ScaleStretchSpec(line, system);
    lineSpec_ = asEdge(line);
    if (element.picture == kNoPicture) {
        colourLine_ = true;
        if (context != nullptr && context->cache != nullptr) {
            context->cache->setColour(5, element.colour);
        }
        if (render_) {
            render_->SetColorIndex(5);
        }
    } else if (element.picture >= 0 && context != nullptr) {
        loadPicture(*context, element.picture);
        if (render_) {
            render_->LoadImage(element.picture, nullptr, &unscaled);
        }
    }
    return rendered ? 1 : 0;
}

int ZODSplitLineControl::Layout(ContextHead* context) {
    if (context == nullptr) {
        return 0;
    }
    const int s = lineSpec_.top + lineSpec_.bottom;
    const int top = context->height - (s >> 2);
    rect_ = {lineSpec_.left, top, context->width - lineSpec_.right, top + s / 2};
    return 1;
}

int ZODSplitLineControl::Draw(Canvas* canvas, const Rect* clip) {
    if (!render_ || canvas == nullptr || !mayDraw(clip)) {
        return 0;
    }
    if (colourLine_) {
        return render_->FillColor(canvas, &rect_);
    }
    return render_->DrawStretched(canvas, &rect_, &pictureSpec_);
}

}  // namespace tandel
