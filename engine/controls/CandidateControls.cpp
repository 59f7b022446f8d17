#include "CandidateControls.h"

#include <algorithm>
#include <string_view>

#include "Dpi.h"
#include "SkinParser.h"
#include "TextFormat.h"

namespace tandel {
namespace {

// A comment is the scenario's zero-terminated string; one longer than a candidate is cut.
constexpr int kMaxCommentLength = 128;
constexpr int kMaxCandidateLength = int(std::size(CandidateRecord{}.text));

constexpr int kFocusPictureSlot = 24;
constexpr int kFocusPictureSwitch = 5;  // the CloudPictures value that enables it
constexpr int kLinkIconPicture = 1;     // the CloudPictures value of the cloud-link icon

// Unscaled gaps between the items of a list.
constexpr int kColumnGap = 5;
constexpr int kRowGap = 8;

constexpr std::u16string_view kUTip = u"·笔画、拆字输入，如：u'hspn（木），u'mg（杆）";
constexpr std::u16string_view kVTip[] = {u"·数字（如：v123）", u"·日期（如：v2016/1/1）",
                                         u"·算式（如：v1+2）", u"·函数（如：vlog(2)）"};
constexpr std::u16string_view kVTipLink = u"查看函数列表";
static_assert(kUTip.size() == 28 && kVTipLink.size() == 6);
static_assert(kVTip[0].size() == 11 && kVTip[1].size() == 16 && kVTip[2].size() == 11 &&
              kVTip[3].size() == 14);

std::uint32_t flagsOf(const CandidateRecord& record) {
    return std::uint32_t(record.flags);
}

// The length the record gives, within its array and its text.
int lengthOf(const CandidateRecord& record) {
    return boundedLength(record.text, std::min(int(record.length), kMaxCandidateLength));
}

bool isTwoPart(const CandidateRecord& record) {
    return (flagsOf(record) & (kCandidateTwoPart | kCandidateTwoPartAlt)) != 0 &&
           lengthOf(record) >= 2;
}

bool carriesCloudLink(const CandidateRecord& record) {
    const std::uint32_t f = flagsOf(record);
    return (f & kCandidateCloudLinkA) != 0 && (f & kCandidateCloudLinkB) != 0 &&
           (f & kCandidateCloudLinkUnless) == 0;
}

bool isCloud(const CandidateRecord& record) {
    return (flagsOf(record) & kCandidateCloud) != 0;
}

// The picture slot the skin names for cloud picture index, or the default when the payload
// has no cloud pictures.
int cloudPictureSlot(ParseContext* context, int index) {
    CloudPictures pictures;
    if (context != nullptr && readRecord(findSection(*context, kCloudPicturesId), pictures)) {
        return pictures.slots[index];
    }
    return 19 + index;
}

bool tipModeOf(ISchemeInfo* scheme) {
    return scheme != nullptr && (scheme->GetModeFlags() & (kModeVTip | kModeUTip)) != 0;
}

// A picture renderer loaded with slot, and the picture's size at the current DPI.
std::unique_ptr<IRender> loadIcon(ParseContext* context, int slot, Size& size) {
    ResourceCache* cache = context != nullptr ? context->cache : nullptr;
    const bool system = context != nullptr && context->customSkin == 0;
    std::unique_ptr<IRender> render = CreateRender(cache, system ? 0 : 1, kImageType);
    if (context != nullptr && loadPicture(*context, slot)) {
        render->LoadImage(slot, nullptr, nullptr);
    }
    const Rect picture = render->GetImageRect();
    const CDPI& dpi = CDPI::Instance();
    size = {dpi.Scaled(picture.width(), system), dpi.Scaled(picture.height(), system)};
    return render;
}

}  // namespace

// ---- One candidate ----------------------------------------------------------------------------

int ZODTextControl::Create(std::span<const std::uint8_t>, ParseContext* context) {
    if (!createRender(context)) {
        return 0;
    }
    linkIcon_ = loadIcon(context, cloudPictureSlot(context, kLinkIconPicture), linkIconSize_);
    return 1;
}

int ZODTextControl::position() const {
    const int p = id_ - kFirstCandidateId;
    return p >= 0 && p < kCandidateSlots ? p : -1;
}

const CandidateRecord* ZODTextControl::candidate() const {
    ISchemeInfo* s = scheme();
    if (s == nullptr || position() < 0) {
        return nullptr;
    }
    return s->GetCand(std::uint16_t(s->MapCandIndex(position())));
}

int ZODTextControl::SetFont(int index) {
    return render_ ? render_->SetFontIndex(index) : 0;
}

int ZODTextControl::SetColor(int index) {
    return render_ ? render_->SetColorIndex(index) : 0;
}

Size ZODTextControl::measure(const char16_t* text, int length, int font) const {
    Size size;
    if (render_) {
        render_->SetFontIndex(font);
        render_->MeasureText(context_ != nullptr ? context_->canvas : nullptr, text, length, &size);
        render_->SetFontIndex(kCandFont);
    }
    return size;
}

Size ZODTextControl::measureBracketed(const char16_t* text, int length, int g2) const {
    Size total;
    int font = kCandFont;
    for (int i = 0; i < length; ++i) {
        if (text[i] == u'(') {
            font = kCandAuxFont;
            total.cx += g2;
        }
        const Size size = measure(&text[i], 1, font);
        total.cx += size.cx;
        total.cy = std::max(total.cy, size.cy);
        if (text[i] == u')') {
            font = kCandFont;
            total.cx += g2;
        }
    }
    return total;
}

void ZODTextControl::drawBracketed(Canvas* canvas, const Rect& area, const char16_t* text,
                                   int length, int g2) const {
    int x = area.left;
    int font = kCandFont;
    for (int i = 0; i < length; ++i) {
        if (text[i] == u'(') {
            font = kCandAuxFont;
            x += g2;
        }
        const int width = measure(&text[i], 1, font).cx;
        const Rect cell{x, area.top, x + width, area.bottom};
        render_->SetFontIndex(font);
        render_->DrawText(canvas, &cell, &text[i], 1, kDtNoPrefix);
        x += width;
        if (text[i] == u')') {
            font = kCandFont;
            x += g2;
        }
    }
    render_->SetFontIndex(kCandFont);
}

int ZODTextControl::Layout(ContextHead* head) {
    context_ = layoutContext(head);
    rect_ = labelRect_ = textRect_ = iconRect_ = {};
    labelWidth_ = 0;
    brackets_ = false;
    icon_ = nullptr;
    iconAsIs_ = false;
    if (context_ == nullptr || position() < 0 || !render_ || scheme() == nullptr) {
        return 0;
    }
    SetFont(kCandFont);
    MeasureLabel();
    labelWidth_ = rect_.right;
    MeasureText();
    MeasureIcon(context_->options[5]);
    return 1;
}

bool ZODTextControl::labelShown() const {
    ISchemeInfo* s = scheme();
    const int p = position();
    return s != nullptr && p >= 0 && (p != 0 || s->IsIndexVisible());
}

std::array<char16_t, 2> ZODTextControl::label() const {
    return {char16_t((scheme()->UseLetterIndex() ? u'a' : u'1') + position()), u'.'};
}

void ZODTextControl::MeasureLabel() {
    labelRect_ = {};
    if (!labelShown()) {
        return;
    }
    const Size size = measure(label().data(), 2, kCandFont);
    labelRect_ = {0, 0, size.cx, size.cy};
    rect_.right = size.cx;
    rect_.bottom = size.cy;
}

void ZODTextControl::measureCandidate(const CandidateRecord& record, int x0, bool brackets) {
    const int g2 = TextGaps::current().g2;
    const int length = lengthOf(record);
    brackets_ = false;
    if (isTwoPart(record)) {
        const Size first = measure(record.text, 1, kCandFont);
        textRect_ = {x0, 0, x0 + first.cx + g2, first.cy};
        textRect_.right += measure(record.text + 1, length - 1, kCandAuxFont).cx;
    } else {
        brackets_ = brackets;
        const Size size = brackets ? measureBracketed(record.text, length, g2)
                                   : measure(record.text, length, kCandFont);
        textRect_ = {x0, 0, x0 + size.cx + g2, size.cy};
    }
    rect_.right = textRect_.right;
    rect_.bottom = std::max(rect_.bottom, textRect_.bottom);
}

void ZODTextControl::MeasureText() {
    const CandidateRecord* record = candidate();
    if (record == nullptr || lengthOf(*record) == 0) {
        return;
    }
    const bool brackets = (flagsOf(*record) & kCandidateNoBrackets) == 0 &&
                          containsChar(record->text, lengthOf(*record), u'(');
    measureCandidate(*record, rect_.right, brackets);
}

void ZODTextControl::placeIcon(IRender* render, Size size, int top, bool asIs) {
    iconRect_ = {rect_.right, top, rect_.right + size.cx, top + size.cy};
    rect_.right = iconRect_.right;
    icon_ = render;
    iconAsIs_ = asIs;
}

bool ZODTextControl::placeLinkIcon(const CandidateRecord& record) {
    if (!carriesCloudLink(record)) {
        return false;
    }
    placeIcon(linkIcon_.get(), linkIconSize_, -TextGaps::current().g2, false);
    return true;
}

void ZODTextControl::MeasureIcon(int flag) {
    iconRect_ = {};
    icon_ = nullptr;
    if (flag == 0) {
        return;
    }
    if (const CandidateRecord* record = candidate()) {
        placeLinkIcon(*record);
    }
}

int ZODTextControl::Draw(Canvas* canvas, const Rect* clip) {
    if (!render_ || canvas == nullptr || position() < 0 || scheme() == nullptr || !mayDraw(clip)) {
        return 0;
    }
    SetFont(kCandFont);
    DrawLabel(canvas);
    DrawText(canvas);
    DrawIcon(canvas);
    return 1;
}

void ZODTextControl::DrawLabel(Canvas* canvas) {
    if (!render_ || !labelShown()) {
        return;
    }
    render_->SetFontIndex(kCandFont);
    render_->DrawText(canvas, &labelRect_, label().data(), 2, kDtNoPrefix);
}

void ZODTextControl::drawCandidate(Canvas* canvas, const CandidateRecord& record) const {
    const int length = lengthOf(record);
    if (isTwoPart(record)) {
        render_->SetFontIndex(kCandFont);
        render_->DrawText(canvas, &textRect_, record.text, 1, kDtNoPrefix);
        render_->SetFontIndex(kCandAuxFont);
        render_->DrawText(canvas, &textRect_, record.text + 1, length - 1, kDtRight | kDtNoPrefix);
        render_->SetFontIndex(kCandFont);
    } else if (brackets_) {
        drawBracketed(canvas, textRect_, record.text, length, TextGaps::current().g2);
    } else {
        render_->SetFontIndex(kCandFont);
        render_->DrawText(canvas, &textRect_, record.text, length, kDtNoPrefix);
    }
}

void ZODTextControl::DrawText(Canvas* canvas) {
    const CandidateRecord* record = candidate();
    if (!render_ || record == nullptr || lengthOf(*record) == 0) {
        return;
    }
    drawCandidate(canvas, *record);
}

void ZODTextControl::DrawIcon(Canvas* canvas) {
    if (icon_ == nullptr || !render_) {
        return;
    }
    const int colour = render_->GetColorIndex();
    if (iconAsIs_ || colour == kCandColour) {
        icon_->DrawImage(canvas, &iconRect_, 0);
    } else {
        icon_->DrawTinted(canvas, &iconRect_, colour);
    }
}

void ZODTextControl::Offset(int dx, int dy) {
    rect_ = rect_.offset(dx, dy);
    labelRect_ = labelRect_.offset(dx, dy);
    textRect_ = textRect_.offset(dx, dy);
    iconRect_ = iconRect_.offset(dx, dy);
}

// ---- The first candidate ----------------------------------------------------------------------

int ZODFixTextControl::Layout(ContextHead* head) {
    commentRect_ = {};
    return ZODTextControl::Layout(head);
}

void ZODFixTextControl::MeasureText() {
    commentRect_ = {};
    const CandidateRecord* record = candidate();
    if (record == nullptr || lengthOf(*record) == 0) {
        return;
    }
    const int x0 = rect_.right;
    if (isTwoPart(*record)) {
        measureCandidate(*record, x0, false);
        return;
    }
    const std::uint32_t flags = flagsOf(*record);
    const char16_t* comment = scheme()->GetCandComment();
    const int commentLength = boundedLength(comment, kMaxCommentLength);
    const bool brackets = (flags & kCandidateNoBrackets) == 0 &&
                          (containsChar(record->text, lengthOf(*record), u'(') ||
                           containsChar(comment, commentLength, u'('));
    commentRect_ = {x0, 0, x0, 0};
    if (comment != nullptr && brackets) {
        const Size size = measureBracketed(comment, commentLength, TextGaps::current().g2);
        commentRect_ = {x0, 0, x0 + size.cx, size.cy};
    } else if (comment != nullptr && (flags & (kCandidateNoBrackets | kCandidateNoComment)) == 0) {
        const Size size = measure(comment, commentLength, kCandFont);
        commentRect_ = {x0, 0, x0 + size.cx, size.cy};
    }
    measureCandidate(*record, commentRect_.right, brackets);
}

void ZODFixTextControl::DrawText(Canvas* canvas) {
    ISchemeInfo* s = scheme();
    const char16_t* comment = s != nullptr ? s->GetCandComment() : nullptr;
    if (render_ && comment != nullptr) {
        const int commentLength = boundedLength(comment, kMaxCommentLength);
        const int previous = render_->GetColorIndex();
        render_->SetColorIndex(kCommentColour);
        if (brackets_) {
            drawBracketed(canvas, commentRect_, comment, commentLength, TextGaps::current().g2);
        } else {
            render_->SetFontIndex(kCandFont);
            render_->DrawText(canvas, &commentRect_, comment, commentLength, kDtNoPrefix);
        }
        render_->SetColorIndex(previous);
    }
    ZODTextControl::DrawText(canvas);
}

void ZODFixTextControl::Offset(int dx, int dy) {
    ZODTextControl::Offset(dx, dy);
    commentRect_ = commentRect_.offset(dx, dy);
}

// ---- The second candidate ---------------------------------------------------------------------

int ZODCloudTextControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    for (int s = 0; s < kStates; ++s) {
        states_[std::size_t(s)] =
            loadIcon(context, cloudPictureSlot(context, s), stateSizes_[std::size_t(s)]);
    }
    return ZODTextControl::Create(record, context);
}

