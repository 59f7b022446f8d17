// The image well: small pictures centred at natural size, large ones stretched, on white.
#include <gtest/gtest.h>

#include <QImage>

#include "MyStatic.h"
#include "Pictures.h"
#include "TestFiles.h"

namespace tandel {
namespace {

TEST(MyStatic, CentresSmallPicturesAndStretchesLargeOnes) {
    testing::TemporaryFolder folder;
    CMyStatic well;
    well.resize(100, 60);
    const std::vector<std::uint8_t> red = testing::pngBytes(20, 10, 0xFF0000FF);
    testing::writeFile(folder / "red.png", red);
    well.SetImageFile(QString::fromStdString((folder / "red.png").string()));
    EXPECT_EQ(well.ImageSize(), QSize(20, 10));
    QImage shown = well.grab().toImage();
    EXPECT_EQ(shown.pixel(50, 30), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(40, 25), qRgb(255, 0, 0));  // from (40, 25) to (60, 35)
    EXPECT_EQ(shown.pixel(39, 25), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(60, 35), qRgb(255, 255, 255));

    const std::vector<std::uint8_t> wide = testing::pngBytes(150, 10, 0x0000FFFF);
    well.SetImageData(wide);  // wider than the well: over all of it
    EXPECT_TRUE(well.ImageFile().isEmpty());
    shown = well.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(99, 59), qRgb(0, 0, 255));

    const std::uint8_t junk[] = {1, 2, 3};
    well.SetImageData(junk);  // does not decode: white
    EXPECT_EQ(well.ImageSize(), QSize(0, 0));
    EXPECT_EQ(well.grab().toImage().pixel(50, 30), qRgb(255, 255, 255));

    well.SetImageFile(QString());  // ignored
    well.SetImageData({});         // ignored
    EXPECT_EQ(well.grab().toImage().pixel(50, 30), qRgb(255, 255, 255));
}

TEST(MyStatic, APictureWithAlphaShowsTheWhiteThrough) {
    CMyStatic well;
    well.resize(40, 40);
    well.SetImageData(testing::pngBytes(10, 10, 0x00000000));  // fully transparent
    EXPECT_EQ(well.grab().toImage().pixel(20, 20), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace tandel
