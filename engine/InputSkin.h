// The engine's skin object: the control trees of one input window and of the status bar. The
// input method describes the skin it wants in a settings record and the object finds the
// installed skin file, falling back to the built-in skin (IInputSkin); the editor hands it a
// payload from memory with the window kind it previews (IInputSkinEdit).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "Control.h"
#include "SkinParser.h"
#include "SkinSettings.h"

namespace tandel {

// The input method release the engine belongs to: the folder below the install folder that holds
// its programs and shared skins.
inline constexpr char16_t kVersionFolder[] = u"2.6.0.1603";

// Roots a call addresses.
enum SkinRoot { kRootWindow = 1, kRootInnerPart = 2, kRootStatus = 3 };

class IInputSkin {
public:
    virtual ~IInputSkin() = default;
    virtual int Initialize(PictureModule module) = 0;
    virtual void Release() = 0;
    virtual int UpdateSettings(const SkinSettings* settings) = 0;
    virtual int LoadInstalledSkin() = 0;
    virtual void Unload() = 0;
    virtual int Layout(int type, ContextHead* context) = 0;
    virtual int Draw(int type, Canvas* canvas, const Rect* clip) = 0;
    virtual int OnMouse(int type, int message, int x, int y, int keys, MouseResult* result) = 0;
    virtual int GetRect(int type, Rect* out) = 0;
    virtual int GetCaretOffset(Point* out) = 0;
    virtual int GetOuterMargins(int type, Rect* out) = 0;
    virtual int IsVertical() = 0;
    virtual int HasNoSkin() = 0;
    virtual int OnTimer(int type, MouseResult* result) = 0;
    virtual int ResetAnimation(int type) = 0;
    virtual int ResetAnimation2(int type) = 0;
};

class IInputSkinEdit {
public:
    virtual ~IInputSkinEdit() = default;
    virtual void Unload() = 0;
    // kind: the window mode to build (0..5); the payload must stay alive during the call.
    virtual int LoadSkin(int kind, std::span<const std::uint8_t> payload, std::uint16_t entryCount,
                         int customSkin) = 0;
    virtual int Layout(int type, ContextHead* context) = 0;
    virtual int Draw(int type, Canvas* canvas, const Rect* clip) = 0;
    virtual int GetRect(int type, Rect* out) = 0;
    virtual int OnTimer(int type, MouseResult* result) = 0;
    virtual int ResetAnimation(int type) = 0;
    virtual int ResetAnimation2(int type) = 0;
};

class CInputSkinImpl : public IInputSkin, public IInputSkinEdit {
public:
    CInputSkinImpl() = default;
    ~CInputSkinImpl() override;
    CInputSkinImpl(const CInputSkinImpl&) = delete;
    CInputSkinImpl& operator=(const CInputSkinImpl&) = delete;

    int Initialize(PictureModule module) override;
    void Release() override { Unload(); }
    int UpdateSettings(const SkinSettings* settings) override;
    int LoadInstalledSkin() override;
    void Unload() override;
    int LoadSkin(int kind, std::span<const std::uint8_t> payload, std::uint16_t entryCount,
                 int customSkin) override;
    // The same with the keys of the payload's pictures by slot, from the payload's owner.
    int LoadSkin(int kind, std::span<const std::uint8_t> payload, std::uint16_t entryCount,
                 int customSkin, const std::array<PictureKey, kSlotCount>* pictureKeys);
    int Layout(int type, ContextHead* context) override;
    int Draw(int type, Canvas* canvas, const Rect* clip) override;
    int OnMouse(int type, int message, int x, int y, int keys, MouseResult* result) override;
    int GetRect(int type, Rect* out) override;
    int GetCaretOffset(Point* out) override;
    int GetOuterMargins(int type, Rect* out) override;
    int IsVertical() override { return vertical_; }
    int HasNoSkin() override { return settings_.skinId[0] == '\0'; }
    int OnTimer(int type, MouseResult* result) override;
    int ResetAnimation(int type) override;
    int ResetAnimation2(int type) override;

    const SkinSettings& settings() const { return settings_; }
    // The root a type addresses: 1 (and 2 for GetRect) the window, 3 the status bar.
    IControl* root(int type) const;

private:
    // Builds the window control of a mode from section sectionId of the context.
    bool createWindow(ParseContext& context, int sectionId, int controlType, int controlId);
    void createStatus(ParseContext& context);
    bool loadBuiltInSkin(int windowMode);

    std::unique_ptr<IControl> window_;
    std::unique_ptr<IControl> status_;
    SkinSettings settings_{};
    std::int32_t vertical_ = 0;
    std::int32_t initialized_ = 0;
    std::mutex lock_;
};

}  // namespace tandel
