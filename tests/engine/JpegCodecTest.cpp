#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "Codecs.h"
#include "Corpus.h"
#include "Pictures.h"
#include "TestFiles.h"

namespace tandel {
namespace {

// What libjpeg is asked to write: width x height pixels of `components` bytes each in the
// colour space `input`, stored as `stored`.
struct JpegRecipe {
    int width = 0;
    int height = 0;
    int components = 4;
    J_COLOR_SPACE input = JCS_EXT_BGRA;
    J_COLOR_SPACE stored = JCS_YCbCr;
    bool progressive = false;
    bool adobeMarker = true;  // libjpeg writes one for CMYK and YCCK unless told not to
    std::vector<std::uint8_t> samples;
};

// The recipes are valid, so libjpeg's own error handling (which ends the process) will do.
std::vector<std::uint8_t> jpegBytes(const JpegRecipe& r) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(r.width);
    info.image_height = JDIMENSION(r.height);
    info.input_components = r.components;
    info.in_color_space = r.input;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, r.stored);
    info.write_Adobe_marker = info.write_Adobe_marker && r.adobeMarker;
    jpeg_set_quality(&info, 95, TRUE);
    if (r.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = std::size_t(r.width) * std::size_t(r.components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(r.samples.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// A smooth picture that JPEG keeps well; its size is not a multiple of the 16-pixel blocks.
Bitmap gradient(int width = 61, int height = 47) {
    Bitmap bitmap = *Bitmap::create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setArgb(x, y,
                           0xFF000000 | std::uint32_t(40 + 3 * x) << 16 |
                               std::uint32_t(200 - 3 * y) << 8 | std::uint32_t(60 + x + y));
        }
    }
    return bitmap;
}

std::vector<std::uint8_t> progressive(const Bitmap& bitmap) {
    JpegRecipe recipe;
    recipe.width = bitmap.width();
    recipe.height = bitmap.height();
    recipe.progressive = true;
    recipe.samples.assign(bitmap.data(), bitmap.data() + bitmap.byteSize());
    return jpegBytes(recipe);
}

bool hasMarker(const std::vector<std::uint8_t>& bytes, std::uint8_t marker) {
    const std::uint8_t pattern[] = {0xFF, marker};
    return std::search(bytes.begin(), bytes.end(), pattern, pattern + 2) != bytes.end();
}

// Mean absolute difference of the colour bytes.
double meanError(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(int(a.pixel(x, y)[c]) - int(b.pixel(x, y)[c]));
            }
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

bool allOpaque(const Bitmap& bitmap) {
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y)[3] != 255) {
                return false;
            }
        }
    }
    return true;
}

TEST(JpegCodec, ColourPicturesDecodeCloseToTheSource) {
    const Bitmap source = gradient();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::uint8_t frameMarker;
    };
    const Case cases[] = {
        {"baseline", *encodeJpeg(source, 95), 0xC0},
        {"progressive", progressive(source), 0xC2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(hasMarker(c.bytes, c.frameMarker));
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeImage(c.bytes, image, &why)) << why;
        EXPECT_EQ(image.format, PictureFormat::Jpeg);
        ASSERT_EQ(image.still.width(), source.width());
        ASSERT_EQ(image.still.height(), source.height());
        EXPECT_EQ(image.canvasWidth, source.width());
        EXPECT_EQ(image.canvasHeight, source.height());
        EXPECT_TRUE(image.frames.empty());
        EXPECT_FALSE(image.still.hasAlpha());
        EXPECT_TRUE(allOpaque(image.still));
        EXPECT_LT(meanError(image.still, source), 2.0);
    }
}

TEST(JpegCodec, BmpSuiteJpegMatchesItsPngTwin) {
    // A JPEG from another encoder: BMP Suite renders rgb24 both as PNG and as JPEG.
    const std::filesystem::path folder = testing::corpusFolder() / "bmpsuite/html";
    DecodedImage jpeg;
    DecodedImage png;
    std::string why;
    ASSERT_TRUE(decodeImage(testing::readFile(folder / "rgb24.jpg"), jpeg, &why)) << why;
    ASSERT_TRUE(decodePng(testing::readFile(folder / "rgb24.png"), png, &why)) << why;
    EXPECT_EQ(jpeg.format, PictureFormat::Jpeg);
    ASSERT_EQ(jpeg.still.width(), png.still.width());
    ASSERT_EQ(jpeg.still.height(), png.still.height());
    EXPECT_LT(meanError(jpeg.still, png.still), 5.0);
}

