// The preview of the skin being edited, drawn by the engine as the input method would draw it:
// five engine skin objects (the status bar and the four window kinds) loaded from the
// document's payload and laid out against the canned scenarios, each drawn into a cleared
// layer and blended over a solid background colour into the composition surface. The editor's
// preview panel and the command-line renderer both draw through this class.
#pragma once

#include <array>
#include <functional>

#include "Canvas.h"
#include "Control.h"
#include "InputSkin.h"
#include "SkinDocument.h"

namespace tandel {

// The preview background colours by index, as canvas pixels (0xAARRGGBB): white, green,
// black, red.
inline constexpr std::uint32_t kPreviewBackgrounds[4] = {0xFFFFFFFF, 0xFF00FF00, 0xFF000000,
                                                         0xFFFF0000};

// The main window's tabs.
enum PreviewTab {
    kTabInfo = 0,
    kTabFont = 1,
    kTabStatus = 2,
    kTabHorizontal = 3,
    kTabVertical = 4,
    kTabCheck = 5,
};

// The window kinds, in the order of their engine objects.
enum WindowKind { kHorizontal = 0, kVertical = 1, kHorizontalSplit = 2, kVerticalSplit = 3 };

// What the preview shows: the tab, the check wizard's scene, whether the horizontal and the
// vertical window are split, and the background index.
struct PreviewState {
    int tab = kTabInfo;
    int scene = 0;
    bool horizontalSplit = false;
    bool verticalSplit = false;
    int background = 0;
};

class PreviewRenderer {
public:
    // Draws the status bar's check scene into a layer and returns its content size.
    using StatusScenesDrawer = std::function<Size(Canvas& layer)>;

    // Surfaces of the given size; they only grow.
    PreviewRenderer(int surfaceWidth, int surfaceHeight);

    // Loads the document into every engine object and lays each out.
    void Load(SkinDocument& document);
    // Loads what the input method would show for these settings into every engine object (the
    // installed skin they name, else the built-in skin), each with its own window mode.
    void LoadInstalled(const SkinSettings& settings);
    // Reloads the engine objects the state needs and lays them out again: only the status bar
    // with statusOnly; the window kind in use on the window tabs; else all four.
    void RebuildSkins(SkinDocument& document, bool statusOnly, const PreviewState& state);
    // Draws the state's preview into the composition surface over its background colour and
    // returns the content size (0 x 0 for the tabs that show a fixed view). viewWidth and
    // viewHeight: the part of the surfaces the window tabs and the status scene show.
    Size Render(const PreviewState& state, int viewWidth, int viewHeight,
                const StatusScenesDrawer& statusScenes = {});
    // Grows the surfaces when content of that size does not fit; true when they grew.
    bool GrowFor(Size content);
    // The animation step of every engine object; true when something changed.
    bool StepAnimation();

    Canvas& Composition() { return composition_; }
    // The whole window and its inner candidate part, from the last render of a window tab.
    Rect WindowRect() const { return windowRect_; }
    Rect InnerRect() const { return innerRect_; }
    LayoutContext& WindowContext(int kind) { return windowContexts_[std::size_t(kind)]; }
    StatusContext& StatusBarContext() { return statusContext_; }

private:
    void loadKind(SkinDocument& document, int kind);
    void loadStatus(SkinDocument& document);
    // Draws one root of an engine object into the cleared layer and blends the given size of
    // it to (x, y) of the composition surface.
    void drawAndBlend(CInputSkinImpl& object, int root, Size size, int x, int y);
    void blendLayer(int width, int height, int x, int y);
    ISchemeInfo* scenario(const PreviewState& state) const;

    CInputSkinImpl status_;
    std::array<CInputSkinImpl, 4> windows_;
    StatusContext statusContext_;
    std::array<LayoutContext, 4> windowContexts_;
    Canvas layer_;
    Canvas composition_;
    Rect windowRect_;
    Rect innerRect_;
};

}  // namespace tandel
