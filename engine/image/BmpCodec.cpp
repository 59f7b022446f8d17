#include <array>
#include <bit>
#include <cstring>

#include "Codecs.h"

namespace tandel {
namespace {

// Layout of the file header and the info headers, as byte offsets of little-endian fields.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetField = 10;
// Offsets inside the info header, which starts at kFileHeaderSize.
constexpr std::size_t kInfoWidth = 4;
constexpr std::size_t kInfoHeight = 8;
constexpr std::size_t kInfoPlanes = 12;
constexpr std::size_t kInfoBits = 14;
constexpr std::size_t kInfoCompression = 16;
constexpr std::size_t kInfoColorsUsed = 32;
constexpr std::size_t kInfoMasks = 40;  // red, green, blue and (from 56 bytes on) alpha
// The OS/2 1.x header: 16-bit width and height, then planes and bits.
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kCoreWidth = 4;
constexpr std::size_t kCoreHeight = 6;
constexpr std::size_t kCorePlanes = 8;
constexpr std::size_t kCoreBits = 10;

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kV2HeaderSize = 52;
constexpr std::size_t kV3HeaderSize = 56;
constexpr std::size_t kV4HeaderSize = 108;
constexpr std::size_t kV5HeaderSize = 124;
// OS/2 2.x headers are 64 bytes, or any shorter length from 16 on with the rest taken as 0.
constexpr std::size_t kOs2MinHeaderSize = 16;
constexpr std::size_t kOs2MaxHeaderSize = 64;

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitfields = 3;  // Huffman 1D in OS/2 2.x headers
constexpr std::uint32_t kJpeg = 4;       // RLE24 in OS/2 2.x headers
constexpr std::uint32_t kPng = 5;
constexpr std::uint32_t kAlphaBitfields = 6;

constexpr std::uint32_t kOpaqueBlack = 0xFF000000;

std::uint16_t le16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(std::uint8_t(v >> shift));
    }
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255 by its own width so that the
// largest value of any width becomes 255.
class Channel {
public:
    Channel() = default;
    explicit Channel(std::uint32_t mask)
        : mask_(mask),
          shift_(mask == 0 ? 0 : std::countr_zero(mask)),
          max_(mask == 0 ? 0 : std::uint64_t(mask >> shift_)) {}

    bool present() const { return mask_ != 0; }
    // A channel whose bits are not one contiguous run cannot be scaled meaningfully.
    bool contiguous() const { return ((max_ + 1) & max_) == 0; }

