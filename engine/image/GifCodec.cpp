// GIF through giflib's record-by-record reader rather than DGifSlurp, which allocates every
// raster at the size the file declares: here each size is checked against the limits before a
// pixel buffer exists.
//
// A GIF with two or more images is an animation: `frames` holds every image as stored (its own
// size and offset, delay, disposal; the transparent index as alpha 0) and `still` the first
// one composed on the logical screen. A GIF with a single image is a still picture: `frames`
// stays empty and `still` is that image composed on the screen. Images of zero width or height
// draw nothing and are skipped. A damaged or truncated file keeps the images completed before
// the damage; with none completed it is refused.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "Codecs.h"
#include "FrameComposer.h"
#include "GifPalette.h"

namespace tandel {
namespace {

struct Input {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
};

int readInput(GifFileType* gif, GifByteType* buffer, int size) {
    auto* input = static_cast<Input*>(gif->UserData);
    if (size <= 0 || input->position >= input->bytes.size()) {
        return 0;
    }
    const std::size_t count = std::min(std::size_t(size), input->bytes.size() - input->position);
    std::memcpy(buffer, input->bytes.data() + input->position, count);
    input->position += count;
    return int(count);
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using Decoder = std::unique_ptr<GifFileType, DecoderCloser>;

std::string giflibMessage(int error) {
    const char* message = GifErrorString(error);
    return message != nullptr ? message : "giflib error " + std::to_string(error);
}

std::string sizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// What a graphic control extension says about the image after it.
struct Control {
    int delay = 0;  // 1/100 s
    Disposal disposal = Disposal::Unspecified;
    int transparent = -1;
};

Control controlFrom(std::span<const GifByteType> block) {
    Control control;
    if (block.size() < 4) {
        return control;
    }
    const int method = (block[0] >> 2) & 7;
    control.disposal = method <= 3 ? Disposal(method) : Disposal::Unspecified;
    control.delay = block[1] | block[2] << 8;
    if ((block[0] & 1) != 0) {
        control.transparent = block[3];
    }
    return control;
}

bool isLoopApplication(std::span<const GifByteType> block) {
    constexpr std::string_view netscape = "NETSCAPE2.0", animexts = "ANIMEXTS1.0";
    const std::string_view name(reinterpret_cast<const char*>(block.data()), block.size());
    return name == netscape || name == animexts;
}

// Packed 0xAARRGGBB per index: the table's colours, black beyond its end.
std::array<std::uint32_t, 256> paletteFor(const ColorMapObject* map, int transparent) {
    std::array<std::uint32_t, 256> palette;
    palette.fill(0xFF000000);
    if (map != nullptr && map->Colors != nullptr) {
        const int count = std::clamp(map->ColorCount, 0, 256);
        for (int i = 0; i < count; ++i) {
            const GifColorType& c = map->Colors[i];
            palette[std::size_t(i)] =
                0xFF000000 | std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue;
        }
    } else {
        palette[1] = 0xFFFFFFFF;  // no table at all: black and white
    }
    if (transparent >= 0) {
        palette[std::size_t(transparent)] = 0;
    }
    return palette;
}

// The rows of an image in the order the file stores them.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(std::size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) {
            rows.push_back(y);
        }
        return rows;
    }
    constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass]) {
            rows.push_back(y);
        }
    }
    return rows;
}

class GifReader {
public:
    GifReader(GifFileType* gif, const Input& input, DecodedImage& image)
        : gif_(gif), input_(input), image_(image) {}

    // Reads records up to the trailer or the first damage.
    void readAll() {
        image_.canvasWidth = gif_->SWidth;
        image_.canvasHeight = gif_->SHeight;
        if (image_.canvasWidth <= 0 || image_.canvasHeight <= 0) {
            refusal_ =
                "logical screen of " + sizeText(gif_->SWidth, gif_->SHeight) + " pixels is empty";
            return;
        }
        if (!withinImageLimits(image_.canvasWidth, image_.canvasHeight)) {
            refusal_ = "logical screen of " + sizeText(gif_->SWidth, gif_->SHeight) +
                       " pixels is over the size limit";
            return;
        }
        budget_ = kMaxImagePixels - std::uint64_t(image_.canvasWidth) * image_.canvasHeight;
        for (bool more = true; more;) {
            GifRecordType record = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(gif_, &record) == GIF_ERROR) {
                return void(fail());
            }
            switch (record) {
                case IMAGE_DESC_RECORD_TYPE: more = readImage(); break;
                case EXTENSION_RECORD_TYPE: more = readExtension(); break;
                default: more = false; break;  // the trailer (giflib refuses other records)
            }
        }
    }

    // Set when the file breaks a limit: it is refused whatever was read before.
    const std::string& refusal() const { return refusal_; }
    // Why reading ended before the trailer, if it did.
    const std::string& damage() const { return damage_; }

