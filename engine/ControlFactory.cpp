#include "ButtonControl.h"
#include "Control.h"
#include "ImageControl.h"
#include "StatusControl.h"
#include "WindowControls.h"

namespace tandel {

std::unique_ptr<IControl> CreateControl(int type, int id) {
    switch (type) {
        case 0: return std::make_unique<ZODCandNormalControl>(type, id);
        case 1: return std::make_unique<ZODCandPartControl>(type, id);
        case 2: return std::make_unique<ZODCandPartCompControl>(type, id);
        case 3: return std::make_unique<ZODCandPartCandControl>(type, id);
        case 4: return std::make_unique<ZODCandSingleControl>(type, id);
        case 5: return std::make_unique<ZODStateControl>(type, id);
        case kStatusButtonType:
        case kPageButtonType: return std::make_unique<ZODButtonControl>(type, id);
        case kStateButtonType: return std::make_unique<ZODMutilButtonControl>(type, id);
        case kImageType: return std::make_unique<ZODImageControl>(type, id);
        case kSplitLineType: return std::make_unique<ZODSplitLineControl>(type, id);
        default: return nullptr;
    }
}

}  // namespace tandel
