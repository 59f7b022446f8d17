// The codec image: a decoded picture with its animation frames as the file stores them,
// resampling and encoding. CxImageEx adds building from a raw BGRA buffer and compositing
// straight into a canvas.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "DecodedImage.h"
#include "Geometry.h"

namespace tandel {

class Canvas;

// File types of Save.
enum SaveType { kSaveChosen = 0, kSavePng = 1, kSaveBmp = 2, kSaveJpeg = 3, kSaveGif = 4 };

class CxImage {
public:
    // Decodes a picture with all its frames; the pixels are the picture as shown when still
    // (an animation's first composed frame). On failure the image is left as it was.
    bool decode(std::span<const std::uint8_t> bytes, std::string* why = nullptr);
    bool loadFile(const std::filesystem::path& path, std::string* why = nullptr);

    bool isValid() const { return !pixels_.isEmpty(); }
    int width() const { return pixels_.width(); }
    int height() const { return pixels_.height(); }
    bool hasAlpha() const { return pixels_.hasAlpha(); }
    const Bitmap& pixels() const { return pixels_; }
    Bitmap& mutablePixels() { return pixels_; }
    void setPixels(Bitmap pixels) { pixels_ = std::move(pixels); }

    PictureFormat format() const { return decoded_.format; }
    // The decoded frames (empty for still pictures) and the size they are composed on.
    const DecodedImage& decoded() const { return decoded_; }
    int frameCount() const { return int(decoded_.frames.size()); }

    // Resamples the pixels to width x height (area averaging when shrinking, bilinear when
    // enlarging, in premultiplied alpha). False when the size is empty or too large.
    bool resample(int width, int height);

    // The picture encoded as a file of the given type (kSaveChosen: PNG).
    std::optional<std::vector<std::uint8_t>> encode(int type) const;

protected:
    Bitmap pixels_;
    DecodedImage decoded_;  // frames and loop count; its still picture is moved into pixels_
};

class CxImageEx : public CxImage {
public:
    // Builds the image from width x height pixels of B, G, R, A bytes (rows top-down, like
    // every buffer here), with an alpha plane.
    bool createFromBgra(const std::uint8_t* pixels, int width, int height);

    // Composites the picture into an alpha canvas at (x, y), stretched to width x height
    // (negative: the image's own size), within the canvas's clip box and clip when given.
    // Returns 0 when nothing could be drawn for a reason (no pixels, zero size, not an alpha
    // canvas), 1 otherwise.
    int drawToCanvas(Canvas& canvas, int x, int y, int width, int height,
                     const Rect* clip = nullptr) const;

    // Draws the picture stretched to rect on any canvas by reading back the destination:
    // the codec's own blending draw, used for screen surfaces. Returns 0 when nothing could
    // be drawn.
    int drawBlended(Canvas& canvas, const Rect& rect, const Rect* clip = nullptr) const;
};

}  // namespace tandel
