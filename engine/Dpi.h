// Scaling of 96-DPI skin values to the screen's DPI. CDPI serves the render engine, CDPIEditor
// the editor's own dialogs and preview panel. Both read the screen's horizontal DPI once, when
// created, from a source the platform sets (96 when nothing sets one).
#pragma once

#include <cstdint>

#include "Geometry.h"
#include "SkinFile.h"

namespace tandel {

using ScreenDpiSource = int (*)();
// Where CDPI and CDPIEditor read the DPI from; null restores the default of 96.
void SetScreenDpiSource(ScreenDpiSource source);
int ReadScreenDpi();

class CDPI {
public:
    static CDPI& Instance();

    virtual ~CDPI() = default;
    // Re-reads the DPI; does nothing and returns 0 when scaling is disabled.
    virtual int Refresh();
    // An alternative DPI source that is never active.
    virtual int RefreshFromAlternative() { return 0; }

    // halfScale when enabled, useHalf and highDpi all hold, else scale; 1 when disabled.
    double Factor(bool useHalf) const;
    // value * factor, truncated towards zero (the value itself when disabled).
    int Scaled(int value, bool useHalf = false) const;

    void ScaleRect(Rect& rect, bool useHalf) const;
    void ScalePlacement(PlacementHead& placement, bool useHalf) const;
    void ScaleStretchSpec(StretchSpec& stretch, bool useHalf) const;
    void ScalePoint(std::int16_t (&point)[2], bool useHalf) const;

    double scale = 1.0;
    double halfScale = 0.5;
    std::int32_t enabled = 1;
    std::int32_t highDpi = 0;

protected:
    CDPI();
    void Read();
};

class CDPIEditor {
public:
    static CDPIEditor& Instance();

    virtual ~CDPIEditor() = default;
    virtual int Refresh();

    int ScaleValue(int value) const { return enabled ? int(value * scale) : value; }

    double scale = 1.0;
    std::int32_t enabled = 1;

protected:
    CDPIEditor();
};

}  // namespace tandel
