#include "ButtonControl.h"

#include "Dpi.h"
#include "SkinParser.h"

namespace tandel {
namespace {

bool isNextPage(int id) {
    return id == 0 || id == 20 || id == 28;
}
bool isPrevPage(int id) {
    return id == 1 || id == 21 || id == 29;
}

}  // namespace

void ZODButtonControl::storeHead(const PlacementHead& head, ParseContext* context) {
    head_ = head;
    const bool system = context != nullptr && context->customSkin == 0;
    CDPI::Instance().ScalePlacement(head_, system);
    rect_ = {0, 0, head_.width, head_.height};
}

int ZODButtonControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    if (!createRender(context)) {
        return 0;
    }
    ButtonElement element;
    if (!readRecord(record, element)) {
        return 0;
    }
    storeHead({element.alignment, element.x, element.y, element.width, element.height}, context);
    if (element.picture == kNoPicture) {
        arrow_ = true;
        if (context != nullptr && context->cache != nullptr) {
            context->cache->setColour(6, element.fillColour);
        }
        render_->SetColorIndex(6);
    } else if (element.picture >= 0 && context != nullptr) {
        loadPicture(*context, element.picture);
        const int frameWidth = element.width;
        render_->LoadImage(element.picture, &frameWidth, nullptr);
    }
    return 1;
}

int ZODButtonControl::Layout(ContextHead* context) {
    if (context == nullptr) {
        return 0;
    }
    return place(*context, head_);
}

void ZODButtonControl::SetState(int state) {
    state_ = state;
}

int ZODButtonControl::Draw(Canvas* canvas, const Rect* clip) {
    IRender* render = currentRender();
    if (render == nullptr || canvas == nullptr || state_ == kStateHidden || !mayDraw(clip)) {
        return 0;
    }
    if (!arrow_) {
        return render->DrawImage(canvas, &rect_, state_);
    }
    const CDPI& dpi = CDPI::Instance();
    const int c = dpi.enabled ? int(dpi.scale) : 1;
    const int middle = (rect_.top + rect_.bottom) / 2;
    Point points[3] = {};
    if (isNextPage(id_)) {
        points[0] = {rect_.left + c, rect_.top + c};
        points[1] = {rect_.right - c, middle};
        points[2] = {rect_.left + c, rect_.bottom - c};
    } else if (isPrevPage(id_)) {
        points[0] = {rect_.right - c, rect_.top + c};
        points[1] = {rect_.left + c, middle};
        points[2] = {rect_.right - c, rect_.bottom - c};
    }
    return render->DrawArrow(canvas, &rect_, points, state_);
}

int ZODButtonControl::trackMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (!rect_.contains(x, y) || state_ == kStateHidden || result == nullptr) {
        return 0;
    }
    if (state_ == kStateDisabled) {
        result->hit = 1;
        return 1;
    }
    result->hit = 2;
    int state = state_;
    switch (message) {
        case kMouseMove:
            state =
                state_ == kStatePressed || keys == kLeftButtonHeld ? kStatePressed : kStateHover;
            if (result->redraw != 2) {
                result->redraw = 0;
                result->rectangle = rect_;
            }
            break;
        case kButtonDown: state = kStatePressed; break;
        case kButtonUp: state = kStateHover; break;
        default: break;
    }
    if (state != state_) {
        state_ = state;
        MergeRedraw(*result, 1, &rect_);
    }
    return 1;
}

int ZODButtonControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    return trackMouse(message, x, y, keys, result);
}

int ZODMutilButtonControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    StateButtonElement element;
    if (!readRecord(record, element)) {
        return 0;
    }
    storeHead({element.alignment, element.x, element.y, element.width, element.height}, context);
    ResourceCache* cache = context != nullptr ? context->cache : nullptr;
    const int customSkin = context != nullptr ? context->customSkin : 1;
    const int count = std::clamp(element.stateCount, 0, 3);
    int created = 0;
    for (int i = 0; i < count; ++i) {
        renders_[std::size_t(i)] = CreateRender(cache, customSkin, type_);
        if (!renders_[std::size_t(i)]) {
            continue;
        }
        ++created;
        const int slot = element.pictures[i];
        if (slot >= 0 && context != nullptr) {
            loadPicture(*context, slot);
            const int frameWidth = element.width;
            renders_[std::size_t(i)]->LoadImage(slot, &frameWidth, nullptr);
        }
    }
    current_ = 0;
    return created == count ? 1 : 0;
}

IRender* ZODMutilButtonControl::currentRender() const {
    return renders_[std::size_t(current_)].get();
}

void ZODMutilButtonControl::SetState(int state) {
    if (state >= 5 && state <= 7) {
        current_ = state - 5;
    } else {
        state_ = state;
    }
}

int ZODMutilButtonControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (message != kButtonUp || result == nullptr || !rect_.contains(x, y) ||
        state_ == kStateHidden) {
        return trackMouse(message, x, y, keys, result);
    }
    if (state_ == kStateDisabled) {
        result->hit = 1;
        return 1;
    }
    result->hit = 2;
    state_ = kStateHover;
    result->redraw = 2;
    return 1;
}

int ZODMutilButtonControl::OnTimer(MouseResult* result) {
    return stepAnimation(currentRender(), result);
}

}  // namespace tandel
