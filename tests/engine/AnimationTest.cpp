// Stepping through animations: frame order, delays, loop counts, and the animation's frames
// composed as the engine shows them.
#include <gtest/gtest.h>

#include "Corpus.h"
#include "FileBytes.h"
#include "Pictures.h"
#include "RUZizod.h"

namespace tandel {
namespace {

std::unique_ptr<RUZizodGdi> load(const std::string& corpusPath) {
    std::optional<std::vector<std::uint8_t>> bytes =
        readFileBytes(testing::corpusFolder() / corpusPath);
    EXPECT_TRUE(bytes) << corpusPath;
    return CreateImageFromMemory(bytes->data(), std::int64_t(bytes->size()));
}

TEST(Animation, LoopCountOneStopsOnTheLastFrame) {
    std::unique_ptr<RUZizodGdi> gif = load("gif/peterdn-gif-test-suite/gifs/animated_noloop.gif");
    ASSERT_TRUE(gif && gif->IsAnimated());
    ASSERT_EQ(gif->FrameCount(), 4);
    EXPECT_EQ(gif->GetFrameDelay(), 1000);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(gif->NextFrame(), 1);
        EXPECT_EQ(gif->CurrentFrame(), i);
    }
    EXPECT_EQ(gif->NextFrame(), 0);
    EXPECT_EQ(gif->CurrentFrame(), 3);
    EXPECT_EQ(gif->NextFrame(), 0);
}

TEST(Animation, LoopCountZeroRepeatsForever) {
    std::unique_ptr<RUZizodGdi> gif =
        load("gif/peterdn-gif-test-suite/gifs/animated_loop_variable_delay.gif");
    ASSERT_TRUE(gif && gif->IsAnimated());
    const int delays[] = {1000, 1000, 100, 1000};
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(gif->CurrentFrame(), i);
            EXPECT_EQ(gif->GetFrameDelay(), delays[i]);
            EXPECT_EQ(gif->NextFrame(), 1);
        }
    }
}

TEST(Animation, AnimatedPngFramesAndStillPictures) {
    std::unique_ptr<RUZizodGdi> png = load("apng/num_plays.png");
    ASSERT_TRUE(png && png->IsAnimated());
    EXPECT_EQ(png->GetWidth(), 128);
    // Queries and draws go to the current frame.
    png->NextFrame();
    EXPECT_EQ(png->CurrentFrame(), 1);
    Canvas canvas = *Canvas::create(128, 64);
    EXPECT_EQ(png->Draw(canvas, {0, 0, 128, 64}, -1, 0), 1);
    EXPECT_EQ(canvas.pixels().argb(64, 32), 0xFF0000FFu);  // the last frame is blue

    std::unique_ptr<RUZizodGdi> still =
        load("gif/peterdn-gif-test-suite/gifs/static_nontransparent.gif");
    ASSERT_TRUE(still && still->IsValid());
    EXPECT_FALSE(still->IsAnimated());
    EXPECT_EQ(still->GetFrameDelay(), 100);
    EXPECT_EQ(still->NextFrame(), 0);
    // A single-frame animated PNG shows its frame, not its hidden default image.
    std::unique_ptr<RUZizodGdi> single = load("apng/single_frame_default.png");
    ASSERT_TRUE(single && single->IsValid());
    EXPECT_EQ(single->Image().pixels().argb(0, 0), 0xFF00FF00u);
}

TEST(Animation, SplitsReachEveryFrame) {
    std::unique_ptr<RUZizodGdi> gif = load("gif/peterdn-gif-test-suite/gifs/animated_loop.gif");
    ASSERT_TRUE(gif && gif->IsAnimated());
    ASSERT_EQ(gif->SplitNineGrid({10, 10, 10, 10}), 1);
    Canvas canvas = *Canvas::create(200, 50);
    EXPECT_EQ(gif->DrawNineGridStretched(canvas, {0, 0, 200, 50}, {10, 10, 10, 10}, 0), 1);
    gif->NextFrame();
    EXPECT_EQ(gif->DrawNineGridStretched(canvas, {0, 0, 200, 50}, {10, 10, 10, 10}, 0), 1);
    // Scaling an animation changes how it is shown, not its pixels.
    EXPECT_EQ(gif->Scale(2.0), 0);
    EXPECT_EQ(gif->DisplayScale(), 2.0);
    EXPECT_EQ(gif->GetWidth(), 100);
}

}  // namespace
}  // namespace tandel
