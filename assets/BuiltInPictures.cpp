#include "BuiltInPictures.h"

#include <cstring>

#include "EmbeddedFile.h"

namespace tandel {

extern const EmbeddedFile kNormalPictures[];
extern const EmbeddedFile kLargePictures[];

namespace {

const char* pictureName(int slot, int style) {
    if ((slot >= 9 && slot <= 15) || slot == 87) {
        return "window-frame.png";
    }
    switch (slot) {
        case 16: return "page-next.png";
        case 17: return "page-prev.png";
        case 18: return "split-line.png";
        case 19: return "cloud-state-0.png";
        case 20: return "cloud-link.png";
        case 21: return "cloud-state-2.png";
        case 22: return "cloud-state-3.png";
        case 23: return "cloud-extra.png";
        case 61: return style == 1 ? "status-background-vertical.png" : "status-background.png";
        case 62: return "status-chinese.png";
        case 63: return "status-english.png";
        case 64: return "status-capslock.png";
        case 65: return "status-halfwidth.png";
        case 66: return "status-fullwidth.png";
        case 67: return "status-cn-punct.png";
        case 68: return "status-en-punct.png";
        case 69: return "status-keyboard.png";
        case 70: return "status-account-out.png";
        case 71: return "status-account-in.png";
        case 72: return "status-skin.png";
        case 73: return "status-symbols.png";
        case 74: return "status-search.png";
        case 75: return "status-full-pinyin.png";
        case 76: return "status-double-pinyin.png";
        case 77: return "status-simplified.png";
        case 78: return "status-traditional.png";
        case 79: return "status-settings.png";
        case 80: return "status-logo.png";
        default: return nullptr;
    }
}

}  // namespace

std::span<const std::uint8_t> builtInPicture(int slot, PictureSet set, int style) {
    const char* name = pictureName(slot, style);
    if (name == nullptr) {
        return {};
    }
    for (const EmbeddedFile* f = set == PictureSet::Large ? kLargePictures : kNormalPictures;
         f->name != nullptr; ++f) {
        if (std::strcmp(f->name, name) == 0) {
            return {f->data, f->size};
        }
    }
    return {};
}

}  // namespace tandel
