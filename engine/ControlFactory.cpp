#include "ButtonControl.h"
#include "Control.h"
#include "ImageControl.h"

namespace tandel {

std::unique_ptr<IControl> CreateControl(int type, int id) {
    switch (type) {
        case kStatusButtonType:
        case kPageButtonType: return std::make_unique<ZODButtonControl>(type, id);
        case kStateButtonType: return std::make_unique<ZODMutilButtonControl>(type, id);
        case kImageType: return std::make_unique<ZODImageControl>(type, id);
        default: return nullptr;
    }
}

}  // namespace tandel
