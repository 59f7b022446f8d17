// What the pages ask of the main window that owns them.
#pragma once

#include <QColor>

class QWidget;

namespace tandel {

class PlatformServices;

class IEditorHost {
public:
    virtual ~IEditorHost() = default;

    // Reloads the engine objects from the skin document (only the status bar with statusOnly)
    // when the skin changed and no file is loading; then the preview is redrawn by
    // RedrawPreview.
    virtual int RebuildSkins(bool statusOnly) = 0;
    virtual void RedrawPreview() = 0;
    // Marks the document changed: the next rebuild reloads the engine objects.
    virtual void SetSkinChanged(bool changed) = 0;

    // The preview background: 0 white, 1 green, 2 black, 3 red.
    virtual int BackgroundIndex() const = 0;
    virtual void SetBackgroundIndex(int index) = 0;
    virtual QColor BackgroundColour() const = 0;

    // The check wizard's scene, and the background cycling of its first scene.
    virtual void SetWizardScene(int scene) = 0;
    virtual void SetBackgroundCycling(bool on) = 0;
    virtual void OnSave() = 0;

    virtual PlatformServices& Services() = 0;
    virtual QWidget* Window() = 0;
};

}  // namespace tandel
