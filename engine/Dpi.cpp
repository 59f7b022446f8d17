#include "Dpi.h"

namespace tandel {
namespace {

int defaultDpi() {
    return 96;
}

ScreenDpiSource gDpiSource = &defaultDpi;

template <typename T>
T scaledField(T value, double factor) {
    return T(int(value * factor));
}

}  // namespace

void SetScreenDpiSource(ScreenDpiSource source) {
    gDpiSource = source != nullptr ? source : &defaultDpi;
}

int ReadScreenDpi() {
    int dpi = gDpiSource();
    return dpi > 0 ? dpi : 96;
}

CDPI::CDPI() {
    Read();
}

CDPI& CDPI::Instance() {
    static CDPI* instance = new CDPI();  // lives as long as the process
    return *instance;
}

void CDPI::Read() {
    const int dpi = ReadScreenDpi();
    scale = dpi / 96.0;
    halfScale = dpi / 192.0;
    highDpi = dpi >= 192;
}

int CDPI::Refresh() {
    if (!enabled) {
        return 0;
    }
    Read();
    return 1;
}

double CDPI::Factor(bool useHalf) const {
    if (!enabled) {
        return 1.0;
    }
    return useHalf && highDpi ? halfScale : scale;
}

int CDPI::Scaled(int value, bool useHalf) const {
    return int(value * Factor(useHalf));
}

void CDPI::ScaleRect(Rect& rect, bool useHalf) const {
    const double f = Factor(useHalf);
    rect = {scaledField(rect.left, f), scaledField(rect.top, f), scaledField(rect.right, f),
            scaledField(rect.bottom, f)};
}

void CDPI::ScalePlacement(PlacementHead& placement, bool useHalf) const {
    const double f = Factor(useHalf);
    placement.x = scaledField(placement.x, f);
    placement.y = scaledField(placement.y, f);
    placement.width = scaledField(placement.width, f);
    placement.height = scaledField(placement.height, f);
}

void CDPI::ScaleStretchSpec(StretchSpec& stretch, bool useHalf) const {
    const double f = Factor(useHalf);
    stretch.left = scaledField(stretch.left, f);
    stretch.right = scaledField(stretch.right, f);
    stretch.top = scaledField(stretch.top, f);
    stretch.bottom = scaledField(stretch.bottom, f);
}

void CDPI::ScalePoint(std::int16_t (&point)[2], bool useHalf) const {
    const double f = Factor(useHalf);
    point[0] = scaledField(point[0], f);
    point[1] = scaledField(point[1], f);
}

CDPIEditor::CDPIEditor() {
    scale = ReadScreenDpi() / 96.0;
}

CDPIEditor& CDPIEditor::Instance() {
    static CDPIEditor* instance = new CDPIEditor();
    return *instance;
}

int CDPIEditor::Refresh() {
    scale = ReadScreenDpi() / 96.0;
    return 1;
}

}  // namespace tandel