bool ZODCloudTextControl::textless(const CandidateRecord& record) const {
    return isCloud(record) && scheme()->GetCloudState() != 1;
}

void ZODCloudTextControl::MeasureText() {
    const CandidateRecord* record = candidate();
    if (record != nullptr && textless(*record)) {
        return;
    }
    ZODTextControl::MeasureText();
}

void ZODCloudTextControl::DrawText(Canvas* canvas) {
    const CandidateRecord* record = candidate();
    if (record != nullptr && textless(*record)) {
        return;
    }
    ZODTextControl::DrawText(canvas);
}

void ZODCloudTextControl::MeasureIcon(int flag) {
    iconRect_ = {};
    icon_ = nullptr;
    const CandidateRecord* record = flag != 0 ? candidate() : nullptr;
    if (record == nullptr || placeLinkIcon(*record) || !isCloud(*record)) {
        return;
    }
    const int state = scheme()->GetCloudState();
    if (state == 0 || state == 2 || state == 3) {
        placeIcon(states_[std::size_t(state)].get(), stateSizes_[std::size_t(state)], rect_.top,
                  state == 3);
    } else if (state == 1 && lengthOf(*record) > 0) {
        placeIcon(states_[1].get(), stateSizes_[1], rect_.top - TextGaps::current().g2, false);
    }
}

