#include "PictureSniff.h"

#include <gtest/gtest.h>

#include "Pictures.h"

namespace tandel {
namespace {

TEST(PictureSniff, TellsAnimationsFromStillPictures) {
    using testing::gifBytes;
    using testing::pngBytes;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool animated;
    };
    std::vector<std::uint8_t> cutGif = gifBytes(2);
    cutGif.resize(cutGif.size() - 4);  // the second image is incomplete
    std::vector<std::uint8_t> cutStill = gifBytes(1);
    cutStill.resize(24);
    const Case cases[] = {
        {"still PNG", pngBytes(4, 4), false},
        {"APNG of three frames", pngBytes(4, 4, 0xFF0000FF, 3), true},
        {"one GIF image", gifBytes(1), false},
        {"two GIF images", gifBytes(2), true},
        {"GIF cut inside its second image", cutGif, true},
        {"GIF cut inside its first image", cutStill, false},
        {"nothing", {}, false},
        {"random bytes", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(looksAnimated(c.bytes), c.animated) << c.what;
    }
}

TEST(PictureSniff, RecognisesFormatsBySignature) {
    EXPECT_EQ(pictureFormat(testing::pngBytes(1, 1)), PictureFormat::Png);
    EXPECT_EQ(pictureFormat(testing::gifBytes(1)), PictureFormat::Gif);
    EXPECT_EQ(pictureFormat(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0}),
              PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormat(std::vector<std::uint8_t>{'B', 'M', 0, 0}), PictureFormat::Bmp);
    EXPECT_EQ(pictureFormat(std::vector<std::uint8_t>{'B'}), PictureFormat::Unknown);
    EXPECT_STREQ(pictureExtension(PictureFormat::Jpeg), "jpg");
    EXPECT_STREQ(pictureExtension(PictureFormat::Unknown), "bin");
}

}  // namespace
}  // namespace tandel
