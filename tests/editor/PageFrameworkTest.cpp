// What every page shares: numbers in fields, the picture import pipeline, the state strips and
// the thumbnails.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "CxImage.h"
#include "FakeServices.h"
#include "MyStatic.h"
#include "NumberField.h"
#include "PageFramework.h"
#include "Pictures.h"
#include "SkinDocument.h"
#include "TestFiles.h"

namespace tandel::testing {
namespace {

constexpr std::uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF,
                        kWhite = 0xFFFFFFFF;

TEST(ParseNumberField, ReadsTheNumberAtTheStartOfTheText) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"12", 12},   {"  12", 12},    {"\t-7", -7}, {"+5", 5},  {"12x", 12},
        {"12 3", 12}, {"abc", 0},      {"", 0},      {"x12", 0}, {"-", 0},
        {"700", 700}, {"默认大小", 0}, {"- 3", 0},   {"007", 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseNumberField(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(NumberField, TheRangeLimitsOnlyTheSpinButton) {
    NumberField field(0, 10);
    QSignalSpy changes(&field, &NumberField::ValueChanged);

    field.Edit()->clear();
    changes.clear();
    QTest::keyClicks(field.Edit(), QStringLiteral("700"));
    EXPECT_EQ(field.Edit()->text(), QStringLiteral("700")) << "a number typed beyond the range";
    EXPECT_EQ(field.Value(), 700);
    ASSERT_EQ(changes.count(), 3) << "each key changes the text";
    EXPECT_EQ(changes.last().at(0).toInt(), 700);

    field.Spin(1);
    EXPECT_EQ(field.Value(), 10) << "the spin brings the number back into its range";
    field.Spin(1);
    EXPECT_EQ(field.Value(), 10);
    field.SetValue(0);
    EXPECT_EQ(changes.last().at(0).toInt(), 0) << "set by the page, reported like typing";
    field.Spin(-1);
    EXPECT_EQ(field.Value(), 0);
    field.Spin(1);
    EXPECT_EQ(field.Edit()->text(), QStringLiteral("1"));

    field.Edit()->setText(QStringLiteral("3px"));
    EXPECT_EQ(field.Value(), 3);
    EXPECT_EQ(field.Edit()->text(), QStringLiteral("3px")) << "the text stays as typed";
}

class PictureImport : public ::testing::Test {
protected:
    QString file(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        writeFile(folder / name, bytes);
        return QString::fromStdString((folder / name).string());
    }
    static QImage decoded(const QString& path) {
        const std::vector<std::uint8_t> bytes = readFile(path.toStdString());
        return DecodePicture(bytes);
    }

    TemporaryFolder folder;
    FakeServices services;
};

TEST_F(PictureImport, PicturesUpTo800By600AreAccepted) {
    const struct {
        int width, height;
        bool accepted;
    } cases[] = {{800, 600, true}, {801, 600, false}, {800, 601, false}, {1, 1, true}};
    for (const auto& c : cases) {
        services.messages.clear();
        const QString normalised =
            NormalizePicture(services, file("p.png", pngBytes(c.width, c.height)));
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(!normalised.isEmpty(), c.accepted);
        EXPECT_EQ(services.messageTexts(),
                  c.accepted ? QStringList() : QStringList{QString::fromUtf16(kPictureTooLarge)});
    }
}

TEST_F(PictureImport, StillPicturesAreWrittenAsPngNamedUpToTheFirstDot) {
    const QString normalised =
        NormalizePicture(services, file("a.b.png", pngBytes(30, 20, 0xFF0000FF)));
    EXPECT_EQ(normalised, PictureFolder() + QStringLiteral("a.png"));
    const QImage picture = decoded(normalised);
    ASSERT_EQ(picture.size(), QSize(30, 20));
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(255, 0, 0));

    CxImage bmp;
    ASSERT_TRUE(bmp.decode(pngBytes(4, 3, 0x00FF00FF)));
    const std::optional<std::vector<std::uint8_t>> bmpBytes = bmp.encode(kSaveBmp);
    ASSERT_TRUE(bmpBytes);
    const QString fromBmp = NormalizePicture(services, file("photo.bmp", *bmpBytes));
    EXPECT_EQ(fromBmp, PictureFolder() + QStringLiteral("photo.png"));
    const std::vector<std::uint8_t> written = readFile(fromBmp.toStdString());
    ASSERT_GE(written.size(), 8u);
    EXPECT_EQ(written[1], 'P') << "the content is PNG";
}

TEST_F(PictureImport, AnimatedPicturesAreCopiedUnchanged) {
    const std::vector<std::uint8_t> gif = animatedGifBytes(20, 10, 3);
    const QString normalised = NormalizePicture(services, file("x.y.gif", gif));
    EXPECT_EQ(normalised, PictureFolder() + QStringLiteral("x.gif"));
    EXPECT_EQ(readFile(normalised.toStdString()), gif);
}

TEST_F(PictureImport, FilesThatDoNotDecodeAreRefusedWithoutAMessage) {
    EXPECT_TRUE(NormalizePicture(services, file("bad.png", {1, 2, 3})).isEmpty());
    EXPECT_TRUE(NormalizePicture(services, QStringLiteral("/nowhere/none.png")).isEmpty());
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(PictureImport, ThePictureFolderIsTheUsersAlone) {
    const std::filesystem::path picturesAt = PictureFolder().toStdString();
    ASSERT_TRUE(std::filesystem::is_directory(picturesAt));
    EXPECT_EQ(std::filesystem::status(picturesAt).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_EQ(PictureFolder(), PictureFolder()) << "one folder for the whole run";
}

TEST_F(PictureImport, PickingOffersGifOnlyWhenAskedAndNormalises) {
    services.openAnswers = {file("one.png", pngBytes(5, 5))};
    EXPECT_EQ(PickPictureFile(services, nullptr, true),
              PictureFolder() + QStringLiteral("one.png"));
    EXPECT_TRUE(PickPictureFile(services, nullptr, false).isEmpty()) << "cancelled";
    ASSERT_EQ(services.openFilters.size(), 2);
    EXPECT_TRUE(services.openFilters[0].contains(QStringLiteral("*.gif")));
    EXPECT_FALSE(services.openFilters[1].contains(QStringLiteral("*.gif")));
}

TEST_F(PictureImport, TheImageLayerTellsWhichPicturesAreAnimated) {
    UseImageLayerForAnimation();
    SkinDocument document;
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int animated;
        int mode;
    } cases[] = {
        {"moving.gif", animatedGifBytes(8, 8, 2), 1, 2},
        {"still.png", pngBytes(8, 8), 0, 1},
        // Announced frames that are not there: the picture shows as a still one.
        {"announced.png", pngBytes(8, 8, 0xFF336699, 2), 0, 1},
    };
    for (const auto& c : cases) {
        document.importPicture(9, file(c.name, c.bytes).toStdString());
        EXPECT_EQ(document.pictureAnimated[9], c.animated) << c.name;
        EXPECT_EQ(document.animationMode, c.mode) << c.name;
    }
}

TEST_F(PictureImport, ScaledPicturesKeepTheirFileName) {
    const QString scaled = ScalePictureToFile(file("shot.jpg.png", pngBytes(300, 200)), 96, 72);
    EXPECT_EQ(scaled, PictureFolder() + QStringLiteral("shot.jpg.png"));
    EXPECT_EQ(decoded(scaled).size(), QSize(96, 72));
    EXPECT_TRUE(ScalePictureToFile(file("bad.png", {0}), 96, 72).isEmpty());
}

TEST_F(PictureImport, StatesAreJoinedAtTheFirstStatesSize) {
    const QString strip = CombineStatePictures(
        42, {file("n.png", pngBytes(10, 8, kRed)), file("h.png", pngBytes(20, 16, kGreen)),
             file("broken.png", {7, 7})});
    EXPECT_EQ(strip, PictureFolder() + QStringLiteral("42.png"));
    const QImage picture = decoded(strip);
    ASSERT_EQ(picture.size(), QSize(30, 8));
    EXPECT_EQ(picture.pixelColor(5, 4), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(15, 4), QColor(0, 255, 0)) << "resampled to the first size";
    EXPECT_EQ(picture.pixelColor(25, 4).alpha(), 0) << "a state that does not decode stays empty";

    EXPECT_TRUE(CombineStatePictures(43, {file("broken.png", {7}), file("n.png", pngBytes(4, 4))})
                    .isEmpty());
}

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

TEST(Thumbnails, SmallPicturesAreCentredAndOthersStretched) {
    const QColor background(Qt::black);
    const QRect box(0, 0, 100, 50);
    const struct {
        int width, height;
        QRect drawn;
    } cases[] = {
        {40, 30, {30, 10, 40, 30}},  // smaller both ways: natural size, centred
        {120, 30, box},              // wider than the box: stretched over it
        {40, 50, box},               // as high as the box: stretched
    };
    for (const auto& c : cases) {
        QImage canvas(120, 60, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        const QSize size =
            DrawPictureBytes(painter, box, pngBytes(c.width, c.height, kRed), background);
        painter.end();
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(size, QSize(c.width, c.height));
        EXPECT_EQ(at(canvas, c.drawn.left(), c.drawn.top()), QColor(Qt::red));
        EXPECT_EQ(at(canvas, c.drawn.right(), c.drawn.bottom()), QColor(Qt::red));
        if (c.drawn != box) {
            EXPECT_EQ(at(canvas, c.drawn.left() - 1, c.drawn.top()), background);
            EXPECT_EQ(at(canvas, c.drawn.right() + 1, c.drawn.bottom()), background);
        }
        EXPECT_EQ(at(canvas, 110, 55), QColor(Qt::white)) << "nothing outside the box";
    }

    QImage canvas(100, 50, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    EXPECT_EQ(DrawPictureFile(painter, box, QString(), background), QSize(0, 0));
    painter.end();
    EXPECT_EQ(at(canvas, 50, 25), background) << "no picture: the box is cleared";
}

TEST(Thumbnails, EachStateOfAStripGoesIntoItsBox) {
    TemporaryFolder folder;
    std::vector<std::uint32_t> pixels;
    const std::uint32_t states[4] = {kRed, kGreen, kBlue, kWhite};
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 160; ++x) {
            pixels.push_back(states[x / 40]);
        }
    }
    writeFile(folder / "strip.png", pngBytes(160, 20, pixels));
    QImage canvas(220, 30, QImage::Format_ARGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    const std::vector<QRect> boxes = {
        {0, 0, 50, 30}, {55, 0, 50, 30}, {110, 0, 50, 30}, {165, 0, 50, 30}};
    EXPECT_EQ(DrawStateStrip(painter, boxes,
                             QString::fromStdString((folder / "strip.png").string()), Qt::gray),
              QSize(40, 20));
    painter.end();
    const QColor expected[4] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    for (int k = 0; k < 4; ++k) {
        const QRect box = boxes[std::size_t(k)];
        EXPECT_EQ(at(canvas, box.left() + 5, box.top() + 5), expected[k]) << k;
        EXPECT_EQ(at(canvas, box.left() + 4, box.top() + 4), QColor(Qt::gray)) << k;
    }
}

TEST(FontMeasures, FollowTheFontTableEntries) {
    SkinDocument document;
    document.fontSettings[0].size = 12;
    const int small = MeasureFontHeight(document, 0);
    document.fontSettings[0].size = 24;
    const int large = MeasureFontHeight(document, 0);
    EXPECT_GT(small, 0);
    EXPECT_GT(large, small);
    EXPECT_EQ(MeasureFontHeight(document, 6), 0) << "no such entry";
    EXPECT_EQ(MeasureFontHeight(document, -1), 0);

    const int one = MeasureTextWidth(document, u"输", false);
    EXPECT_GT(one, 0);
    EXPECT_EQ(MeasureTextWidth(document, u"输输输", false), 3 * one) << "character by character";
    EXPECT_EQ(MeasureTextWidth(document, u"", false), 0);
    document.fontSettings[1].size = 24;
    EXPECT_GT(MeasureTextWidth(document, u"W", true), 0);
}

}  // namespace
}  // namespace tandel::testing