int ZODCloudTextControl::OnMouse(int, int x, int y, int, MouseResult* result) {
    if (!rect_.contains(x, y)) {
        return 0;
    }
    const CandidateRecord* record = candidate();
    if (result != nullptr && record != nullptr) {
        const int state = isCloud(*record) ? scheme()->GetCloudState() : -1;
        if (carriesCloudLink(*record) || state == 1 || state == 4) {
            result->hit = 2;
        }
    }
    return 1;
}

// ---- The input-mode tip -----------------------------------------------------------------------

int ZODCandTipControl::Create(std::span<const std::uint8_t>, ParseContext* context) {
    if (!createRender(context)) {
        return 0;
    }
    makeTextFont(context, kLinkFont, nullptr);
    render_->SetFontIndex(kCandFont);
    render_->SetColorIndex(kCandColour);
    return 1;
}

std::uint8_t ZODCandTipControl::modeFlags() const {
    ISchemeInfo* s = scheme();
    return s != nullptr ? s->GetModeFlags() : 0;
}

int ZODCandTipControl::Layout(ContextHead* head) {
    context_ = layoutContext(head);
    rect_ = linkRect_ = {};
    if (context_ == nullptr || !render_) {
        return 0;
    }
    const std::uint8_t flags = modeFlags();
    if ((flags & kModeUTip) != 0) {
        const Size size = measure(kUTip.data(), int(kUTip.size()), kCandFont);
        rect_ = {0, 0, size.cx, size.cy};
        return 1;
    }
    if ((flags & kModeVTip) != 0) {
        int width = 0, height = 0;
        for (std::u16string_view line : kVTip) {
            const Size size = measure(line.data(), int(line.size()), kCandFont);
            width = std::max(width, size.cx);
            height += size.cy;
        }
        const Size link = measure(kVTipLink.data(), int(kVTipLink.size()), kLinkFont);
        linkRect_ = {width, height - link.cy, width + link.cx, height};
        rect_ = {0, 0, width + link.cx, height};
        return 1;
    }
    return 0;
}

