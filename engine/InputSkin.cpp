#include "InputSkin.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "Dpi.h"
#include "Environment.h"
#include "TextCodec.h"

namespace tandel {
namespace {

// What a window mode builds: the section of the payload it reads, the root control's type and
// id, and whether it is a vertical layout.
struct WindowMode {
    int section;
    int controlType;
    int controlId;
    bool vertical;
};

// Modes 4 and 5 build the candidate-only window when the text service can show the
// composition itself; installed skins keep its layouts in sections 4 and 86, editor payloads
// in the split sections 2 and 3.
WindowMode windowMode(int mode, bool installed) {
    const bool single = IsTextServiceReady();
    switch (mode) {
        case 1: return {1, 0, 0, true};
        case 2: return {2, 1, 12, false};
        case 3: return {3, 1, 12, true};
        case 4:
            if (single) {
                return {installed ? 4 : 2, 4, 28, false};
            }
            return {0, 0, 0, false};
        case 5:
            if (single) {
                return {installed ? 86 : 3, 4, 28, true};
            }
            return {1, 0, 0, true};
        default: return {0, 0, 0, false};
    }
}

int normalisedMode(int mode) {
    return mode >= 1 && mode <= 5 ? mode : 0;
}

// The installed copy of the skin: the skin folder of the installed version, else the user's.
std::filesystem::path installedSkinPath(const SkinSettings& settings) {
    const std::size_t idLength =
        std::find(settings.skinId, settings.skinId + sizeof settings.skinId, '\0') -
        settings.skinId;
    if (idLength == 0) {
        return {};
    }
    const std::u16string name =
        utf8ToUtf16(std::string_view(settings.skinId, idLength)).substr(0, 32) + u".tdskn";
    char16_t folder[260] = {};
    std::uint32_t count = 260;
    if (!ReadInstallDir(folder, &count)) {
        return {};
    }
    std::filesystem::path path =
        std::filesystem::path(std::u16string(folder)) / kVersionFolder / u"Skin" / name;
    if (!FileExists(path.u16string().c_str())) {
        char16_t userFolder[260] = {};
        if (GetUserDataDir(userFolder, false)) {
            path = std::filesystem::path(std::u16string(userFolder)) / u"Skin" / name;
        }
    }
    return path;
}

}  // namespace

CInputSkinImpl::~CInputSkinImpl() {
    Unload();
}

int CInputSkinImpl::Initialize(PictureModule module) {
    if (initialized_ == 0) {
        initialized_ = 1;
        ResourceCache& cache = ResourceCache::Instance();
        cache.module = module;
        cache.settings = &settings_;
    }
    return 1;
}

int CInputSkinImpl::UpdateSettings(const SkinSettings* settings) {
    if (settings == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(lock_);
    if (std::memcmp(settings, &settings_, sizeof settings_) == 0) {
        return 0;
    }
    settings_ = *settings;
    Unload();
    LoadInstalledSkin();
    return 1;
}

void CInputSkinImpl::Unload() {
    window_.reset();
    status_.reset();
    ResourceCache::Instance().releaseCache();
}

bool CInputSkinImpl::createWindow(ParseContext& context, int sectionId, int controlType,
                                  int controlId) {
    std::span<const std::uint8_t> section = findSection(context, sectionId);
    if (section.empty()) {
        return false;
    }
    window_ = CreateControl(controlType, controlId);
    if (window_) {
        window_->Create(section, &context);
    }
    return true;
}

void CInputSkinImpl::createStatus(ParseContext& context) {
    std::span<const std::uint8_t> section = findSection(context, kStatusId);
    if (section.empty()) {
        return;
    }
    status_ = CreateControl(5, 38);
    if (status_) {
        status_->Create(section, &context);
    }
}

int CInputSkinImpl::LoadSkin(int kind, std::span<const std::uint8_t> payload,
                             std::uint16_t entryCount, int customSkin) {
    return LoadSkin(kind, payload, entryCount, customSkin, nullptr);
}

int CInputSkinImpl::LoadSkin(int kind, std::span<const std::uint8_t> payload,
                             std::uint16_t entryCount, int customSkin,
                             const std::array<PictureKey, kSlotCount>* pictureKeys) {
    if (payload.empty() || entryCount == 0) {
        return 0;
    }
    Unload();
    const WindowMode mode = windowMode(normalisedMode(kind), false);
    if (kind == 5) {
        vertical_ = 1;
    }
    ParseContext context;
    if (!loadPayload(context, payload, entryCount, customSkin)) {
        return 1;
    }
    context.pictureKeys = pictureKeys;
    createWindow(context, mode.section, mode.controlType, mode.controlId);
    createStatus(context);
    release(context);
    return 1;
}

int CInputSkinImpl::LoadInstalledSkin() {
    const int modeNumber = normalisedMode(settings_.windowMode);
    const WindowMode mode = windowMode(modeNumber, true);
    vertical_ = mode.vertical ? 1 : 0;
    const std::filesystem::path path = installedSkinPath(settings_);
    ParseContext context;
    if (!path.empty() && loadFile(context, path)) {
        bool built = createWindow(context, mode.section, mode.controlType, mode.controlId);
        if (!built) {
            // A skin without the layout asked for: the nearest one it has.
            switch (modeNumber) {
                case 2: built = createWindow(context, 0, 0, 0); break;
                case 3:
                    built = createWindow(context, 1, 0, 0);
                    vertical_ = 1;
                    break;
                case 4: built = createWindow(context, 2, mode.controlType, mode.controlId); break;
                case 5:
                    built = createWindow(context, 3, mode.controlType, mode.controlId);
                    vertical_ = 1;
                    break;
                default: break;
            }
        }
        if (built) {
            createStatus(context);
            release(context);
            return 1;
        }
        window_.reset();
        release(context);
    }
    return loadBuiltInSkin(modeNumber) ? 1 : 0;
}

bool CInputSkinImpl::loadBuiltInSkin(int windowMode) {
    const std::vector<std::uint8_t> payload = buildBuiltInPayload(
        settings_.statusItemMask, settings_.statusStyle, CDPI::Instance().highDpi != 0);
    if (payload.empty()) {
        return false;
    }
    ParseContext context;
    if (!loadBuiltIn(context, payload, settings_.statusStyle == 1)) {
        return false;
    }
    const WindowMode mode = tandel::windowMode(windowMode, false);
    createWindow(context, mode.section, mode.controlType, mode.controlId);
    createStatus(context);
    release(context);
    return true;
}

IControl* CInputSkinImpl::root(int type) const {
    switch (type) {
        case kRootWindow:
        case kRootInnerPart: return window_.get();
        case kRootStatus: return status_.get();
        default: return nullptr;
    }
}

int CInputSkinImpl::Layout(int type, ContextHead* context) {
    IControl* control = type == kRootInnerPart ? nullptr : root(type);
    return control != nullptr ? control->Layout(context) : 0;
}

int CInputSkinImpl::Draw(int type, Canvas* canvas, const Rect* clip) {
    IControl* control = type == kRootInnerPart ? nullptr : root(type);
    if (canvas == nullptr || control == nullptr) {
        return 0;
    }
    return control->Draw(canvas, clip);
}

int CInputSkinImpl::OnMouse(int type, int message, int x, int y, int keys, MouseResult* result) {
    if (result == nullptr) {
        return 0;
    }
    if (type == kRootWindow) {
        if (window_) {
            window_->OnMouse(message, x, y, keys, result);
        }
        return 1;
    }
    if (type == kRootStatus) {
        return status_ ? status_->OnMouse(message, x, y, keys, result) : 1;
    }
    return 1;
}

int CInputSkinImpl::GetRect(int type, Rect* out) {
    IControl* control = root(type);
    if (out == nullptr || control == nullptr) {
        return 0;
    }
    *out = control->GetRect(type == kRootStatus ? 0 : type);
    return 1;
}

int CInputSkinImpl::GetCaretOffset(Point* out) {
    if (out == nullptr || !window_) {
        return 0;
    }
    const Rect offset = window_->GetCaretOffset();
    *out = {offset.left, offset.top};
    return 1;
}

int CInputSkinImpl::GetOuterMargins(int type, Rect* out) {
    IControl* control = type == kRootInnerPart ? nullptr : root(type);
    if (out == nullptr || control == nullptr) {
        return 0;
    }
    *out = control->GetOuterMargins();
    return 1;
}

int CInputSkinImpl::OnTimer(int type, MouseResult* result) {
    IControl* control = type == kRootInnerPart ? nullptr : root(type);
    return control != nullptr ? control->OnTimer(result) : 0;
}

int CInputSkinImpl::ResetAnimation(int type) {
    IControl* control = type == kRootInnerPart ? nullptr : root(type);
    if (control == nullptr) {
        return type;
    }
    control->ResetAnimation();
    return 0;
}

int CInputSkinImpl::ResetAnimation2(int type) {
    IControl* control = type == kRootInnerPart ? nullptr : root(type);
    if (control == nullptr) {
        return type;
    }
    control->ResetAnimation2();
    return 0;
}

}  // namespace tandel
