#include "ButtonControl.h"
#include "CandidateControls.h"
#include "CompositionControls.h"
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
        case kTextType: return std::make_unique<ZODTextControl>(type, id);
        case kCompTextType: return std::make_unique<ZODTextCompControl>(type, id);
        case kCandTextType: return std::make_unique<ZODTextCandControl>(type, id);
        case kCloudTextType: return std::make_unique<ZODCloudTextControl>(type, id);
        case kFixTextType: return std::make_unique<ZODFixTextControl>(type, id);
        case kStatusButtonType:
        case kPageButtonType: return std::make_unique<ZODButtonControl>(type, id);
        case kStateButtonType: return std::make_unique<ZODMutilButtonControl>(type, id);
        case kImageType: return std::make_unique<ZODImageControl>(type, id);
        case kSplitLineType: return std::make_unique<ZODSplitLineControl>(type, id);
        case kCompTipType: return std::make_unique<ZODCompTipControl>(type, id);
        case kCandTipType: return std::make_unique<ZODCandTipControl>(type, id);
        default: return nullptr;
    }
}

}  // namespace tandel
