#include "Render.h"

#include <string_view>

#include "AlphaDrawing.h"
#include "DrawText.h"
#include "SkinParser.h"

namespace tandel {
namespace {

// The theme tint of the built-in pictures: the status items, page buttons and cloud pictures
// take the theme colour (colour 7); the cloud pictures fall back to the candidate colour.
void tint(RUZizodGdi& picture, int slot, const ResourceCache& cache) {
    const std::uint32_t theme = cache.colour(7);
    if (slot == 70) {
        picture.Colorize(theme, true);
    } else if (slot == 16 || slot == 17 || (slot >= 62 && slot <= 80)) {
        picture.Colorize(theme, false);
    } else if (slot >= 19 && slot <= 22) {
        picture.Colorize(theme != 0 ? theme : cache.colour(2), false);
    }
}

}  // namespace

// ---- Common to every renderer -----------------------------------------------------------------

int ZODBaseRender::LoadImage(int slot, const int*, const StretchSpec*) {
    if (slot < 0 || slot >= kSlotCount || cache_ == nullptr) {
        return 0;
    }
    if (cache_->picture(slot).empty()) {
        return 0;  // nothing to load: the picture stays
    }
    picture_ = cache_->decodedPicture(slot);
    if (!hasPicture()) {
        return 0;
    }
    tint(*picture_, slot, *cache_);
    return 1;
}

int ZODBaseRender::SetColorIndex(int index) {
    colourIndex_ = index;
    return index != -1;
}

std::uint32_t ZODBaseRender::selectedColour() const {
    return cache_ != nullptr ? cache_->colour(colourIndex_) : 0;
}

int ZODBaseRender::storeFontIndex(int index) {
    if (index > 5) {
        return 0;
    }
    fontIndex_ = index;
    return 1;
}

int ZODBaseRender::drawSelectedText(Canvas* canvas, const Rect* rect, const char16_t* text,
                                    int length, unsigned format, bool opaque) const {
    const Font* font = cache_ != nullptr ? cache_->font(fontIndex_) : nullptr;
    if (canvas == nullptr || rect == nullptr || text == nullptr || length <= 0 || font == nullptr) {
        return 0;
    }
    std::u16string_view view(text, std::size_t(length));
    const std::uint32_t colour = selectedColour();
    return opaque ? DrawTextOpaque(*canvas, view, colour, *rect, *font, format)
                  : DrawTextAlpha(*canvas, view, colour, *rect, *font, format);
}

double ZODBaseRender::pictureScale() const {
    return cache_ != nullptr ? cache_->imageScale : 1.0;
}

Rect ZODBaseRender::GetImageRect() const {
    return hasPicture() ? picture_->GetRect() : Rect{};
}

int ZODBaseRender::IsAnimated() const {
    return hasPicture() && picture_->IsAnimated();
}

int ZODBaseRender::NextFrame() {
    return hasPicture() ? picture_->NextFrame() : 0;
}

int ZODBaseRender::GetFrameDelay() const {
    return hasPicture() ? picture_->GetFrameDelay() : 100;
}

// ---- Pictures ---------------------------------------------------------------------------------

int ZODImageRender::LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) {
    if (!ZODBaseRender::LoadImage(slot, frameSize, stretch)) {
        return 0;
    }
    if (cache_ != nullptr) {
        picture_->Scale(pictureScale());
    }
    return 1;
}

int ZODImageRender::DrawImage(Canvas* canvas, const Rect* rect, int) {
    if (!hasPicture() || canvas == nullptr || rect == nullptr) {
        return 0;
    }
    return picture_->Draw(*canvas, *rect, -1, 0);
}

int ZODImageRender::FillColor(Canvas* canvas, const Rect* rect) {
    if (canvas == nullptr || rect == nullptr) {
        return 0;
    }
    return FillRectAlpha(*canvas, *rect, selectedColour());
}

int ZODImageRender::DrawTinted(Canvas* canvas, const Rect* rect, int colourIndex) {
    if (!hasPicture() || canvas == nullptr || rect == nullptr || cache_ == nullptr) {
        return 0;
    }
    return picture_->DrawTinted(*canvas, *rect, cache_->colour(colourIndex));
}

int ZODImageStretchRender::splitBackground(const StretchSpec& stretch, bool fitBands) {
    int left = stretch.left, top = stretch.top, right = stretch.right, bottom = stretch.bottom;
    if (fitBands && picture_->GetWidth() < left + right) {
        left = right = 0;
    }
    if (fitBands && picture_->GetHeight() < top + bottom) {
        top = bottom = 0;
    }
    const double scale = pictureScale();
    if (picture_->Scale(scale)) {
        left = int(left * scale);
        top = int(top * scale);
        right = int(right * scale);
        bottom = int(bottom * scale);
    }
    picture_->SplitNineGrid({left, top, right, bottom});
    return 1;
}

int ZODImageStretchRender::LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) {
    if (stretch == nullptr || !ZODBaseRender::LoadImage(slot, frameSize, stretch)) {
        return 0;
    }
    return splitBackground(*stretch, true);
}

