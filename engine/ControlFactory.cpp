#include "ButtonControl.h"
#include "CandidateControls.h"
#include "CompositionControls.h"
#include "Control.h"
#include "ImageControl.h"

namespace tandel {

std::unique_ptr<IControl> CreateControl(int type, int id) {
    switch (type) {
        case kTextType: return std::make_unique<ZODTextControl>(type, id);
        case kCompTextType: return std::make_unique<ZODTextCompControl>(type, id);
        case kCandTextType: return std::make_unique<ZODTextCandControl>(type, id);
        case kCloudTextType: return std::make_unique<ZODCloudTextControl>(type, id);
        case kFixTextType: return std::make_unique<ZODFixTextControl>(type, id);
        case kStatusButtonType:
        case kPageButtonType: return std::make_unique<ZODButtonControl>(type, id);
        case kStateButtonType: return std::make_unique<ZODMutilButtonControl>(type, id);
        case kImageType: return std::make_unique<ZODImageControl>(type, id);
        case kCompTipType: return std::make_unique<ZODCompTipControl>(type, id);
        case kCandTipType: return std::make_unique<ZODCandTipControl>(type, id);
        default: return nullptr;
    }
}

}  // namespace tandel
