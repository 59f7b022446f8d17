#include "FrameComposer.h"

#include <gtest/gtest.h>

namespace tandel {
namespace {

// A frame of one colour; alpha 0 pixels where transparent is set.
ImageFrame frame(int x, int y, int w, int h, std::uint32_t argb, Disposal disposal,
                 Blend blend = Blend::Over) {
    ImageFrame f;
    f.bitmap = *Bitmap::create(w, h);
    f.bitmap.setHasAlpha(true);
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c) {
            f.bitmap.setArgb(c, r, argb);
        }
    }
    f.offsetX = x;
    f.offsetY = y;
    f.disposal = disposal;
    f.blend = blend;
    return f;
}

DecodedImage animation(PictureFormat format, std::vector<ImageFrame> frames) {
    DecodedImage image;
    image.format = format;
    image.canvasWidth = 4;
    image.canvasHeight = 4;
    image.frames = std::move(frames);
    return image;
}

TEST(FrameComposer, GifDisposalKeepsClearsAndRestores) {
    constexpr std::uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF;
    DecodedImage image =
        animation(PictureFormat::Gif, {frame(0, 0, 4, 4, red, Disposal::Keep),
                                       frame(1, 1, 2, 2, green, Disposal::Previous),
                                       frame(0, 0, 1, 1, 0x00000000, Disposal::Background),
                                       frame(3, 3, 1, 1, blue, Disposal::Keep)});
    std::vector<Bitmap> frames = composeFrames(image);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].argb(2, 2), red);
    EXPECT_EQ(frames[1].argb(2, 2), green);
    EXPECT_EQ(frames[1].argb(0, 0), red);
    // Frame 1 was disposed to the previous canvas; frame 2 is all transparent.
    EXPECT_EQ(frames[2].argb(2, 2), red);
    EXPECT_EQ(frames[2].argb(0, 0), red);
    // Frame 2 cleared its area to transparent.
    EXPECT_EQ(frames[3].argb(0, 0), 0u);
    EXPECT_EQ(frames[3].argb(3, 3), blue);
}

TEST(FrameComposer, PngBlendSourceReplacesAndOverMixes) {
    DecodedImage image =
        animation(PictureFormat::Png, {frame(0, 0, 4, 4, 0xFFFF0000, Disposal::Keep),
                                       frame(0, 0, 2, 2, 0x80000000, Disposal::Keep, Blend::Source),
                                       frame(2, 2, 2, 2, 0x80000000, Disposal::Keep, Blend::Over)});
    std::vector<Bitmap> frames = composeFrames(image);
    ASSERT_EQ(frames.size(), 3u);
    // Source: alpha 128 black onto a cleared area gives alpha 127 (the engine's rule).
    EXPECT_EQ(frames[1].argb(0, 0), 0x7F000000u);
    // Over: red (255) * 127 >> 8 = 126, alpha stays 255.
    EXPECT_EQ(frames[2].argb(3, 3), 0xFF7E0000u);
}

TEST(FrameComposer, FramesAreClippedToTheCanvas) {
    DecodedImage image =
        animation(PictureFormat::Gif, {frame(3, 3, 5, 5, 0xFF123456, Disposal::Keep),
                                       frame(-2, 9, 3, 3, 0xFF00FF00, Disposal::Keep)});
    std::vector<Bitmap> frames = composeFrames(image);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].argb(3, 3), 0xFF123456u);
    EXPECT_EQ(frames[0].argb(2, 2), 0u);
    EXPECT_EQ(frames[1].argb(0, 3), 0u);
}

}  // namespace
}  // namespace tandel
