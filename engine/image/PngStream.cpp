#include "PngStream.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace tandel {
namespace {

// What the libpng callbacks share. libpng reports errors by longjmp, which skips every frame
// between png_error and setjmp; so this state, the callbacks and the functions that call
// setjmp hold nothing that needs a destructor.
struct ReadState {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
    char message[160];
};

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    ReadState* state = static_cast<ReadState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onRead(png_structp png, png_bytep out, png_size_t length) {
    ReadState* state = static_cast<ReadState*>(png_get_io_ptr(png));
    if (length > state->size - state->position) {
        png_error(png, "the file ends early");
    }
    std::memcpy(out, state->data + state->position, length);
    state->position += length;
}

class ReadStruct {
public:
    explicit ReadStruct(ReadState& state)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning)) {
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
            png_set_read_fn(png_, &state, onRead);
        }
    }
    ~ReadStruct() { png_destroy_read_struct(&png_, &info_, nullptr); }
    ReadStruct(const ReadStruct&) = delete;
    ReadStruct& operator=(const ReadStruct&) = delete;

    bool isValid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

struct Header {
    png_uint_32 width;
    png_uint_32 height;
    bool hasAlpha;
};

// Reads the chunks before the image data.
bool readHeader(png_structp png, png_infop info, Header* header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                       png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    return true;
}

// Reads the image data into rows of width * 4 bytes.
bool readPixels(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != 4 * std::size_t(png_get_image_width(png, info))) {
        png_error(png, "unexpected row layout");
    }
    png_read_image(png, rows);
    return true;
}

bool refuse(std::string* why, const std::string& reason) {
    if (why != nullptr) {
        *why = "PNG: " + reason;
    }
    return false;
}

}  // namespace

bool decodePngStream(std::span<const std::uint8_t> bytes, Bitmap& out, std::string* why) {
    ReadState state{bytes.data(), bytes.size(), 0, {}};
    ReadStruct reader(state);
    if (!reader.isValid()) {
        return refuse(why, "libpng could not start");
    }
    Header header{};
    if (!readHeader(reader.png(), reader.info(), &header)) {
        return refuse(why, state.message);
    }
    // libpng keeps both sides below 2^31, so they fit an int.
    std::optional<Bitmap> bitmap = Bitmap::create(int(header.width), int(header.height));
    if (!bitmap) {
        return refuse(why, "picture of " + std::to_string(header.width) + " x " +
                               std::to_string(header.height) + " pixels is over the size limit");
    }
    std::vector<png_bytep> rows(header.height);
    for (int y = 0; y < bitmap->height(); ++y) {
        rows[std::size_t(y)] = bitmap->row(y);
    }
    if (!readPixels(reader.png(), reader.info(), rows.data())) {
        return refuse(why, state.message);
    }
    bitmap->setHasAlpha(header.hasAlpha);
    out = std::move(*bitmap);
    return true;
}

}  // namespace tandel
