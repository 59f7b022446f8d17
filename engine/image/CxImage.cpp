#include "CxImage.h"

#include <cstring>

#include "Canvas.h"
#include "Codecs.h"
#include "Compositing.h"
#include "FileBytes.h"
#include "FrameComposer.h"
#include "Resample.h"
#include "RowCompositing.h"

namespace tandel {
namespace {

// Picture files larger than this cannot hold a picture within the size limits.
constexpr std::size_t kMaxPictureFileSize = std::size_t(512) << 20;

// The area of the canvas a draw may touch, with the mapping from canvas to picture pixels.
struct DrawArea {
    Rect area;
    bool stretched;
    float columnRatio;
    float rowRatio;
};

std::optional<DrawArea> drawArea(const Canvas& canvas, const Bitmap& picture, int x, int y,
                                 int width, int height, const Rect* clip) {
    Rect destination{x, y, x + width, y + height};
    Rect area = canvas.clipBox().intersected(destination);
    if (clip != nullptr) {
        area = area.intersected(*clip);
    }
    if (area.right < area.left || area.bottom < area.top) {
        return std::nullopt;
    }
    return DrawArea{area.intersected(canvas.bounds()),
                    width != picture.width() || height != picture.height(),
                    float(picture.width()) / float(width), float(picture.height()) / float(height)};
}

// Calls op(canvasRow, pictureRow, count) for every row of the area: nearest neighbour with
// single-precision ratios, rows counted from the picture's bottom line as the renderer does.
// Stretched rows are gathered first so that op always sees runs of pixels.
template <typename Op>
void forEachRow(Canvas& canvas, const Bitmap& picture, int x, int y, const DrawArea& d, Op op) {
    const Rect& a = d.area;
    if (a.isEmpty()) {
        return;
    }
    if (!d.stretched) {
        for (int cy = a.top; cy < a.bottom; ++cy) {
            op(canvas.pixels().pixel(a.left, cy), picture.pixel(a.left - x, cy - y), a.width());
        }
        return;
    }
    std::vector<int> columns(std::size_t(a.width()));
    for (int cx = a.left; cx < a.right; ++cx) {
        int column = int(float(cx - x) * d.columnRatio);
        columns[std::size_t(cx - a.left)] = std::clamp(column, 0, picture.width() - 1);
    }
    std::vector<std::uint32_t> gathered(std::size_t(a.width()));
    const float imageHeight = float(picture.height());
    int gatheredRow = -1;
    for (int cy = a.top; cy < a.bottom; ++cy) {
        int fromBottom = int(imageHeight - float(cy - y + 1) * d.rowRatio);
        fromBottom = std::clamp(fromBottom, 0, picture.height() - 1);
        const int row = picture.height() - 1 - fromBottom;
        if (row != gatheredRow) {
            const std::uint8_t* srcRow = picture.row(row);
            for (std::size_t i = 0; i < gathered.size(); ++i) {
                std::memcpy(&gathered[i], srcRow + 4 * std::size_t(columns[i]), 4);
            }
            gatheredRow = row;
        }
        op(canvas.pixels().pixel(a.left, cy),
           reinterpret_cast<const std::uint8_t*>(gathered.data()), a.width());
    }
}

}  // namespace

bool CxImage::decode(std::span<const std::uint8_t> bytes, std::string* why) {
    DecodedImage decoded;
    if (!decodeImage(bytes, decoded, why)) {
        return false;
    }
    if (decoded.frames.empty()) {
        pixels_ = std::move(decoded.still);
    } else {
        std::vector<Bitmap> first = composeFrames(decoded, 1);
        if (first.empty()) {
            if (why != nullptr) {
                *why = "the animation's first frame cannot be composed";
            }
            return false;
        }
        pixels_ = std::move(first.front());
    }
    decoded.still = Bitmap{};
    decoded_ = std::move(decoded);
    return true;
}

bool CxImage::loadFile(const std::filesystem::path& path, std::string* why) {
    std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(path, kMaxPictureFileSize);
    if (!bytes) {
        if (why != nullptr) {
            *why = "cannot read " + path.string();
        }
        return false;
    }
    return decode(*bytes, why);
}

bool CxImage::resample(int width, int height) {
    std::optional<Bitmap> resampled = resampleBitmap(pixels_, width, height);
    if (!resampled) {
        return false;
    }
    pixels_ = std::move(*resampled);
    return true;
}

std::optional<std::vector<std::uint8_t>> CxImage::encode(int type) const {
    if (!isValid()) {
        return std::nullopt;
    }
    switch (type) {
        case kSaveBmp: return encodeBmp(pixels_);
        case kSaveJpeg: return encodeJpeg(pixels_);
        case kSaveGif: return encodeGif(pixels_);
        default: return encodePng(pixels_);
    }
}

bool CxImageEx::createFromBgra(const std::uint8_t* pixels, int width, int height) {
    std::optional<Bitmap> bitmap = Bitmap::create(width, height);
    if (pixels == nullptr || !bitmap) {
        return false;
    }
    std::memcpy(bitmap->data(), pixels, bitmap->byteSize());
    bitmap->setHasAlpha(true);
    pixels_ = std::move(*bitmap);
    decoded_ = DecodedImage{};
    return true;
}

int CxImageEx::drawToCanvas(Canvas& canvas, int x, int y, int width, int height,
                            const Rect* clip) const {
    if (!isValid() || !canvas.isAlphaCanvas()) {
        return 0;
    }
    if (width < 0 || height < 0) {
        width = this->width();
        height = this->height();
    }
    if (width == 0 || height == 0) {
        return 0;
    }
    std::optional<DrawArea> d = drawArea(canvas, pixels_, x, y, width, height, clip);
    if (!d) {
        return 0;
    }
    if (pixels_.hasAlpha()) {
        forEachRow(canvas, pixels_, x, y, *d, blendRow);
    } else {
        forEachRow(canvas, pixels_, x, y, *d, copyRowOpaque);
    }
    return 1;
}

int CxImageEx::drawBlended(Canvas& canvas, const Rect& rect, const Rect* clip) const {
    if (!isValid() || rect.isEmpty() || canvas.pixels().isEmpty()) {
        return 0;
    }
    std::optional<DrawArea> d =
        drawArea(canvas, pixels_, rect.left, rect.top, rect.width(), rect.height(), clip);
    if (!d) {
        return 0;
    }
    const bool alpha = pixels_.hasAlpha();
    forEachRow(canvas, pixels_, rect.left, rect.top, *d,
               [alpha](std::uint8_t* dst, const std::uint8_t* src, int n) {
                   for (int i = 0; i < n; ++i, dst += 4, src += 4) {
                       unsigned a = alpha ? src[3] : 255;
                       if (a == 0) {
                           continue;
                       }
                       unsigned keep = 255 - a;
                       for (int c = 0; c < 3; ++c) {
                           dst[c] =
                               a == 255 ? src[c] : std::uint8_t((dst[c] * keep + src[c] * a) >> 8);
                       }
                       dst[3] = 255;
                   }
               });
    return 1;
}

}  // namespace tandel
