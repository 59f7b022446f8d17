// The painters of the controls. Every control paints through one renderer, which owns at most
// one picture and takes the skin's pictures, colours and fonts from the resource cache by
// index. The skin look serves skins with their own data; the system look (plain white
// background centres, text without anti-aliasing) serves the engine's built-in skin.
#pragma once

#include <cstdint>
#include <memory>

#include "Canvas.h"
#include "Geometry.h"
#include "RUZizod.h"
#include "SkinFile.h"

namespace tandel {

class ResourceCache;

class IRender {
public:
    virtual ~IRender() = default;
    // Takes the picture of a slot from the cache. frameSize: the unscaled width of one frame
    // of a button strip; stretch: the unscaled border bands of a background.
    virtual int LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) = 0;
    virtual int SetFontIndex(int index) = 0;
    virtual int SetColorIndex(int index) = 0;
    virtual int GetColorIndex() const = 0;
    virtual int DrawImage(Canvas* canvas, const Rect* rect, int state) = 0;
    virtual int DrawStretched(Canvas* canvas, const Rect* rect, const StretchSpec* stretch) = 0;
    virtual int DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                         unsigned format) = 0;
    virtual int MeasureText(Canvas* canvas, const char16_t* text, int length, Size* out) = 0;
    virtual int FillColor(Canvas* canvas, const Rect* rect) = 0;
    virtual int DrawTinted(Canvas* canvas, const Rect* rect, int colourIndex) = 0;
    virtual Rect GetImageRect() const = 0;
    virtual int DrawArrow(Canvas* canvas, const Rect* rect, const Point (&points)[3],
                          int state) = 0;
    virtual int DrawFrame(Canvas* canvas, const Rect* rect) = 0;
    virtual int Reserved() = 0;
    virtual int IsAnimated() const = 0;
    virtual int NextFrame() = 0;
    virtual int GetFrameDelay() const = 0;
};

// The state every renderer has and what each slot does unless a renderer class says more:
// loading and tinting the picture, colours by index, the animation pass-throughs.
class ZODBaseRender : public IRender {
public:
    explicit ZODBaseRender(ResourceCache* cache) : cache_(cache) {}

    int LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) override;
    int SetFontIndex(int) override { return 0; }
    int SetColorIndex(int index) override;
    int GetColorIndex() const override { return colourIndex_; }
    int DrawImage(Canvas*, const Rect*, int) override { return 0; }
    int DrawStretched(Canvas*, const Rect*, const StretchSpec*) override { return 0; }
    int DrawText(Canvas*, const Rect*, const char16_t*, int, unsigned) override { return 0; }
    int MeasureText(Canvas*, const char16_t*, int, Size*) override { return 0; }
    int FillColor(Canvas*, const Rect*) override { return 0; }
    int DrawTinted(Canvas*, const Rect*, int) override { return 0; }
    Rect GetImageRect() const override;
    int DrawArrow(Canvas*, const Rect*, const Point (&)[3], int) override { return 0; }
    int DrawFrame(Canvas*, const Rect*) override { return 0; }
    int Reserved() override { return 0; }
    int IsAnimated() const override;
    int NextFrame() override;
    int GetFrameDelay() const override;

    RUZizodGdi* picture() const { return picture_.get(); }

protected:
    // The colour at the selected index (colour 0 for an index outside 0..7).
    std::uint32_t selectedColour() const;
    bool hasPicture() const { return picture_ && picture_->IsValid(); }
    double pictureScale() const;
    // For the text and tip renderers: the font index is kept when it is at most 5.
    int storeFontIndex(int index);
    // Text in the selected font and colour; opaque for the system look.
    int drawSelectedText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                         unsigned format, bool opaque) const;

    std::unique_ptr<RUZizodGdi> picture_;
    int colourIndex_ = -1;
    int fontIndex_ = -1;
    ResourceCache* cache_;
};

class ZODImageRender : public ZODBaseRender {
public:
    using ZODBaseRender::ZODBaseRender;
    int LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) override;
    int DrawImage(Canvas* canvas, const Rect* rect, int state) override;
    int FillColor(Canvas* canvas, const Rect* rect) override;
    int DrawTinted(Canvas* canvas, const Rect* rect, int colourIndex) override;
};

// Nine-grid backgrounds, stretched or tiled; the split line; the status bar background.
class ZODImageStretchRender : public ZODImageRender {
public:
    using ZODImageRender::ZODImageRender;
    int LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) override;
    int DrawStretched(Canvas* canvas, const Rect* rect, const StretchSpec* stretch) override;

protected:
    int splitBackground(const StretchSpec& stretch, bool fitBands);
};

// Backgrounds of the built-in skin: the centre is painted plain white.
class ZODSystemImageStretchRender : public ZODImageStretchRender {
public:
    using ZODImageStretchRender::ZODImageStretchRender;
    int LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) override;
    int DrawStretched(Canvas* canvas, const Rect* rect, const StretchSpec* stretch) override;
};

class ZODButtonRender : public ZODBaseRender {
public:
    using ZODBaseRender::ZODBaseRender;
    int LoadImage(int slot, const int* frameSize, const StretchSpec* stretch) override;
    int DrawImage(Canvas* canvas, const Rect* rect, int state) override;
    int DrawArrow(Canvas* canvas, const Rect* rect, const Point (&points)[3], int state) override;
};

class ZODTextRender : public ZODBaseRender {
public:
    using ZODBaseRender::ZODBaseRender;
    int SetFontIndex(int index) override { return storeFontIndex(index); }
    int DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                 unsigned format) override;
    int MeasureText(Canvas* canvas, const char16_t* text, int length, Size* out) override;
};

// Text of the built-in skin: drawn opaque, without the skin look's coverage alpha.
class ZODSystemTextRender : public ZODTextRender {
public:
    using ZODTextRender::ZODTextRender;
    int DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                 unsigned format) override;
};

// Text with a fill colour of its own.
class ZODTextSingleRender : public ZODTextRender {
public:
    using ZODTextRender::ZODTextRender;
    int FillColor(Canvas* canvas, const Rect* rect) override;
    void SetOwnColour(std::uint32_t colour) { ownColour_ = colour; }

private:
    std::uint32_t ownColour_ = 0xFFFFFFFF;
};

// The composition tip: text, fills and rounded frames.
class ZODTipRender : public ZODBaseRender {
public:
    using ZODBaseRender::ZODBaseRender;
    int SetFontIndex(int index) override { return storeFontIndex(index); }
    int DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                 unsigned format) override;
    int FillColor(Canvas* canvas, const Rect* rect) override;
    int DrawFrame(Canvas* canvas, const Rect* rect) override;
};

class ZODSystemTipRender : public ZODTipRender {
public:
    using ZODTipRender::ZODTipRender;
    int DrawText(Canvas* canvas, const Rect* rect, const char16_t* text, int length,
                 unsigned format) override;
};

// The renderer for a control type code (0..20), or null for 16, 17 and unknown codes.
std::unique_ptr<IRender> CreateRender(ResourceCache* cache, int customSkin, int type);

}  // namespace tandel
