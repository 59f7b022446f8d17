#include "HeavySkin.h"

#include "Pictures.h"

namespace tandel {

void makeHeavyPreviewSkin(SkinDocument& doc, const testing::TemporaryFolder& folder) {
    std::vector<int> slots;
    for (int slot = 9; slot <= 14; ++slot) {
        slots.push_back(slot);
    }
    for (int slot = 26; slot <= 55; ++slot) {
        slots.push_back(slot);
    }
    for (int slot = 81; slot <= 85; ++slot) {
        slots.push_back(slot);
    }
    for (int slot : slots) {
        const bool animated = slot == 26;
        std::filesystem::path path = folder / (std::to_string(slot) + (animated ? ".gif" : ".png"));
        testing::writeFile(path, animated ? testing::animatedGifBytes(800, 600, 4)
                                          : testing::photoPngBytes(800, 600, slot));
        doc.importPicture(slot, path);
    }
    // Custom pictures take their picture's size, as the custom picture page sets it.
    auto size = [](ImageElement& e) {
        e.width = 800;
        e.height = 600;
    };
    for (int k = 0; k < kCustomPictureCount; ++k) {
        size(doc.comboH.customPictures[k]);
        size(doc.comboV.customPictures[k]);
        size(doc.splitH.compCustomPictures[k]);
        size(doc.splitH.candCustomPictures[k]);
        size(doc.splitV.compCustomPictures[k]);
        size(doc.splitV.candCustomPictures[k]);
        size(doc.status.customPictures[k]);
    }
}

}  // namespace tandel
