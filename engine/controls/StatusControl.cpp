#include "StatusControl.h"

#include "Dpi.h"
#include "SkinParser.h"

namespace tandel {

int ZODStateControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    const bool rendered = createRender(context);
    StatusHeader header;
    if (!readRecord(record, header)) {
        return 0;
    }
    const bool system = context != nullptr && context->customSkin == 0;
    readBackground(header.stretch, header.outerMargins, header.backgroundPicture, context);
    ElementDirectory directory(record, sizeof header, header.elementCount);
    createChildren(directory, 0, directory.count(), context, [this](int id) { return slotOf(id); });
    loadBackground(header.backgroundPicture, header.stretch);

    // The size grows with the items of a tiled bar; the unscaled header values count here.
    int items = 0;
    for (int id = kFirstStatusItemId; id <= kLastStatusItemId; ++id) {
        items += child(id) != nullptr;
    }
    const StretchSpec& s = header.stretch;
    int width = header.width, height = header.height;
    if (s.mode == 1 && context != nullptr && context->statusVertical != 0) {
        height = s.top + items * (header.height - s.top - s.bottom) + s.bottom;
    } else if (s.mode == 1) {
        width = s.left + items * (header.width - s.left - s.right) + s.right;
    }
    rect_ = {0, 0, width, height};
    CDPI::Instance().ScaleRect(rect_, system);

    ContextHead bar{rect_.width(), rect_.height()};
    for (auto& c : children_) {
        if (c) {
            c->Layout(&bar);
        }
    }
    overflow_ = {bar.overflowLeft, bar.overflowTop, bar.overflowRight, bar.overflowBottom};
    if (overflow_.left > 0 || overflow_.top > 0) {
        Offset(overflow_.left, overflow_.top);
    }
    return rendered ? 1 : 0;
}

int ZODStateControl::Layout(ContextHead* head) {
    auto* context = statusContext(head);
    if (context == nullptr) {
        return 0;
    }
    const std::uint8_t* option = context->options;
    auto pick = [this](int id, bool first) {
        if (IControl* c = child(id)) {
            c->SetState(first ? 5 : 6);
        }
    };
    if (IControl* mode = child(38)) {
        mode->SetState(option[3] != 0 ? 7 : option[0] != 0 ? 5 : 6);
    }
    pick(39, option[1] == 0);
    pick(40, option[2] != 0);
    pick(47, option[4] == 0);
    pick(46, option[5] != 0);
    pick(42, option[6] == 0);
    if (IControl* keyboard = child(41)) {
        keyboard->SetState(option[8] != 0 ? kStatePressed : kStateNormal);
    }
    context->width = rect_.width() + overflow_.left + overflow_.right;
    context->height = rect_.height() + overflow_.top + overflow_.bottom;
    return 1;
}

int ZODStateControl::Draw(Canvas* canvas, const Rect* clip) {
    if (canvas == nullptr) {
        return 0;
    }
    drawBackground(canvas, clip, true);
    for (int id = kLastStatusElementId; id >= kFirstStatusItemId; --id) {
        if (IControl* c = child(id)) {
            c->Draw(canvas, clip);
        }
    }
    return 1;
}

int ZODStateControl::OnMouse(int message, int x, int y, int keys, MouseResult* result) {
    if (result == nullptr) {
        return 0;
    }
    if (missed(x, y, result)) {
        return 0;
    }
    struct Item {
        int id, command;
    };
    static constexpr Item kOrder[] = {{38, 21}, {39, 22}, {40, 23}, {41, 24}, {48, 20}, {47, 25},
                                      {43, 26}, {44, 27}, {46, 28}, {42, 29}, {45, 30}, {54, 31}};
    for (const Item& item : kOrder) {
        IControl* c = child(item.id);
        if (c == nullptr || !c->OnMouse(message, x, y, keys, result)) {
            continue;
        }
        if (hovered_ != item.id) {
            leaveHovered(result);
            hovered_ = item.id;
        }
        if (c->GetState() != kStateDisabled && c->GetState() != kStateHidden) {
            result->command = item.command;
        }
        return 1;
    }
    leaveHovered(result);
    result->command = 1;
    result->hit = message == kButtonDown ? 3 : 1;
    return 1;
}

}  // namespace tandel
