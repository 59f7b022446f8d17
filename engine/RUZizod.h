// The engine's picture: a decoded image with sub-images (nine-grid pieces or the states of a
// strip), a display scale, and frame-by-frame animation. RUZizod is the interface, RUZizodGdi
// its implementation on the codec image. Every draw takes the canvas to draw on.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "Canvas.h"
#include "CxImage.h"
#include "Geometry.h"

namespace tandel {

class RUZizod {
public:
    virtual ~RUZizod() = default;

    virtual std::unique_ptr<RUZizod> Clone() const = 0;
    virtual bool IsValid() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual Rect GetRect() const;
    virtual int Scale(double factor);
    virtual std::optional<Canvas> CreateHBitmap() const = 0;
    virtual void Colorize(std::uint32_t colour, bool halfAlpha) = 0;
    virtual int Save(const std::filesystem::path& path, int type, int width, int height);
    // subIndex -1 draws the whole picture stretched to rect (mode 1: blended against what
    // the canvas shows, for any canvas; other modes: composited into an alpha canvas),
    // otherwise sub-image subIndex.
    virtual int Draw(Canvas& canvas, const Rect& rect, int subIndex, int mode) = 0;
    virtual int DrawTiled(Canvas& canvas, const Rect& rect, int subIndex);
    // margins: left, top, right and bottom border widths in the destination.
    virtual int DrawNineGridStretched(Canvas& canvas, const Rect& rect, const Rect& margins,
                                      std::uint32_t centreColour);
    virtual int DrawNineGridTiled(Canvas& canvas, const Rect& rect, const Rect& margins,
                                  std::uint32_t centreColour);
    virtual int DrawTinted(Canvas& canvas, const Rect& rect, std::uint32_t colour);
    // insets: how far (in picture pixels) the picture reaches beyond each side of rect.
    virtual int DrawCropped(Canvas& canvas, const Rect& rect, const Rect& insets) = 0;
    virtual bool IsAnimated() const = 0;
    virtual int NextFrame() = 0;
    virtual int GetFrameDelay() const = 0;
    // A built-in picture's bytes (what the resource lookup found); 0 when there are none.
    virtual int LoadFromResource(std::span<const std::uint8_t> resource);
    virtual int LoadFromFile(const std::filesystem::path& path) = 0;
    virtual int LoadFromMemory(const std::uint8_t* data, std::int64_t length) = 0;
    virtual int SplitHorizontal(int count) = 0;
    virtual int SplitRects(std::span<const Rect> rects) = 0;
    virtual int SplitNineGrid(const Rect& margins) = 0;
    virtual RUZizod* GetSubImage(int index) const;
    virtual void FreeSubImages();
    virtual void SetScale(double scale);

    int SubImageCount() const { return int(subImages_.size()); }
    double DisplayScale() const { return scale_; }

protected:
    std::vector<std::unique_ptr<RUZizod>> subImages_;
    double scale_ = 1.0;
};

class RUZizodGdi : public RUZizod {
public:
    std::unique_ptr<RUZizod> Clone() const override;
    bool IsValid() const override;
    int GetWidth() const override;
    int GetHeight() const override;
    Rect GetRect() const override;
    int Scale(double factor) override;
    std::optional<Canvas> CreateHBitmap() const override;
    void Colorize(std::uint32_t colour, bool halfAlpha) override;
    int Save(const std::filesystem::path& path, int type, int width, int height) override;
    int Draw(Canvas& canvas, const Rect& rect, int subIndex, int mode) override;
    int DrawNineGridStretched(Canvas& canvas, const Rect& rect, const Rect& margins,
                              std::uint32_t centreColour) override;
    int DrawNineGridTiled(Canvas& canvas, const Rect& rect, const Rect& margins,
                          std::uint32_t centreColour) override;
    int DrawCropped(Canvas& canvas, const Rect& rect, const Rect& insets) override;
    bool IsAnimated() const override;
    int NextFrame() override;
    int GetFrameDelay() const override;
    int LoadFromFile(const std::filesystem::path& path) override;
    int LoadFromMemory(const std::uint8_t* data, std::int64_t length) override;
    int SplitHorizontal(int count) override;
    int SplitRects(std::span<const Rect> rects) override;
    int SplitNineGrid(const Rect& margins) override;
    void SetScale(double scale) override;

    // A 32-bit canvas with at least one non-zero alpha byte is imported with its alpha, any
    // other without.
    int LoadFromHBitmap(const Canvas& bitmap);
    int LoadFromBgra(const std::uint8_t* pixels, int width, int height);
    void BuildFrames();
    // The picture as it stands, with its composed frames (sub-images are not copied); the copy
    // shares the pixels until either is changed.
    std::unique_ptr<RUZizodGdi> Copy() const;
    // The bytes of pixels it holds: the picture, its decoded and its composed frames.
    std::size_t PixelBytes() const;

    const CxImageEx& Image() const { return image_; }
    int CurrentFrame() const { return currentFrame_; }
    int FrameCount() const { return int(frames_.size()); }

private:
    RUZizodGdi* current();
    const RUZizodGdi* current() const;
    int drawWhole(Canvas& canvas, const Rect& rect, int mode) const;
    void cropInto(RUZizodGdi& piece, const Rect& source) const;

    CxImageEx image_;
    std::vector<std::unique_ptr<RUZizodGdi>> frames_;
    int currentFrame_ = 0;
    int remainingLoops_ = 0;
    Rect bounds_;
};

// A new picture decoded from bytes, or null.
std::unique_ptr<RUZizodGdi> CreateImageFromMemory(const std::uint8_t* data, std::int64_t length);

// A strip of images.size() cells, each the size of the first image (which must be present and
// not empty): every present image is resampled to that size and copied into its cell.
std::unique_ptr<RUZizodGdi> MakeStrip(std::span<const RUZizodGdi* const> images);

}  // namespace tandel