int ZODCandTipControl::Draw(Canvas* canvas, const Rect* clip) {
    if (!render_ || canvas == nullptr || scheme() == nullptr || !mayDraw(clip)) {
        return 0;
    }
    const std::uint8_t flags = modeFlags();
    render_->SetColorIndex(kCandColour);
    render_->SetFontIndex(kCandFont);
    if ((flags & kModeUTip) != 0) {
        render_->DrawText(canvas, &rect_, kUTip.data(), int(kUTip.size()), kDtNoPrefix);
        return 1;
    }
    if ((flags & kModeVTip) == 0) {
        return 0;
    }
    const int height = rect_.height();
    for (int k = 0; k < int(std::size(kVTip)); ++k) {
        const Rect line{rect_.left, rect_.top + k * height / 4, rect_.right,
                        rect_.top + (k + 1) * height / 4};
        const std::u16string_view text = kVTip[std::size_t(k)];
        render_->DrawText(canvas, &line, text.data(), int(text.size()),
                          kDtSingleLine | kDtNoPrefix);
    }
    render_->SetFontIndex(kLinkFont);
    render_->DrawText(canvas, &linkRect_, kVTipLink.data(), int(kVTipLink.size()), kDtNoPrefix);
    render_->SetFontIndex(kCandFont);
    return 1;
}