TEST(JpegCodec, GreyscaleDecodesToGreyPixels) {
    JpegRecipe recipe;
    recipe.width = 40;
    recipe.height = 30;
    recipe.components = 1;
    recipe.input = JCS_GRAYSCALE;
    recipe.stored = JCS_GRAYSCALE;
    for (int y = 0; y < recipe.height; ++y) {
        for (int x = 0; x < recipe.width; ++x) {
            recipe.samples.push_back(std::uint8_t(20 + 5 * x + y));
        }
    }
    DecodedImage image;
    std::string why;
    ASSERT_TRUE(decodeJpeg(jpegBytes(recipe), image, &why)) << why;
    ASSERT_EQ(image.still.width(), recipe.width);
    ASSERT_EQ(image.still.height(), recipe.height);
    EXPECT_TRUE(allOpaque(image.still));
    double error = 0;
    for (int y = 0; y < recipe.height; ++y) {
        for (int x = 0; x < recipe.width; ++x) {
            const std::uint8_t* p = image.still.pixel(x, y);
            ASSERT_EQ(p[0], p[1]);
            ASSERT_EQ(p[1], p[2]);
            error += std::abs(int(p[0]) - int(recipe.samples[std::size_t(y * recipe.width + x)]));
        }
    }
    EXPECT_LT(error / (recipe.width * recipe.height), 2.0);
}

TEST(JpegCodec, CmykIsConvertedToRgb) {
    // Patches of 16 x 16 pixels: ink amounts (0 = none) and the colour they give.
    struct Patch {
        std::uint8_t cmyk[4];
        std::uint32_t rgb;
    };
    const Patch patches[] = {
        {{0, 255, 255, 0}, 0xFF0000}, {{255, 0, 255, 0}, 0x00FF00}, {{255, 255, 0, 0}, 0x0000FF},
        {{0, 0, 0, 0}, 0xFFFFFF},     {{0, 0, 0, 255}, 0x000000},   {{0, 0, 0, 128}, 0x7F7F7F},
        {{0, 128, 255, 0}, 0xFF7F00}, {{128, 0, 0, 128}, 0x3F7F7F},
    };
    constexpr int kPatch = 16;
    const int width = kPatch * int(std::size(patches));
    struct Case {
        const char* what;
        J_COLOR_SPACE stored;
        bool adobe;  // Adobe's files store the inks inverted, 255 = none
    };
    const Case cases[] = {
        {"Adobe CMYK", JCS_CMYK, true},
        {"plain CMYK", JCS_CMYK, false},
        {"Adobe YCCK", JCS_YCCK, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JpegRecipe recipe;
        recipe.width = width;
        recipe.height = kPatch;
        recipe.input = JCS_CMYK;
        recipe.stored = c.stored;
        recipe.adobeMarker = c.adobe;
        for (int y = 0; y < kPatch; ++y) {
            for (int x = 0; x < width; ++x) {
                for (std::uint8_t ink : patches[x / kPatch].cmyk) {
                    recipe.samples.push_back(c.adobe ? std::uint8_t(255 - ink) : ink);
                }
            }
        }
        DecodedImage image;
        std::string why;
        ASSERT_TRUE(decodeJpeg(jpegBytes(recipe), image, &why)) << why;
        EXPECT_FALSE(image.still.hasAlpha());
        EXPECT_TRUE(allOpaque(image.still));
        for (std::size_t i = 0; i < std::size(patches); ++i) {
            SCOPED_TRACE(i);
            const std::uint8_t* p = image.still.pixel(int(i) * kPatch + kPatch / 2, kPatch / 2);
            for (int channel = 0; channel < 3; ++channel) {
                int expected = int(patches[i].rgb >> (8 * channel)) & 0xFF;
                EXPECT_NEAR(p[channel], expected, 3);
            }
        }
    }
}

TEST(JpegCodec, TruncatedFilesAreRefused) {
    const Bitmap source = gradient();
    for (const std::vector<std::uint8_t>& bytes : {*encodeJpeg(source), progressive(source)}) {
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            DecodedImage image;
            std::string why;
            ASSERT_FALSE(decodeJpeg(std::span(bytes).first(size), image, &why)) << size;
            ASSERT_TRUE(why.starts_with("JPEG: ")) << why;
        }
    }
}

