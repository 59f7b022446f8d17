#include "PageFramework.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "CxImage.h"
#include "Dpi.h"
#include "Font.h"
#include "MyStatic.h"
#include "PlatformServices.h"
#include "RUZizod.h"
#include "SkinDocument.h"
#include "SkinFileWriter.h"
#include "TextCodec.h"

namespace tandel {
namespace {

constexpr int kMaxPictureWidth = 800, kMaxPictureHeight = 600;

const QString kFilterWithGif = QStringLiteral(
    "澜石输入法预览文件 (*.png;*.bmp;*.jpg;*.jpeg;*.gif)|*.PNG;*.bmp;*.jpg;*.jpeg;*.gif||");
const QString kFilterWithoutGif =
    QStringLiteral("澜石输入法预览文件 (*.png;*.bmp;*.jpg;*.jpeg;)|*.PNG;*.bmp;*.jpg;*.jpeg;||");

bool writeBytes(const QString& path, std::span<const std::uint8_t> bytes) {
    return replaceFile(path.toStdU16String(), bytes);
}

bool writePng(const QString& path, const CxImage& image) {
    std::optional<std::vector<std::uint8_t>> png = image.encode(kSavePng);
    return png && writeBytes(path, *png);
}

Font documentFont(const SkinDocument& document, int n, bool bold, bool scaled) {
    const FontSetting& setting = document.fontSettings[n];
    LogicalFont logical;
    logical.face = std::u16string(fixedText(setting.face));
    const int size = scaled ? CDPIEditor::Instance().ScaleValue(setting.size) : setting.size;
    logical.height = -size;
    logical.weight = bold || setting.bold != 0 ? 700 : 400;
    return Font(logical);
}

// Centred at natural size when smaller than the box both ways, else stretched over it.
QRect placeIn(const QRect& box, QSize picture) {
    if (picture.width() < box.width() && picture.height() < box.height()) {
        return {box.left() + (box.width() - picture.width()) / 2,
                box.top() + (box.height() - picture.height()) / 2, picture.width(),
                picture.height()};
    }
    return box;
}

QSize drawPicture(QPainter& painter, const QRect& box, const QImage& picture,
                  const QColor& background) {
    painter.fillRect(box, background);
    if (picture.isNull()) {
        return {0, 0};
    }
    painter.drawImage(placeIn(box, picture.size()), picture);
    return picture.size();
}

QImage decodeFile(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return DecodePicture(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), std::size_t(bytes.size())));
}

bool decodesAnimated(std::span<const std::uint8_t> bytes) {
    CxImage image;
    return image.decode(bytes) && image.frameCount() > 1;
}

}  // namespace

QStringList AlignmentNames() {
    return {QStringLiteral("左上"), QStringLiteral("中上"), QStringLiteral("右上"),
            QStringLiteral("左中"), QStringLiteral("中中"), QStringLiteral("右中"),
            QStringLiteral("左下"), QStringLiteral("中下"), QStringLiteral("右下")};
}

void FillAlignmentList(QComboBox* list) {
    list->clear();
    list->addItems(AlignmentNames());
}