int ZODImageStretchRender::DrawStretched(Canvas* canvas, const Rect* rect,
                                         const StretchSpec* stretch) {
    if (!hasPicture() || canvas == nullptr || rect == nullptr || stretch == nullptr) {
        return 0;
    }
    const Rect margins{stretch->left, stretch->top, stretch->right, stretch->bottom};
    if (stretch->mode == 0) {
        return picture_->DrawNineGridStretched(*canvas, *rect, margins, 0);
    }
    return picture_->DrawNineGridTiled(*canvas, *rect, margins, 0);
}

int ZODSystemImageStretchRender::LoadImage(int slot, const int* frameSize,
                                           const StretchSpec* stretch) {
    if (stretch == nullptr || !ZODBaseRender::LoadImage(slot, frameSize, stretch)) {
        return 0;
    }
    return splitBackground(*stretch, false);
}

int ZODSystemImageStretchRender::DrawStretched(Canvas* canvas, const Rect* rect,
                                               const StretchSpec* stretch) {
    if (!hasPicture() || canvas == nullptr || rect == nullptr || stretch == nullptr) {
        return 0;
    }
    const Rect margins{stretch->left, stretch->top, stretch->right, stretch->bottom};
    return picture_->DrawNineGridStretched(*canvas, *rect, margins, 0xFFFFFFFF);
}

// ---- Buttons ----------------------------------------------------------------------------------

int ZODButtonRender::LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) {
    // A frame width of 0 cuts nothing; it counts as none.
    if (frameSize == nullptr || *frameSize <= 0 ||
        !ZODBaseRender::LoadImage(slot, frameSize, stretch)) {
        return 0;
    }
    picture_->SplitHorizontal(picture_->GetWidth() / *frameSize);
    picture_->Scale(pictureScale());
    return 1;
}

int ZODButtonRender::DrawImage(Canvas* canvas, const Rect* rect, int state) {
    if (!hasPicture() || canvas == nullptr || rect == nullptr) {
        return 0;
    }
    return picture_->Draw(*canvas, *rect, state, 0);
}

int ZODButtonRender::DrawArrow(Canvas* canvas, const Rect* rect, const Point (&points)[3],
                               int state) {
    if (canvas == nullptr || rect == nullptr) {
        return 0;
    }
    std::uint32_t colour = selectedColour();
    if (state == 3) {
        colour = (colour & 0x00FFFFFF) | 0x55000000;
    }
    return FillTriangleAlpha(*canvas, *rect, points, colour);
}

// ---- Text -------------------------------------------------------------------------------------

int ZODTextRender::DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                            unsigned format) {
    return drawSelectedText(canvas, rect, text, length, format, false);
}

int ZODTextRender::MeasureText(Canvas*, const char16_t* text, int length, Size* out) {
    const Font* font = cache_ != nullptr ? cache_->font(fontIndex_) : nullptr;
    if (font == nullptr || out == nullptr || (text == nullptr && length > 0)) {
        return 0;
    }
    *out = measureText(*font, std::u16string_view(text, std::size_t(std::max(length, 0))));
    return 1;
}

int ZODSystemTextRender::DrawText(Canvas* canvas, const Rect* rect, const char16_t* text,
                                  int length, unsigned format) {
    return drawSelectedText(canvas, rect, text, length, format, true);
}

int ZODTextSingleRender::FillColor(Canvas* canvas, const Rect* rect) {
    if (canvas == nullptr || rect == nullptr) {
        return 0;
    }
    return FillRectAlpha(*canvas, *rect, ownColour_);
}

// ---- The composition tip ----------------------------------------------------------------------

int ZODTipRender::DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                           unsigned format) {
    return drawSelectedText(canvas, rect, text, length, format, false);
}

int ZODTipRender::FillColor(Canvas* canvas, const Rect* rect) {
    if (canvas == nullptr || rect == nullptr) {
        return 0;
    }
    return FillRectAlpha(*canvas, *rect, selectedColour());
}

int ZODTipRender::DrawFrame(Canvas* canvas, const Rect* rect) {
    if (canvas == nullptr || rect == nullptr) {
        return 0;
    }
    return DrawRoundFrameAlpha(*canvas, *rect, selectedColour());
}

int ZODSystemTipRender::DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                                 unsigned format) {
    return drawSelectedText(canvas, rect, text, length, format, true);
}

// ---- Factory ----------------------------------------------------------------------------------

std::unique_ptr<IRender> CreateRender(ResourceCache* cache, int customSkin, int type) {
    const bool system = customSkin == 0;
    switch (type) {
        case 0:
        case 2:
        case 3:
        case 4:
            if (system) {
                return std::make_unique<ZODSystemImageStretchRender>(cache);
            }
            return std::make_unique<ZODImageStretchRender>(cache);
        case 1:
        case 8:
        case 14: return std::make_unique<ZODImageRender>(cache);
        case 5:
        case 15: return std::make_unique<ZODImageStretchRender>(cache);
        case 6:
        case 7:
        case 9:
        case 10:
        case 19:
            if (system) {
                return std::make_unique<ZODSystemTextRender>(cache);
            }
            return std::make_unique<ZODTextRender>(cache);
        case 11:
        case 12:
        case 13: return std::make_unique<ZODButtonRender>(cache);
        case 18:
            if (system) {
                return std::make_unique<ZODSystemTipRender>(cache);
            }
            return std::make_unique<ZODTipRender>(cache);
        case 20: return std::make_unique<ZODTextSingleRender>(cache);
        default: return nullptr;
    }
}

}  // namespace tandel
