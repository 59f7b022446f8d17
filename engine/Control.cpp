#include "Control.h"

#include "Dpi.h"
#include "SkinParser.h"
#include "Tick.h"

namespace tandel {

void MergeRedraw(MouseResult& result, int level, const Rect* rectangle) {
    if (result.redraw == 2) {
        return;
    }
    if (result.redraw == 1 && level == 1 && rectangle != nullptr) {
        result.rectangle = result.rectangle.united(*rectangle);
        return;
    }
    result.redraw = level;
    if (rectangle != nullptr) {
        result.rectangle = *rectangle;
    }
}

std::size_t elementRecordSize(int type) {
    switch (type) {
        case kCompTextType:
        case kCandTextType: return sizeof(TextElement);
        case kStatusButtonType:
        case kPageButtonType: return sizeof(ButtonElement);
        case kStateButtonType: return sizeof(StateButtonElement);
        case kImageType: return sizeof(ImageElement);
        case kSplitLineType: return sizeof(SplitLineElement);
        default: return 0;
    }
}

ElementDirectory::ElementDirectory(std::span<const std::uint8_t> section, std::size_t headerSize,
                                   int count) {
    if (headerSize > section.size() || count <= 0) {
        return;
    }
    std::span<const std::uint8_t> rest = section.subspan(headerSize);
    count_ = int(std::min<std::size_t>(std::size_t(count), rest.size() / sizeof(DirEntry)));
    directory_ = rest.first(sizeof(DirEntry) * std::size_t(count_));
    data_ = rest.subspan(directory_.size());
}

DirEntry ElementDirectory::entry(int index) const {
    DirEntry e{};
    if (index >= 0 && index < count_) {
        std::memcpy(&e, directory_.data() + sizeof(DirEntry) * std::size_t(index), sizeof e);
    }
    return e;
}

std::span<const std::uint8_t> ElementDirectory::record(const DirEntry& entry) const {
    if (std::uint64_t(entry.offset) + entry.size > data_.size()) {
        return {};
    }
    return data_.subspan(entry.offset, entry.size);
}

int ZODBaseControl::Layout(ContextHead*) {
    return 0;
}

Rect ZODBaseControl::GetRect(int) const {
    return rect_;
}

int ZODBaseControl::OnMouse(int, int x, int y, int, MouseResult*) {
    return rect_.contains(x, y) ? 1 : 0;
}

int ZODBaseControl::Draw(Canvas*, const Rect*) {
    return 0;
}

int ZODBaseControl::Create(std::span<const std::uint8_t>, ParseContext* context) {
    return createRender(context) ? 1 : 0;
}

int ZODBaseControl::OnTimer(MouseResult* result) {
    return stepAnimation(render_.get(), result);
}

bool ZODBaseControl::createRender(ParseContext* context) {
    ResourceCache* cache = context != nullptr ? context->cache : nullptr;
    const int customSkin = context != nullptr ? context->customSkin : 1;
    render_ = CreateRender(cache, customSkin, type_);
    return render_ != nullptr;
}

bool ZODBaseControl::mayDraw(const Rect* clip) const {
    return clip == nullptr || (rect_.left >= clip->left && rect_.top >= clip->top &&
                               rect_.right <= clip->right && rect_.bottom <= clip->bottom);
}

int ZODBaseControl::place(ContextHead& context, const PlacementHead& head) {
    const int W = context.width, H = context.height;
    int left = 0, top = 0;
    switch (head.alignment) {
        case kTopLeft: left = head.x, top = head.y; break;
        case kTopCentre: left = head.x + W / 2, top = head.y; break;
        case kTopRight: left = W - head.x, top = head.y; break;
        case kMiddleLeft: left = head.x, top = head.y + H / 2; break;
        case kCentre: left = head.x + W / 2, top = head.y + H / 2; break;
        case kMiddleRight: left = W - head.x, top = head.y + H / 2; break;
        case kBottomLeft: left = head.x, top = H - head.y; break;
        case kBottomCentre: left = head.x + W / 2, top = H - head.y; break;
        case kBottomRight: left = W - head.x, top = H - head.y; break;
        default: rect_ = {}; return 0;
    }
    rect_ = {left, top, left + head.width, top + head.height};
    if (rect_.left < 0) {
        context.overflowLeft = std::max(context.overflowLeft, -rect_.left);
    }
    if (rect_.right > W) {
        context.overflowRight = std::max(context.overflowRight, rect_.right - W);
    }
    if (rect_.top < 0) {
        context.overflowTop = std::max(context.overflowTop, -rect_.top);
    }
    if (rect_.bottom > H) {
        context.overflowBottom = std::max(context.overflowBottom, rect_.bottom - H);
    }
    return 1;
}

int ZODBaseControl::stepAnimation(IRender* render, MouseResult* result) {
    if (render == nullptr || !render->IsAnimated()) {
        return 0;
    }
    const std::uint32_t now = TickCount();
    if (animationClock_ == 0) {
        animationClock_ = now;
        return 0;
    }
    const std::uint32_t delay = std::uint32_t(std::max(render->GetFrameDelay(), 0));
    if (now - animationClock_ >= delay && render->NextFrame()) {
        animationClock_ = now;
        if (result != nullptr && result->redraw != 2) {
            result->redraw = 0;
            result->rectangle = rect_;
        }
        return 1;
    }
    return 0;
}

}  // namespace tandel