    std::uint8_t value(std::uint32_t pixel) const {
        if (max_ == 0) {
            return 0;
        }
        std::uint64_t v = (pixel & mask_) >> shift_;
        return std::uint8_t((v * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint64_t max_ = 0;
};

enum class Rle { None, Rle8, Rle4, Rle24 };

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // as stored: negative for top-down rows
    unsigned bits = 0;
    std::uint32_t compression = kRgb;
    bool os2 = false;  // either OS/2 header: compression 3 and 4 mean other things
    Rle rle = Rle::None;
    std::size_t paletteEntrySize = 4;
    std::size_t paletteOffset = 0;
    std::uint64_t paletteEntries = 0;
    std::array<Channel, 4> channels;  // red, green, blue, alpha
    std::size_t pixelOffset = 0;
    std::uint64_t rowSize = 0;  // of uncompressed rows, padded to 4 bytes

    std::int64_t rows() const { return height < 0 ? -height : height; }
};

using Palette = std::array<std::uint32_t, 256>;  // 0xAARRGGBB; missing entries are black

class BmpReader {
public:
    BmpReader(std::span<const std::uint8_t> bytes, std::string* why) : bytes_(bytes), why_(why) {}

    bool decode(DecodedImage& out);

private:
    bool refuse(const std::string& reason) {
        if (why_ != nullptr) {
            *why_ = "BMP: " + reason;
        }
        return false;
    }
    bool has(std::uint64_t offset, std::uint64_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }

    bool readLayout();
    bool readMasks(std::size_t headerSize);
    Palette readPalette() const;
    void decodeRows(const Palette& palette, Bitmap& bitmap);
    bool decodeRle(const Palette& palette, Bitmap& bitmap);

    std::span<const std::uint8_t> bytes_;
    std::string* why_;
    Layout layout_;
};

bool BmpReader::readLayout() {
    if (bytes_.size() < 2 || bytes_[0] != 'B' || bytes_[1] != 'M') {
        return refuse("not a BMP file");
    }
    if (!has(0, kFileHeaderSize + 4)) {
        return refuse("file ends inside the header");
    }
    Layout& l = layout_;
    const std::uint32_t pixelOffset = le32(bytes_.data() + kPixelOffsetField);
    const std::uint8_t* info = bytes_.data() + kFileHeaderSize;
    std::uint32_t headerSize = le32(info);
    bool windows = headerSize == kInfoHeaderSize || headerSize == kV2HeaderSize ||
                   headerSize == kV3HeaderSize || headerSize == kV4HeaderSize ||
                   headerSize == kV5HeaderSize;
    bool os2v2 = !windows && headerSize >= kOs2MinHeaderSize && headerSize <= kOs2MaxHeaderSize;
    if (headerSize != kCoreHeaderSize && !windows && !os2v2) {
        return refuse("unknown info header size " + std::to_string(headerSize));
    }
    if (!has(kFileHeaderSize, headerSize)) {
        return refuse("file ends inside the header");
    }
    unsigned planes = 0;
    if (headerSize == kCoreHeaderSize) {
        l.width = le16(info + kCoreWidth);
        l.height = le16(info + kCoreHeight);
        planes = le16(info + kCorePlanes);
        l.bits = le16(info + kCoreBits);
        l.os2 = true;
        l.paletteEntrySize = 3;
    } else {
        // Fields past a shortened OS/2 2.x header count as 0.
        std::array<std::uint8_t, kInfoHeaderSize> fields{};
        std::memcpy(fields.data(), info, std::min<std::size_t>(headerSize, kInfoHeaderSize));
        l.width = std::int32_t(le32(fields.data() + kInfoWidth));
        l.height = std::int32_t(le32(fields.data() + kInfoHeight));
        planes = le16(fields.data() + kInfoPlanes);
        l.bits = le16(fields.data() + kInfoBits);
        l.compression = le32(fields.data() + kInfoCompression);
        l.paletteEntries = le32(fields.data() + kInfoColorsUsed);
        l.os2 = os2v2;
    }
    if (planes != 1) {
        return refuse("planes must be 1, not " + std::to_string(planes));
    }
    if (l.width <= 0 || l.height == 0) {
        return refuse("width and height must be positive");
    }
    if (!withinImageLimits(l.width, l.rows())) {
        return refuse("picture of " + std::to_string(l.width) + " x " + std::to_string(l.rows()) +
                      " pixels is over the size limit");
    }

    if (l.os2 && l.compression == kBitfields) {
        return refuse("OS/2 Huffman compression is not supported");
    }
    if (!l.os2 && (l.compression == kJpeg || l.compression == kPng)) {
        return refuse("embedded JPEG or PNG pictures are not supported");
    }
    bool rle24 = l.os2 && l.compression == kJpeg;
    bool valid = false;
    switch (l.bits) {
        case 1:
        case 2:
        case 4:
        case 8:
            valid = l.compression == kRgb || (l.compression == kRle8 && l.bits == 8) ||
                    (l.compression == kRle4 && l.bits == 4);
            break;
        case 16:
        case 32:
            valid = l.compression == kRgb ||
                    (!l.os2 && (l.compression == kBitfields || l.compression == kAlphaBitfields));
            break;
        case 24: valid = l.compression == kRgb || rle24; break;
        default: return refuse("unsupported bit depth " + std::to_string(l.bits));
    }
    if (!valid) {
        return refuse("compression " + std::to_string(l.compression) + " does not go with " +
                      std::to_string(l.bits) + " bits per pixel");
    }
    l.rle = l.compression == kRle8   ? Rle::Rle8
            : l.compression == kRle4 ? Rle::Rle4
            : rle24                  ? Rle::Rle24
                                     : Rle::None;
    if (l.rle != Rle::None && l.height < 0) {
        return refuse("compressed pictures cannot be stored top-down");
    }
    l.paletteOffset = kFileHeaderSize + headerSize;
    if (!readMasks(headerSize)) {
        return false;
    }

    if (l.bits <= 8) {
        std::uint64_t full = std::uint64_t(1) << l.bits;
        if (l.paletteEntries == 0 || l.paletteEntries > full) {
            l.paletteEntries = full;
        }
        // A palette ends where the pixels begin; OS/2 1.x headers have no colour count at all.
        std::uint64_t room = pixelOffset > l.paletteOffset
                                 ? (pixelOffset - l.paletteOffset) / l.paletteEntrySize
                                 : 0;
        l.paletteEntries = std::min(l.paletteEntries, room);
        if (!has(l.paletteOffset, l.paletteEntries * l.paletteEntrySize)) {
            return refuse("file ends inside the palette");
        }
    } else {
        l.paletteEntries = 0;
    }

    if (pixelOffset < l.paletteOffset) {
        return refuse("pixel data overlaps the headers");
    }
    if (!has(pixelOffset, 0)) {
        return refuse("pixel data starts past the end of the file");
    }
    l.pixelOffset = pixelOffset;
    if (l.rle == Rle::None) {
        l.rowSize = (std::uint64_t(l.width) * l.bits + 31) / 32 * 4;
        if (!has(pixelOffset, l.rowSize * std::uint64_t(l.rows()))) {
            return refuse("file ends inside the pixel data");
        }
    }
    return true;
}

bool BmpReader::readMasks(std::size_t headerSize) {
    Layout& l = layout_;
    if (l.bits != 16 && l.bits != 32) {
        return true;
    }
    std::array<std::uint32_t, 4> masks{};
    if (l.compression == kRgb) {
        masks = l.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                             : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
    } else {
        // From 52 bytes on the masks are part of the header; a 40-byte header is followed by
        // them. The alpha mask exists from 56 bytes on, or with BI_ALPHABITFIELDS.
        std::size_t count = l.compression == kAlphaBitfields || headerSize >= kV3HeaderSize ? 4 : 3;
        std::size_t offset = kFileHeaderSize + kInfoMasks;
        if (headerSize == kInfoHeaderSize) {
            l.paletteOffset += 4 * count;  // any palette follows the masks
        }
        if (!has(offset, 4 * count)) {
            return refuse("file ends inside the colour masks");
        }
        for (std::size_t i = 0; i < count; ++i) {
            masks[i] = le32(bytes_.data() + offset + 4 * i);
        }
    }
    std::uint32_t used = 0;
    for (std::size_t i = 0; i < masks.size(); ++i) {
        Channel channel(masks[i]);
        if (!channel.contiguous() || (used & masks[i]) != 0 ||
            (l.bits == 16 && masks[i] > 0xFFFF)) {
            return refuse("invalid colour masks");
        }
        used |= masks[i];
        l.channels[i] = channel;
    }
    return true;
}

Palette BmpReader::readPalette() const {
    Palette palette;
    palette.fill(kOpaqueBlack);
    const std::uint8_t* entry = bytes_.data() + layout_.paletteOffset;
    for (std::uint64_t i = 0; i < layout_.paletteEntries; ++i, entry += layout_.paletteEntrySize) {
        palette[i] =
            kOpaqueBlack | std::uint32_t(entry[2]) << 16 | std::uint32_t(entry[1]) << 8 | entry[0];
    }
    return palette;
}

void BmpReader::decodeRows(const Palette& palette, Bitmap& bitmap) {
    const Layout& l = layout_;
    int width = bitmap.width();
    int height = bitmap.height();
    const auto& [red, green, blue, alpha] = l.channels;
    for (int r = 0; r < height; ++r) {
        const std::uint8_t* src = bytes_.data() + l.pixelOffset + std::size_t(r) * l.rowSize;
        std::uint8_t* dst = bitmap.row(l.height < 0 ? r : height - 1 - r);
        for (int x = 0; x < width; ++x, dst += 4) {
            std::uint32_t argb = 0;
            switch (l.bits) {
                case 1:
                case 2:
                case 4:
                case 8: {
                    std::size_t bit = std::size_t(x) * l.bits;
                    unsigned shift = 8 - l.bits - bit % 8;
                    argb = palette[(src[bit / 8] >> shift) & ((1u << l.bits) - 1)];
                    break;
                }
                case 24: {
                    const std::uint8_t* p = src + 3 * std::size_t(x);
                    argb =
                        kOpaqueBlack | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
                    break;
                }
                default: {
                    std::uint32_t v = l.bits == 16 ? le16(src + 2 * std::size_t(x))
                                                   : le32(src + 4 * std::size_t(x));
                    std::uint32_t a = alpha.present() ? alpha.value(v) : 255;
                    argb = a << 24 | std::uint32_t(red.value(v)) << 16 |
                           std::uint32_t(green.value(v)) << 8 | blue.value(v);
                    break;
                }
            }
            std::memcpy(dst, &argb, 4);
        }
    }
    bitmap.setHasAlpha(alpha.present());
}

bool BmpReader::decodeRle(const Palette& palette, Bitmap& bitmap) {
    const Layout& l = layout_;
    const std::uint8_t* data = bytes_.data() + l.pixelOffset;
    const std::size_t size = bytes_.size() - l.pixelOffset;
    const std::int64_t width = bitmap.width();
    const std::int64_t height = bitmap.height();
    // Rows count from the bottom of the picture.
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::size_t at = 0;
    auto put = [&](std::uint32_t argb) {
        if (x >= width || y >= height) {
            return false;
        }
        bitmap.setArgb(int(x), int(height - 1 - y), argb);
        ++x;
        return true;
    };
    auto rgb = [](const std::uint8_t* p) {
        return kOpaqueBlack | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    };
    const char* overrun = "compressed data runs past the edge of the picture";
    for (;;) {
        if (size - at < 2) {
            return refuse("compressed data ends without an end-of-picture mark");
        }
        unsigned count = data[at];
        unsigned value = data[at + 1];
        at += 2;
        if (count > 0) {
            // RLE4 runs alternate between the two colours of their byte.
            std::uint32_t colors[2] = {palette[value >> 4], palette[value & 0x0F]};
            if (l.rle == Rle::Rle8) {
                colors[0] = colors[1] = palette[value];
            } else if (l.rle == Rle::Rle24) {
                if (size - at < 2) {
                    return refuse("compressed data ends inside a run");
                }
                const std::uint8_t bgr[3] = {std::uint8_t(value), data[at], data[at + 1]};
                at += 2;
                colors[0] = colors[1] = rgb(bgr);
            }
            for (unsigned i = 0; i < count; ++i) {
                if (!put(colors[i % 2])) {
                    return refuse(overrun);
                }
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (size - at < 2) {
                return refuse("compressed data ends inside a move");
            }
            x += data[at];
            y += data[at + 1];
            at += 2;
            if (x > width || y > height) {
                return refuse(overrun);
            }
        } else {
            // Absolute runs are padded to whole 16-bit words.
            std::size_t bytes = l.rle == Rle::Rle8   ? value
                                : l.rle == Rle::Rle4 ? (value + 1) / 2
                                                     : 3 * std::size_t(value);
            bytes += bytes % 2;
            if (size - at < bytes) {
                return refuse("compressed data ends inside a run");
            }
            const std::uint8_t* run = data + at;
            for (unsigned i = 0; i < value; ++i) {
                std::uint32_t argb = l.rle == Rle::Rle8 ? palette[run[i]]
                                     : l.rle == Rle::Rle4
                                         ? palette[(run[i / 2] >> (i % 2 == 0 ? 4 : 0)) & 0x0F]
                                         : rgb(run + 3 * std::size_t(i));
                if (!put(argb)) {
                    return refuse(overrun);
                }
            }
            at += bytes;
        }
    }
    // Pixels the stream skipped stay transparent.
    bool skipped = false;
    for (int r = 0; r < bitmap.height() && !skipped; ++r) {
        for (int c = 0; c < bitmap.width() && !skipped; ++c) {
            skipped = bitmap.pixel(c, r)[3] == 0;
        }
    }
    bitmap.setHasAlpha(skipped);
    return true;
}

bool BmpReader::decode(DecodedImage& out) {
    if (!readLayout()) {
        return false;
    }
    std::optional<Bitmap> bitmap = Bitmap::create(int(layout_.width), int(layout_.rows()));
    if (!bitmap) {
        return refuse("out of memory");
    }
    Palette palette = readPalette();
    if (layout_.rle != Rle::None) {
        if (!decodeRle(palette, *bitmap)) {
            return false;
        }
    } else {
        decodeRows(palette, *bitmap);
    }
    out.format = PictureFormat::Bmp;
    out.canvasWidth = bitmap->width();
    out.canvasHeight = bitmap->height();
    out.still = std::move(*bitmap);
    return true;
}

}  // namespace

bool decodeBmp(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why) {
    return BmpReader(bytes, why).decode(out);
}

std::optional<std::vector<std::uint8_t>> encodeBmp(const Bitmap& bitmap) {
    if (bitmap.isEmpty()) {
        return std::nullopt;
    }
    // Opaque pictures as plain 24-bit rows, which every reader knows; with alpha a V4 header,
    // whose alpha mask is what tells readers that the fourth byte is alpha.
    const bool alpha = bitmap.hasAlpha();
    const std::size_t headerSize = alpha ? kV4HeaderSize : kInfoHeaderSize;
    const std::size_t bytesPerPixel = alpha ? 4 : 3;
    const std::size_t rowSize = (std::size_t(bitmap.width()) * bytesPerPixel + 3) / 4 * 4;
    const std::size_t imageSize = rowSize * std::size_t(bitmap.height());
    const std::size_t pixelOffset = kFileHeaderSize + headerSize;
    const std::uint64_t fileSize = std::uint64_t(pixelOffset) + imageSize;
    if (fileSize > 0xFFFFFFFF) {
        return std::nullopt;
    }
    constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch
    constexpr std::uint32_t kSrgb = 0x73524742;      // 'sRGB'

    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(fileSize));
    out.push_back('B');
    out.push_back('M');
    put32(out, std::uint32_t(fileSize));
    put32(out, 0);
    put32(out, std::uint32_t(pixelOffset));

    put32(out, std::uint32_t(headerSize));
    put32(out, std::uint32_t(bitmap.width()));
    put32(out, std::uint32_t(bitmap.height()));
    put16(out, 1);
    put16(out, std::uint16_t(8 * bytesPerPixel));
    put32(out, alpha ? kBitfields : kRgb);
    put32(out, std::uint32_t(imageSize));
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);
    put32(out, 0);
    if (alpha) {
        for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) {
            put32(out, mask);
        }
        put32(out, kSrgb);
        out.resize(pixelOffset, 0);  // end points and gamma, unused with sRGB
    }

    for (int y = bitmap.height() - 1; y >= 0; --y) {
        const std::uint8_t* src = bitmap.row(y);
        if (alpha) {
            out.insert(out.end(), src, src + bitmap.stride());
        } else {
            for (int x = 0; x < bitmap.width(); ++x, src += 4) {
                out.insert(out.end(), src, src + 3);
            }
        }
        out.resize(out.size() + rowSize - std::size_t(bitmap.width()) * bytesPerPixel, 0);
    }
    return out;
}

}  // namespace tandel