int ZODCandTipControl::OnMouse(int message, int x, int y, int, MouseResult* result) {
    if (!rect_.contains(x, y)) {
        return 0;
    }
    if (result != nullptr) {
        if (linkRect_.contains(x, y)) {
            result->hit = 2;
            if (message == kButtonUp) {
                result->command = 4;
            }
        } else {
            result->hit = 1;
        }
    }
    return 1;
}

void ZODCandTipControl::Offset(int dx, int dy) {
    rect_ = rect_.offset(dx, dy);
    linkRect_ = linkRect_.offset(dx, dy);
}

// ---- The list ---------------------------------------------------------------------------------

int ZODTextCandControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    TextElement element;
    if (!readRecord(record, element)) {
        return 0;
    }
    const CDPI& dpi = CDPI::Instance();
    marginTop_ = dpi.Scaled(element.marginTop);
    marginBottom_ = dpi.Scaled(element.marginBottom);
    marginLeft_ = dpi.Scaled(element.marginLeft);
    marginRight_ = dpi.Scaled(element.marginRight);
    vertical_ = context != nullptr && context->vertical != 0;
    makeTextFont(context, kCandFont, &element);
    makeTextFont(context, kCandAuxFont, &element);
    ResourceCache* cache = context != nullptr ? context->cache : nullptr;
    if (cache != nullptr) {
        cache->setColour(kCandColour, element.colour);
    }

    items_[0] = std::make_unique<ZODFixTextControl>(kFixTextType, kFirstCandidateId);
    items_[1] = std::make_unique<ZODCloudTextControl>(kCloudTextType, kFirstCandidateId + 1);
    for (int p = 2; p < kCandidateSlots; ++p) {
        items_[std::size_t(p)] = std::make_unique<ZODTextControl>(kTextType, kFirstCandidateId + p);
    }
    for (const std::unique_ptr<ZODTextControl>& item : items_) {
        item->Create(record, context);
        item->SetFont(kCandFont);
        item->SetColor(kCandColour);
    }
    minRowHeight_ = 0;
    if (!vertical_ && items_[0]->render() != nullptr) {
        Size size;
        if (items_[0]->render()->MeasureText(nullptr, u"一", 1, &size)) {
            minRowHeight_ = size.cy;
        }
    }
    tip_ = std::make_unique<ZODCandTipControl>(kCandTipType, kCandTipId);
    tip_->Create(record, context);

    CloudPictures pictures;
    if (context != nullptr && context->customSkin != 0 && cache != nullptr &&
        readRecord(findSection(*context, kCloudPicturesId), pictures) &&
        pictures.slots[kFocusPictureSwitch] != -1 && context->data != nullptr &&
        context->entries[kFocusPictureSlot].size != 0) {
        const DirEntry& entry = context->entries[kFocusPictureSlot];
        cache->storePicture(kFocusPictureSlot, context->data + entry.offset, entry.size);
        createRender(context);
        render_->LoadImage(kFocusPictureSlot, nullptr, nullptr);
    }
    return 1;
}

