#include "PreviewRenderer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "BuiltInPictures.h"
#include "RowCompositing.h"
#include "Scenarios.h"

namespace tandel {
namespace {

Canvas makeSurface(int width, int height, Canvas::Kind kind) {
    std::optional<Canvas> canvas = Canvas::create(std::max(width, 1), std::max(height, 1), kind);
    return canvas ? std::move(*canvas) : Canvas{};
}

}  // namespace

PreviewRenderer::PreviewRenderer(int surfaceWidth, int surfaceHeight)
    : layer_(makeSurface(surfaceWidth, surfaceHeight, Canvas::Kind::Alpha)),
      composition_(makeSurface(surfaceWidth, surfaceHeight, Canvas::Kind::Screen)) {
    // The engine's own default pictures stand in for pictures a payload lacks.
    ResourceCache::Instance().module = &builtInPicture;
    statusContext_.canvas = &layer_;
    for (LayoutContext& context : windowContexts_) {
        context.canvas = &layer_;
        context.scheme = &INPUT_INFO();
    }
}

void PreviewRenderer::loadStatus(SkinDocument& document) {
    document.layOut();
    if (!document.payload().empty()) {
        status_.LoadSkin(kHorizontal, document.payload(), document.header.entryCount, 1,
                         &document.payloadPictureKeys());
    }
    status_.Layout(kRootStatus, &statusContext_);
}

void PreviewRenderer::loadKind(SkinDocument& document, int kind) {
    document.layOut();
    if (!document.payload().empty()) {
        windows_[std::size_t(kind)].LoadSkin(kind, document.payload(), document.header.entryCount,
                                             1, &document.payloadPictureKeys());
    }
    windows_[std::size_t(kind)].Layout(kRootWindow, &windowContexts_[std::size_t(kind)]);
}

void PreviewRenderer::Load(SkinDocument& document) {
    loadStatus(document);
    for (int kind = 0; kind < 4; ++kind) {
        loadKind(document, kind);
    }
}

void PreviewRenderer::LoadInstalled(const SkinSettings& settings) {
    SkinSettings own = settings;
    own.windowMode = 0;
    status_.Initialize(&builtInPicture);
    status_.UpdateSettings(&own);
    status_.Layout(kRootStatus, &statusContext_);
    for (int kind = 0; kind < 4; ++kind) {
        own.windowMode = std::uint8_t(kind);
        windows_[std::size_t(kind)].Initialize(&builtInPicture);
        windows_[std::size_t(kind)].UpdateSettings(&own);
        windows_[std::size_t(kind)].Layout(kRootWindow, &windowContexts_[std::size_t(kind)]);
    }
}

ISchemeInfo* PreviewRenderer::scenario(const PreviewState& state) const {
    if (state.tab == kTabCheck) {
        switch (state.scene) {
            case 2: return &INPUT_INFO_LONG();
            case 3: return &INPUT_INFO3();
            case 4: return &INPUT_INFO9();
            case 5:
            case 6: return &INPUT_INFO0();
            default: break;
        }
    }
    return &INPUT_INFO();
}

void PreviewRenderer::RebuildSkins(SkinDocument& document, bool statusOnly,
                                   const PreviewState& state) {
    if (statusOnly) {
        loadStatus(document);
        return;
    }
    for (LayoutContext& context : windowContexts_) {
        context.scheme = scenario(state);
    }
    if (state.tab == kTabHorizontal) {
        loadKind(document, state.horizontalSplit ? kHorizontalSplit : kHorizontal);
    } else if (state.tab == kTabVertical) {
        loadKind(document, state.verticalSplit ? kVerticalSplit : kVertical);
    } else {
        for (int kind = 0; kind < 4; ++kind) {
            loadKind(document, kind);
        }
    }
}

void PreviewRenderer::blendLayer(int width, int height, int x, int y) {
    const Rect area = Rect{x, y, x + width, y + height}
                          .intersected(composition_.bounds())
                          .intersected(layer_.bounds().offset(x, y));
    if (area.isEmpty()) {
        return;
    }
    for (int row = area.top; row < area.bottom; ++row) {
        blendPremultipliedRow(composition_.pixels().pixel(area.left, row),
                              std::as_const(layer_).pixels().pixel(area.left - x, row - y),
                              area.width());
    }
}

void PreviewRenderer::drawAndBlend(CInputSkinImpl& object, int root, Size size, int x, int y) {
    // Only the part that is blended needs to start clear: whatever the engine paints beyond it
    // is never read.
    layer_.fill({0, 0, size.cx, size.cy}, 0);
    object.Draw(root, &layer_, nullptr);
    blendLayer(size.cx, size.cy, x, y);
}

Size PreviewRenderer::Render(const PreviewState& state, int viewWidth, int viewHeight,
                             const StatusScenesDrawer& statusScenes) {
    composition_.fill(composition_.bounds(),
                      kPreviewBackgrounds[std::clamp(state.background, 0, 3)]);
    Size content{0, 0};
    auto drawWindows = [&](int y, int gapBefore) {
        for (int kind = 0; kind < 4; ++kind) {
            const LayoutContext& context = windowContexts_[std::size_t(kind)];
            drawAndBlend(windows_[std::size_t(kind)], kRootWindow, {context.width, context.height},
                         80, y + gapBefore);
            content.cx = std::max(content.cx, context.width);
            y += context.height + 20;
        }
        return y;
    };
    switch (state.tab) {
        case kTabInfo: {
            drawAndBlend(status_, kRootStatus, {statusContext_.width, statusContext_.height}, 80,
                         20);
            content.cx = statusContext_.width;
            content.cy = drawWindows(statusContext_.height + 40, 0);
            break;
        }
        case kTabFont: content.cy = drawWindows(0, 20); break;
        case kTabCheck:
            if (state.scene == 1) {
                layer_.fill({0, 0, viewWidth, viewHeight}, 0);
                if (statusScenes) {
                    content = statusScenes(layer_);
                }
                blendLayer(viewWidth, viewHeight, 80, 20);
            } else {
                content.cy = drawWindows(0, 20);
            }
            break;
        case kTabHorizontal:
        case kTabVertical: {
            const int kind = state.tab == kTabHorizontal
                                 ? (state.horizontalSplit ? kHorizontalSplit : kHorizontal)
                                 : (state.verticalSplit ? kVerticalSplit : kVertical);
            CInputSkinImpl& object = windows_[std::size_t(kind)];
            layer_.fill({0, 0, viewWidth, viewHeight}, 0);
            object.Draw(kRootWindow, &layer_, nullptr);
            object.GetRect(kRootWindow, &windowRect_);
            object.GetRect(kRootInnerPart, &innerRect_);
            blendLayer(viewWidth, viewHeight, 80, 100);
            break;
        }
        default: break;
    }
    return content;
}

bool PreviewRenderer::GrowFor(Size content) {
    // Content is drawn 80 pixels in from the left; the height keeps a margin for growth.
    int width = composition_.width(), height = composition_.height();
    const bool wider = content.cx + 80 > width;
    const bool taller = content.cy > height;
    if (!wider && !taller) {
        return false;
    }
    width = wider ? content.cx + 80 : width;
    height = taller ? content.cy + 200 : height;
    layer_ = makeSurface(width, height, Canvas::Kind::Alpha);
    composition_ = makeSurface(width, height, Canvas::Kind::Screen);
    return true;
}

bool PreviewRenderer::StepAnimation() {
    bool changed = status_.OnTimer(kRootStatus, nullptr) != 0;
    for (CInputSkinImpl& window : windows_) {
        changed = window.OnTimer(kRootWindow, nullptr) != 0 || changed;
    }
    return changed;
}

}  // namespace tandel
