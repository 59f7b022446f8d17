// Pictures kept by content across loads: shared bytes, one decode per picture, pixels shared
// until written, and a budget that never drops what a cache still holds.
#include "PictureStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "Pictures.h"
#include "SkinDocument.h"
#include "SkinParser.h"

namespace tandel {
namespace {

class PictureStoreTest : public ::testing::Test {
protected:
    void SetUp() override { store().clear(); }
    void TearDown() override {
        store().setBudget(std::size_t(384) << 20);
        store().clear();
        ResourceCache::Instance().releaseCache();
    }
    static PictureStore& store() { return PictureStore::Instance(); }
    static std::unique_ptr<RUZizodGdi> load(const std::vector<std::uint8_t>& bytes) {
        return store().load(bytes, pictureKey(bytes));
    }
};

TEST_F(PictureStoreTest, BitmapCopiesShareTheirPixelsUntilOneIsWritten) {
    Bitmap a = *Bitmap::create(4, 3);
    a.setArgb(1, 1, 0xFF112233);
    Bitmap b = a;
    EXPECT_TRUE(b.sharesPixels(a));
    b.setArgb(1, 1, 0xFF445566);
    EXPECT_FALSE(b.sharesPixels(a));
    EXPECT_EQ(a.argb(1, 1), 0xFF112233u);
    EXPECT_EQ(b.argb(1, 1), 0xFF445566u);
    const Bitmap c = a;
    EXPECT_EQ(c.data(), std::as_const(a).data());  // reading does not copy
}

TEST_F(PictureStoreTest, EqualBytesAreKeptOnce) {
    const std::vector<std::uint8_t> red = testing::pngBytes(8, 8, 0xFF0000FF);
    const std::vector<std::uint8_t> redAgain = red;
    const std::vector<std::uint8_t> blue = testing::pngBytes(8, 8, 0x0000FFFF);
    SharedBytes first = store().intern(red, pictureKey(red));
    EXPECT_EQ(store().intern(redAgain, pictureKey(redAgain)), first);
    EXPECT_NE(store().intern(blue, pictureKey(blue)), first);
    EXPECT_EQ(*first, red);
    EXPECT_NE(pictureKey(red), pictureKey(blue));
    EXPECT_EQ(pictureKey(red).size, red.size());
}

TEST_F(PictureStoreTest, EachPictureIsDecodedOnceAndCopiesAreTheirOwn) {
    const std::vector<std::uint8_t> png = testing::pngBytes(16, 8, 0x336699FF);
    std::unique_ptr<RUZizodGdi> first = load(png);
    std::unique_ptr<RUZizodGdi> second = load(png);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->Image().pixels().sharesPixels(second->Image().pixels()));
    first->Colorize(0xFFFF0000, false);  // a tinted copy...
    EXPECT_FALSE(first->Image().pixels().sharesPixels(second->Image().pixels()));
    std::unique_ptr<RUZizodGdi> third = load(png);  // ...leaves the kept picture alone
    EXPECT_EQ(third->Image().pixels().argb(3, 3), second->Image().pixels().argb(3, 3));
    EXPECT_NE(third->Image().pixels().argb(3, 3), first->Image().pixels().argb(3, 3));

    const std::vector<std::uint8_t> gif = testing::animatedGifBytes(10, 6, 3);
    std::unique_ptr<RUZizodGdi> animated = load(gif);
    ASSERT_TRUE(animated);
    EXPECT_EQ(animated->FrameCount(), 3);
    EXPECT_EQ(load(gif)->FrameCount(), 3);

    const std::vector<std::uint8_t> junk = {1, 2, 3, 4};
    EXPECT_EQ(load(junk), nullptr);
    EXPECT_EQ(load(junk), nullptr);
}

TEST_F(PictureStoreTest, TheBudgetDropsOnlyWhatNoCacheHolds) {
    const std::vector<std::uint8_t> held = testing::photoPngBytes(64, 64, 1);
    const std::vector<std::uint8_t> loose = testing::photoPngBytes(64, 64, 2);
    SharedBytes keep = store().intern(held, pictureKey(held));
    store().intern(loose, pictureKey(loose));
    load(loose);
    const std::size_t before = store().keptBytes();
    EXPECT_GE(before, held.size() + loose.size() + 64 * 64 * 4);
    store().setBudget(0);
    EXPECT_EQ(store().keptBytes(), held.size());
    EXPECT_EQ(store().intern(held, pictureKey(held)), keep);
}

TEST_F(PictureStoreTest, TheCacheTakesKnownKeysOnlyForBytesOfTheirSize) {
    ResourceCache& cache = ResourceCache::Instance();
    const std::vector<std::uint8_t> png = testing::pngBytes(8, 8);
    const PictureKey wrong{42, png.size() + 1};
    ASSERT_TRUE(cache.storePicture(30, png.data(), png.size(), &wrong));
    EXPECT_EQ(cache.pictureKeys[30], pictureKey(png));
    const PictureKey right = pictureKey(png);
    ASSERT_TRUE(cache.storePicture(31, png.data(), png.size(), &right));
    EXPECT_EQ(cache.picture(31).data(), cache.picture(30).data());  // one kept copy
    ASSERT_TRUE(cache.decodedPicture(31));
    EXPECT_EQ(cache.decodedPicture(31)->GetWidth(), 8);
}

TEST(PayloadPictureKeys, AreTheKeysOfThePayloadsPictures) {
    SkinDocument doc;
    doc.layOut();
    const std::span<const std::uint8_t> payload = doc.payload();
    const std::size_t dataAt = 12 * std::size_t(doc.header.entryCount);
    int pictures = 0;
    for (int i = 0; i < doc.header.entryCount; ++i) {
        DirEntry e;
        std::memcpy(&e, payload.data() + 12 * i, sizeof e);
        if (e.type != kPictureEntry) {
            continue;
        }
        ++pictures;
        EXPECT_EQ(doc.payloadPictureKeys()[e.id],
                  pictureKey(payload.subspan(dataAt + e.offset, e.size)))
            << e.id;
    }
    EXPECT_GT(pictures, 10);
    EXPECT_EQ(doc.payloadPictureKeys()[7], PictureKey{});  // not in the payload
}

}  // namespace
}  // namespace tandel