bool ZODTextCandControl::tipMode() const {
    return tipModeOf(context_ != nullptr ? context_->scheme : nullptr);
}

int ZODTextCandControl::shownCount() const {
    ISchemeInfo* scheme = context_ != nullptr ? context_->scheme : nullptr;
    if (scheme == nullptr) {
        return 0;
    }
    return std::min(std::clamp(scheme->GetCandCount(), 0, kCandidateSlots), laidOutCount_);
}

int ZODTextCandControl::Layout(ContextHead* head) {
    context_ = layoutContext(head);
    rect_ = {};
    laidOut_ = laidOutTip_ = false;
    laidOutCount_ = 0;
    ISchemeInfo* scheme = context_ != nullptr ? context_->scheme : nullptr;
    if (scheme == nullptr) {
        // Items and tip forget their last layout too.
        for (const std::unique_ptr<ZODTextControl>& item : items_) {
            if (item) {
                item->Layout(context_);
            }
        }
        if (tip_) {
            tip_->Layout(context_);
        }
        return 0;
    }
    laidOut_ = true;
    const int top = marginTop_ + context_->height;
    if (tipModeOf(scheme)) {
        laidOutTip_ = true;
        rect_ = {marginLeft_, top, marginLeft_, top};
        if (tip_ && tip_->Layout(context_)) {
            tip_->Offset(rect_.right, rect_.top);
            const Rect tip = tip_->GetRect(0);
            rect_.right += tip.width();
            rect_.bottom = rect_.top + tip.height();
        }
        return 1;
    }

    const int focus = scheme->MapHighlight(scheme->GetHighlight());
    // Only nine items exist, whatever the page holds.
    const int count = std::clamp(scheme->GetCandCount(), 0, kCandidateSlots);
    laidOutCount_ = count;
    context_->candTextX = marginLeft_;
    const int left = marginLeft_;
    int right = left, bottom = top, widest = 0, rowHeight = minRowHeight_;
    bool first = true;
    for (int p = 0; p < count; ++p) {
        ZODTextControl* item = items_[std::size_t(p)].get();
        if (item == nullptr || !item->Layout(context_)) {
            continue;
        }
        if (first) {
            context_->candTextX += item->GetLabelWidth();
            first = false;
        }
        const Rect r = item->GetRect(0);
        if (vertical_) {
            item->Offset(left, bottom);
            widest = std::max(widest, r.width());
            bottom += r.height() + kColumnGap;
        } else {
            item->Offset(right, top);
            rowHeight = std::max(rowHeight, r.height());
            right += r.width() + kRowGap;
        }
        item->SetColor(p == focus ? kFocusColour : kCandColour);
    }
    rect_ = vertical_ ? Rect{left, top, left + widest, bottom}
                      : Rect{left, top, right, top + rowHeight};
    return 1;
}