TEST(JpegCodec, SizesOverTheLimitAreRefusedBeforeDecoding) {
    const std::vector<std::uint8_t> small = *encodeJpeg(gradient(16, 16));
    // The baseline frame header: marker, length, precision, height, width.
    const std::uint8_t sof[] = {0xFF, 0xC0};
    const std::size_t at =
        std::size_t(std::search(small.begin(), small.end(), sof, sof + 2) - small.begin());
    ASSERT_LT(at + 9, small.size());
    const std::pair<int, int> sizes[] = {
        {65000, 65000}, {kMaxImageSide + 1, 16}, {16, kMaxImageSide + 1}};
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        std::vector<std::uint8_t> bytes = small;
        bytes[at + 5] = std::uint8_t(height >> 8);
        bytes[at + 6] = std::uint8_t(height);
        bytes[at + 7] = std::uint8_t(width >> 8);
        bytes[at + 8] = std::uint8_t(width);
        DecodedImage image;
        std::string why;
        EXPECT_FALSE(decodeJpeg(bytes, image, &why));
        EXPECT_NE(why.find("size limit"), std::string::npos) << why;
    }
}

TEST(JpegCodec, EndlessScansAreRefused) {
    // A progressive file with its last scan repeated: libjpeg only warns about the repeats.
    const std::vector<std::uint8_t> bytes = progressive(gradient());
    const std::uint8_t sos[] = {0xFF, 0xDA};
    auto lastScan = std::find_end(bytes.begin(), bytes.end(), sos, sos + 2);
    const std::vector<std::uint8_t> scan(lastScan, bytes.end() - 2);
    struct Case {
        int repeats;
        bool decodes;
    };
    for (Case c : {Case{20, true}, Case{1100, false}}) {
        SCOPED_TRACE(c.repeats);
        std::vector<std::uint8_t> file(bytes.begin(), bytes.end() - 2);
        for (int i = 0; i < c.repeats; ++i) {
            file.insert(file.end(), scan.begin(), scan.end());
        }
        file.insert(file.end(), {0xFF, 0xD9});
        DecodedImage image;
        std::string why;
        EXPECT_EQ(decodeJpeg(file, image, &why), c.decodes) << why;
        if (!c.decodes) {
            EXPECT_EQ(why, "JPEG: too many scans");
        }
    }
}

TEST(JpegCodec, EncoderChecksItsArgumentsAndDropsAlpha) {
    Bitmap translucent = *Bitmap::create(24, 24);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            translucent.setArgb(x, y, 0x40336699);
        }
    }
    translucent.setHasAlpha(true);
    EXPECT_FALSE(encodeJpeg(Bitmap()));
    EXPECT_FALSE(encodeJpeg(translucent, 0));
    EXPECT_FALSE(encodeJpeg(translucent, 101));

    std::optional<std::vector<std::uint8_t>> best = encodeJpeg(gradient(), 100);
    std::optional<std::vector<std::uint8_t>> worst = encodeJpeg(gradient(), 1);
    ASSERT_TRUE(best && worst);
    EXPECT_LT(worst->size(), best->size());

    std::optional<std::vector<std::uint8_t>> bytes = encodeJpeg(translucent);
    ASSERT_TRUE(bytes);
    DecodedImage image;
    std::string why;
    ASSERT_TRUE(decodeJpeg(*bytes, image, &why)) << why;
    EXPECT_FALSE(image.still.hasAlpha());
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const std::uint8_t* p = image.still.pixel(x, y);
            EXPECT_EQ(p[3], 255);
            EXPECT_NEAR(p[0], 0x99, 2);
            EXPECT_NEAR(p[1], 0x66, 2);
            EXPECT_NEAR(p[2], 0x33, 2);
        }
    }
}

TEST(JpegCodec, OtherDataIsRefused) {
    const std::vector<std::uint8_t> inputs[] = {
        {},
        {0xFF, 0xD8, 0xFF},
        {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 2, 3, 4, 5, 6, 7},
        testing::pngBytes(4, 4),
        testing::gifBytes(1),
    };
    for (const std::vector<std::uint8_t>& bytes : inputs) {
        SCOPED_TRACE(bytes.size());
        DecodedImage image;
        std::string why;
        EXPECT_FALSE(decodeJpeg(bytes, image, &why));
        EXPECT_TRUE(why.starts_with("JPEG: ")) << why;
    }
}

}  // namespace
}  // namespace tandel
