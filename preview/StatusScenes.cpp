#include "StatusScenes.h"

namespace tandel {
namespace {

// The picture drawn for slot n in row group g: items with several pictures show their first,
// second and last mode picture in the three groups.
int scenePicture(int n, int g) {
    switch (n) {
        case 62:
        case 63:
        case 64: return 62 + g;
        case 65:
        case 66: return g == 0 ? 65 : 66;
        case 67:
        case 68: return g == 0 ? 67 : 68;
        case 70:
        case 71: return g == 0 ? 70 : 71;
        case 75:
        case 76: return g == 0 ? 75 : 76;
        case 77:
        case 78: return g == 0 ? 77 : 78;
        default: return n;
    }
}

std::unique_ptr<RUZizodGdi> decodeSlot(const SkinDocument& document, int slot) {
    const PictureSlot& picture = document.pictures[std::size_t(slot)];
    if (picture.empty()) {
        return nullptr;
    }
    return CreateImageFromMemory(picture.data(), picture.size());
}

Rect scaledBox(int x, int y, int w, int h, double scale) {
    return {x, y, x + int(w * scale), y + int(h * scale)};
}

}  // namespace

void StatusPictureCache::reload(const SkinDocument& document) {
    background_ = decodeSlot(document, 61);
    for (int k = 0; k < 5; ++k) {
        customs_[std::size_t(k)] = decodeSlot(document, 81 + k);
    }
}

RUZizodGdi* StatusPictureCache::custom(int slot) const {
    return slot >= 81 && slot <= 85 ? customs_[std::size_t(slot - 81)].get() : nullptr;
}

Size DrawStatusScenes(const SkinDocument& document, StatusPictureCache& cache, Canvas& canvas,
                      double scale) {
    RUZizodGdi* background = cache.background();
    const int bgWidth = background != nullptr ? background->GetWidth() : 0;
    const int bgHeight = background != nullptr ? background->GetHeight() : 0;
    if (background != nullptr && background->IsAnimated()) {
        background->NextFrame();
    }
    int y = 20;
    for (int g = 0; g < 3; ++g) {
        for (int state = 0; state < 3; ++state) {
            if (background != nullptr) {
                background->Draw(canvas, scaledBox(200, y, bgWidth, bgHeight, scale), -1, 0);
            }
            for (int n = 85; n >= 62; --n) {
                const int p = scenePicture(n, g);
                if (p > 101 || document.pictureIncluded[p] == 0 ||
                    document.pictures[std::size_t(p)].empty()) {
                    continue;
                }
                std::optional<PlacementHead> box = document.statusPictureBox(p);
                if (!box) {
                    continue;
                }
                const Rect target =
                    scaledBox(200 + box->x, y + box->y, box->width, box->height, scale);
                if (n >= 81) {
                    if (RUZizodGdi* custom = cache.custom(n)) {
                        if (custom->IsAnimated()) {
                            custom->NextFrame();
                        }
                        custom->Draw(canvas, target, -1, 0);
                    }
                    continue;
                }
                std::unique_ptr<RUZizodGdi> item = decodeSlot(document, p);
                if (item && box->width > 0) {
                    item->SplitHorizontal(item->GetWidth() / box->width);
                    item->Draw(canvas, target, state, 0);
                }
            }
            y += bgHeight + 20;
        }
    }
    return {bgWidth, y};
}

}  // namespace tandel