Rect ZODTextCandControl::GetRect(int) const {
    if (!laidOut_) {
        return rect_;
    }
    return rect_.grown(marginLeft_, marginTop_, marginRight_, marginBottom_);
}

int ZODTextCandControl::Draw(Canvas* canvas, const Rect* clip) {
    if (canvas == nullptr || context_ == nullptr || context_->scheme == nullptr || !mayDraw(clip)) {
        return 0;
    }
    if (tipMode()) {
        return tip_ ? tip_->Draw(canvas, clip) : 0;
    }
    ISchemeInfo& scheme = *context_->scheme;
    const int count = shownCount();
    const int focus = scheme.MapHighlight(scheme.GetHighlight());
    // A focus outside the page has no item to mark.
    if (render_ && focus >= 0 && focus < count && items_[std::size_t(focus)]) {
        const int g3 = TextGaps::current().g3;
        const Rect r = items_[std::size_t(focus)]->GetRect(0);
        const Rect marked{r.left - g3, r.top - g3, r.right + g3, r.bottom + g3};
        render_->DrawImage(canvas, &marked, 0);
    }
    for (int p = 0; p < count; ++p) {
        if (items_[std::size_t(p)]) {
            items_[std::size_t(p)]->Draw(canvas, clip);
        }
    }
    return 1;
}

int ZODTextCandControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (!rect_.contains(x, y)) {
        return 0;
    }
    if (tipMode()) {
        if (tip_) {
            tip_->OnMouse(message, x, y, keys, result);
        }
        return 1;
    }
    const int count = shownCount();
    for (int p = 0; p < count; ++p) {
        ZODTextControl* item = items_[std::size_t(p)].get();
        if (item == nullptr || !item->OnMouse(message, x, y, keys, result)) {
            continue;
        }
        if (result != nullptr) {
            result->command = 11 + p;
            if (message == kMouseMove && result->redraw != 2) {
                result->redraw = 0;
                result->rectangle = item->GetRect(0);
            } else if (message == kButtonUp) {
                result->redraw = 2;
            }
        }
        break;
    }
    return 1;
}

void ZODTextCandControl::forEachChild(const std::function<void(const IControl&)>& visit) const {
    if (tip_) {
        visit(*tip_);
    }
    for (const auto& item : items_) {
        if (item) {
            visit(*item);
        }
    }
}

void ZODTextCandControl::Offset(int dx, int dy) {
    rect_ = rect_.offset(dx, dy);
    if (laidOutTip_) {
        if (tip_) {
            tip_->Offset(dx, dy);
        }
        return;
    }
    for (int p = 0; p < laidOutCount_; ++p) {
        if (items_[std::size_t(p)]) {
            items_[std::size_t(p)]->Offset(dx, dy);
        }
    }
}

}  // namespace tandel
