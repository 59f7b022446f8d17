#include "ImageControl.h"

#include "Dpi.h"
#include "SkinParser.h"

namespace tandel {

int ZODImageControl::Create(std::span<const std::uint8_t> record, ParseContext* context) {
    if (!createRender(context)) {
        return 0;
    }
    ImageElement element;
    if (!readRecord(record, element)) {
        return 0;
    }
    head_ = {element.alignment, element.x, element.y, element.width, element.height};
    CDPI::Instance().ScalePlacement(head_, false);  // the ordinary factor, whatever the skin
    rect_ = {0, 0, head_.width, head_.height};
    picture_ = element.picture;
    if (picture_ >= 0 && context != nullptr) {
        loadPicture(*context, picture_);
        render_->LoadImage(picture_, nullptr, nullptr);
    }
    return 1;
}

int ZODImageControl::CreateCursor(ParseContext* context) {
    if (!createRender(context)) {
        return 0;
    }
    render_->SetColorIndex(1);
    return 1;
}

int ZODImageControl::Layout(ContextHead* context) {
    if (context == nullptr) {
        return 0;
    }
    return place(*context, head_);
}

int ZODImageControl::Draw(Canvas* canvas, const Rect* clip) {
    if (!render_ || canvas == nullptr || !mayDraw(clip)) {
        return 0;
    }
    if (id_ == kCursorId) {
        return render_->FillColor(canvas, &rect_);
    }
    return render_->DrawImage(canvas, &rect_, 0);
}

}  // namespace tandel