std::int32_t ParseNumberField(const QString& text) {
    const std::string gbk = utf16ToGbk(text.toStdU16String());
    std::size_t i = 0;
    while (i < gbk.size() && (gbk[i] == ' ' || (gbk[i] >= '\t' && gbk[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < gbk.size() && (gbk[i] == '-' || gbk[i] == '+')) {
        negative = gbk[i] == '-';
        ++i;
    }
    // Wraps like the 32-bit conversion it stands in for, without overflowing.
    std::uint32_t value = 0;
    for (; i < gbk.size() && gbk[i] >= '0' && gbk[i] <= '9'; ++i) {
        value = value * 10u + std::uint32_t(gbk[i] - '0');
    }
    return std::int32_t(negative ? 0u - value : value);
}

int MeasureFontHeight(const SkinDocument& document, int n) {
    if (n < 0 || n >= 6) {
        return 0;
    }
    return measureText(documentFont(document, n, false, false), n == 0 ? u"一" : u"A").cy;
}

int MeasureTextWidth(const SkinDocument& document, std::u16string_view text, bool secondFont) {
    const Font font = documentFont(document, secondFont ? 1 : 0, secondFont, true);
    int width = 0;
    for (char16_t c : text) {
        width += measureText(font, std::u16string_view(&c, 1)).cx;
    }
    return width;
}

QString PictureFolder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tandel-skin-editor-XXXXXX"));
    return folder.isValid() ? folder.path() + QLatin1Char('/') : QString();
}

void UseImageLayerForAnimation() {
    SkinDocument::setAnimationProbe(&decodesAnimated);
}

QString PickPictureFile(PlatformServices& services, QWidget* owner, bool allowGif) {
    const QString path =
        services.OpenFileName(owner, allowGif ? kFilterWithGif : kFilterWithoutGif);
    return path.isEmpty() ? QString() : NormalizePicture(services, path);
}

QString NormalizePicture(PlatformServices& services, const QString& path) {
    CxImage image;
    const QString folder = PictureFolder();
    if (path.isEmpty() || folder.isEmpty() || !image.loadFile(path.toStdU16String())) {
        return {};
    }
    if (image.width() > kMaxPictureWidth || image.height() > kMaxPictureHeight) {
        services.ShowMessage(nullptr, QString::fromUtf16(kPictureTooLarge),
                             QString::fromUtf16(kEditorCaption), MessageIcon::None,
                             MessageButtons::Ok);
        return {};
    }
    const QString name = QFileInfo(path).fileName();
    const QString base = name.section(QLatin1Char('.'), 0, 0);
    if (image.frameCount() > 1) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QString target = folder + base + (dot >= 0 ? name.mid(dot) : QString());
        QFile::remove(target);
        return QFile::copy(path, target) ? target : QString();
    }
    const QString target = folder + base + QStringLiteral(".png");
    return writePng(target, image) ? target : QString();
}

QString ScalePictureToFile(const QString& path, int width, int height) {
    CxImage image;
    const QString folder = PictureFolder();
    if (folder.isEmpty() || !image.loadFile(path.toStdU16String()) ||
        !image.resample(width, height)) {
        return {};
    }
    const QString target = folder + QFileInfo(path).fileName();
    return writePng(target, image) ? target : QString();
}

QString CombineStatePictures(int slot, const QStringList& statePaths) {
    std::vector<std::unique_ptr<RUZizodGdi>> states;
    std::vector<const RUZizodGdi*> cells;
    for (const QString& path : statePaths) {
        auto state = std::make_unique<RUZizodGdi>();
        cells.push_back(state->LoadFromFile(path.toStdU16String()) ? state.get() : nullptr);
        states.push_back(std::move(state));
    }
    std::unique_ptr<RUZizodGdi> strip = MakeStrip(cells);
    const QString folder = PictureFolder();
    if (!strip || folder.isEmpty()) {
        return {};
    }
    const QString target = folder + QString::number(slot) + QStringLiteral(".png");
    return writePng(target, strip->Image()) ? target : QString();
}

QSize DrawPictureFile(QPainter& painter, const QRect& box, const QString& path,
                      const QColor& background) {
    return drawPicture(painter, box, decodeFile(path), background);
}

QSize DrawPictureBytes(QPainter& painter, const QRect& box, std::span<const std::uint8_t> bytes,
                       const QColor& background) {
    return drawPicture(painter, box, DecodePicture(bytes), background);
}

QSize DrawStateStrip(QPainter& painter, const std::vector<QRect>& boxes, const QString& path,
                     const QColor& background) {
    for (const QRect& box : boxes) {
        painter.fillRect(box, background);
    }
    const QImage strip = decodeFile(path);
    const int n = int(boxes.size());
    if (strip.isNull() || n == 0) {
        return {0, 0};
    }
    const QSize state(strip.width() / n, strip.height());
    for (int k = 0; k < n; ++k) {
        const QRect source(k * state.width(), 0, state.width(), state.height());
        painter.drawImage(placeIn(boxes[std::size_t(k)], state), strip, source);
    }
    return state;
}

}  // namespace tandel
