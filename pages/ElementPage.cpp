#include "ElementPage.h"

namespace tandel {

void CElementPage::Bind(std::int32_t controlId, std::int32_t pictureSlot, std::int32_t windowKind,
                        std::int32_t splitFlag, const QString& caption) {
    binding_ = {controlId, pictureSlot, windowKind, splitFlag, caption};
    bound_ = true;
}

}  // namespace tandel
