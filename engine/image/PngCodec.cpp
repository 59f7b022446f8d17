#include <png.h>

#include <algorithm>
#include <climits>
#include <new>

#include "ApngFrames.h"
#include "Codecs.h"
#include "PngChunks.h"
#include "PngStream.h"

namespace tandel {
namespace {

// libpng reports errors by longjmp; the function that calls setjmp and the callbacks hold
// nothing that needs a destructor.
[[noreturn]] void onWriteError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void onWriteWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    // Outside the handler: the exception must be gone before libpng longjmps.
    if (!stored) {
        png_error(png, "out of memory");
    }
}

void onFlush(png_structp) {}

class WriteStruct {
public:
    explicit WriteStruct(std::vector<std::uint8_t>& out)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onWriteError,
                                       onWriteWarning)) {
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
            png_set_write_fn(png_, &out, onWrite, onFlush);
        }
    }
    ~WriteStruct() { png_destroy_write_struct(&png_, &info_); }
    WriteStruct(const WriteStruct&) = delete;
    WriteStruct& operator=(const WriteStruct&) = delete;

    bool isValid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

bool writeImage(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                bool hasAlpha, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, width, height, 8,
                 hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    if (!hasAlpha) {
        // On writing, the filler byte is the one dropped.
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool decodePng(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why) {
    // A file whose chunks cannot all be walked is still left to libpng, which may show its
    // IDAT image; only its animation is lost.
    std::vector<PngChunk> chunks;
    std::optional<ApngAnimation> animation;
    if (readPngChunks(bytes, chunks, nullptr)) {
        animation = readApngAnimation(chunks);
    }
    if (animation && animation->pixelCount > kMaxImagePixels) {
        if (why != nullptr) {
            *why = "PNG: the animation's frames together are over the size limit";
        }
        return false;
    }
    DecodedImage image;
    if (!decodePngStream(bytes, image.still, why)) {
        return false;
    }
    image.format = PictureFormat::Png;
    image.canvasWidth = image.still.width();
    image.canvasHeight = image.still.height();
    if (animation && decodeApngFrames(*animation, image.still, image.frames)) {
        image.loopCount = int(std::min<std::uint32_t>(animation->numPlays, INT_MAX));
        image.hasLoopCount = true;
    } else {
        image.frames.clear();
    }
    out = std::move(image);
    return true;
}

std::optional<std::vector<std::uint8_t>> encodePng(const Bitmap& bitmap) {
    if (bitmap.isEmpty()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out;
    WriteStruct writer(out);
    if (!writer.isValid()) {
        return std::nullopt;
    }
    // libpng copies each row before transforming it, so the bitmap is not written to.
    std::vector<png_bytep> rows(std::size_t(bitmap.height()));
    for (int y = 0; y < bitmap.height(); ++y) {
        rows[std::size_t(y)] = const_cast<png_bytep>(bitmap.row(y));
    }
    if (!writeImage(writer.png(), writer.info(), png_uint_32(bitmap.width()),
                    png_uint_32(bitmap.height()), bitmap.hasAlpha(), rows.data())) {
        return std::nullopt;
    }
    return out;
}

}  // namespace tandel
