// A 32-bit picture in memory: bytes B, G, R, A per pixel, straight (not premultiplied) alpha,
// rows top-down without padding. Decoders produce it, the compositor reads it, and frames of
// animations are kept in it. Copies share their pixels until one of them is written through a
// non-const accessor, so that a decoded picture can back every control that shows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace tandel {

// Limits against hostile files, checked before any pixel buffer is allocated.
inline constexpr int kMaxImageSide = 8192;
inline constexpr std::uint64_t kMaxImagePixels = std::uint64_t(64) << 20;  // all frames together

class Bitmap {
public:
    Bitmap() = default;
    // A zeroed (transparent black) bitmap; nothing when the size is empty or over the limits.
    static std::optional<Bitmap> create(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
    std::size_t stride() const { return 4 * std::size_t(width_); }

    std::uint8_t* row(int y) { return data() + std::size_t(y) * stride(); }
    const std::uint8_t* row(int y) const { return data() + std::size_t(y) * stride(); }
    std::uint8_t* pixel(int x, int y) { return row(y) + 4 * std::size_t(x); }
    const std::uint8_t* pixel(int x, int y) const { return row(y) + 4 * std::size_t(x); }
    // The writable pixels: a bitmap that shares them with a copy takes its own first.
    std::uint8_t* data() {
        if (pixels_.use_count() > 1) {
            detach();
        }
        return pixels_.get();
    }
    const std::uint8_t* data() const { return pixels_.get(); }
    std::size_t byteSize() const { return byteSize_; }
    // Whether another bitmap shares these pixels.
    bool sharesPixels(const Bitmap& other) const { return pixels_ && pixels_ == other.pixels_; }

    // Whether the alpha bytes carry transparency (an alpha plane). Without it every pixel is
    // drawn opaque, whatever its alpha byte holds.
    bool hasAlpha() const { return hasAlpha_; }
    void setHasAlpha(bool hasAlpha) { hasAlpha_ = hasAlpha; }

    // Packed pixel value 0xAARRGGBB (as the bytes B, G, R, A read little-endian).
    std::uint32_t argb(int x, int y) const;
    void setArgb(int x, int y, std::uint32_t argb);

    // A copy of the part (x, y, width, height), which must lie inside.
    Bitmap cropped(int x, int y, int width, int height) const;

private:
    // A bitmap of the size with pixels that are zero, or left for the caller to fill.
    static Bitmap allocate(int width, int height, bool zeroed);
    void detach();

    int width_ = 0;
    int height_ = 0;
    bool hasAlpha_ = false;
    std::size_t byteSize_ = 0;
    std::shared_ptr<std::uint8_t[]> pixels_;
};

// Whether a picture of the given size is within the limits.
bool withinImageLimits(std::int64_t width, std::int64_t height);

}  // namespace tandel