private:
    bool fail() {
        damage_ = giflibMessage(gif_->Error);
        return false;
    }

    bool readExtension() {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) {
            return fail();
        }
        bool loopApplication = false;
        for (bool first = true; block != nullptr; first = false) {
            const std::span<const GifByteType> data(block + 1, block[0]);
            if (code == GRAPHICS_EXT_FUNC_CODE && first) {
                control_ = controlFrom(data);
            } else if (code == APPLICATION_EXT_FUNC_CODE && first) {
                loopApplication = isLoopApplication(data);
            } else if (loopApplication && data.size() >= 3 && data[0] == 1) {
                image_.loopCount = data[1] | data[2] << 8;
                image_.hasLoopCount = true;
            }
            if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) {
                return fail();
            }
        }
        return true;
    }

    bool skipImageData() {
        int codeSize = 0;
        GifByteType* block = nullptr;
        if (DGifGetCode(gif_, &codeSize, &block) == GIF_ERROR) {
            return fail();
        }
        while (block != nullptr) {
            if (DGifGetCodeNext(gif_, &block) == GIF_ERROR) {
                return fail();
            }
        }
        return true;
    }

    bool readImage() {
        if (DGifGetImageDesc(gif_) == GIF_ERROR) {
            // Short of the end of the file, the only failing read is giflib rejecting the LZW
            // code size, the descriptor's last byte.
            if (gif_->Error == D_GIF_ERR_READ_FAILED && input_.position < input_.bytes.size()) {
                damage_ = "LZW code size " + std::to_string(input_.bytes[input_.position - 1]) +
                          " is above 8";
                return false;
            }
            return fail();
        }
        const Control control = std::exchange(control_, Control{});
        const GifImageDesc& desc = gif_->Image;
        if (desc.Width <= 0 || desc.Height <= 0) {
            return skipImageData();
        }
        const std::uint64_t pixels = std::uint64_t(desc.Width) * std::uint64_t(desc.Height);
        if (!withinImageLimits(desc.Width, desc.Height)) {
            refusal_ =
                "image of " + sizeText(desc.Width, desc.Height) + " pixels is over the size limit";
            return false;
        }
        if (pixels > budget_) {
            refusal_ = "the images together are over the pixel limit";
            return false;
        }
        budget_ -= pixels;
        ImageFrame frame;
        frame.bitmap = *Bitmap::create(desc.Width, desc.Height);
        frame.bitmap.setHasAlpha(control.transparent >= 0);
        frame.offsetX = desc.Left;
        frame.offsetY = desc.Top;
        frame.delayMs = control.delay * 10;
        frame.disposal = control.disposal;
        frame.blend = Blend::Over;
        const std::array<std::uint32_t, 256> palette = paletteFor(
            desc.ColorMap != nullptr ? desc.ColorMap : gif_->SColorMap, control.transparent);
        std::vector<GifPixelType> line(std::size_t(desc.Width));
        for (int y : rowOrder(desc.Height, desc.Interlace)) {
            if (DGifGetLine(gif_, line.data(), desc.Width) == GIF_ERROR) {
                return fail();
            }
            for (int x = 0; x < desc.Width; ++x) {
                frame.bitmap.setArgb(x, y, palette[line[std::size_t(x)]]);
            }
        }
        image_.frames.push_back(std::move(frame));
        return true;
    }

    GifFileType* gif_;
    const Input& input_;
    DecodedImage& image_;
    Control control_;
    std::uint64_t budget_ = 0;  // pixels left for images
    std::string refusal_;
    std::string damage_;
};

// The first frame on the transparent logical screen.
Bitmap composeFirst(DecodedImage& image) {
    DecodedImage first;
    first.format = image.format;
    first.canvasWidth = image.canvasWidth;
    first.canvasHeight = image.canvasHeight;
    first.frames.push_back(std::move(image.frames.front()));
    std::vector<Bitmap> composed = composeFrames(first);
    image.frames.front() = std::move(first.frames.front());
    return std::move(composed.front());
}

}  // namespace

bool decodeGif(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why) {
    auto refuse = [&](const std::string& reason) {
        if (why != nullptr) {
            *why = "GIF: " + reason;
        }
        return false;
    };
    Input input{bytes};
    int error = D_GIF_SUCCEEDED;
    Decoder gif(DGifOpen(&input, readInput, &error));
    if (!gif) {
        return refuse(giflibMessage(error));
    }
    DecodedImage image;
    image.format = PictureFormat::Gif;
    image.loopCount = 1;  // without a loop extension a GIF plays once
    GifReader reader(gif.get(), input, image);
    reader.readAll();
    if (!reader.refusal().empty()) {
        return refuse(reader.refusal());
    }
    if (image.frames.empty()) {
        return refuse(reader.damage().empty() ? "no image in the file" : reader.damage());
    }
    image.still = composeFirst(image);
    if (image.frames.size() == 1) {
        image.frames.clear();
    }
    out = std::move(image);
    return true;
}

namespace {

int writeOutput(GifFileType* gif, const GifByteType* data, int size) {
    if (size <= 0) {
        return 0;
    }
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    bytes->insert(bytes->end(), data, data + size);
    return size;
}

struct MapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeGif(const Bitmap& bitmap) {
    if (!withinImageLimits(bitmap.width(), bitmap.height())) {
        return std::nullopt;
    }
    PalettedPicture picture = reduceToPalette(bitmap);
    int bits = 1;
    while (std::size_t(1) << bits < picture.colours.size()) {
        ++bits;
    }
    std::vector<GifColorType> table(std::size_t(1) << bits, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < picture.colours.size(); ++i) {
        const std::uint32_t rgb = picture.colours[i];
        table[i] = {GifByteType(rgb >> 16), GifByteType(rgb >> 8), GifByteType(rgb)};
    }
    const std::unique_ptr<ColorMapObject, MapFreer> map(
        GifMakeMapObject(int(table.size()), table.data()));
    if (!map) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    int error = E_GIF_SUCCEEDED;
    GifFileType* gif = EGifOpen(&bytes, writeOutput, &error);
    if (gif == nullptr) {
        return std::nullopt;
    }
    EGifSetGifVersion(gif, true);
    const int width = bitmap.width(), height = bitmap.height();
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map.get()) == GIF_OK;
    if (ok && picture.transparentIndex >= 0) {
        const GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0,
                                           picture.transparentIndex};
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
        ok = EGifPutLine(gif, picture.indices.data() + std::size_t(y) * std::size_t(width),
                         width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (!ok) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tandel
