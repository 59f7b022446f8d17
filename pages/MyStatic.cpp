#include "MyStatic.h"

#include <QPainter>

#include "CxImage.h"

namespace tandel {

namespace {

QImage toQImage(const CxImage& image) {
    const Bitmap& pixels = image.pixels();
    // Bytes B, G, R, A with straight alpha are Qt's ARGB32; a picture without alpha is opaque.
    QImage picture(pixels.data(), pixels.width(), pixels.height(), qsizetype(pixels.stride()),
                   pixels.hasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return picture.copy();
}

}  // namespace

QImage DecodePicture(std::span<const std::uint8_t> bytes) {
    CxImage image;
    return !bytes.empty() && image.decode(bytes) ? toQImage(image) : QImage();
}

CMyStatic::CMyStatic(QWidget* parent) : QWidget(parent) {}

void CMyStatic::SetImageFile(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    path_ = path;
    CxImage image;
    show(image.loadFile(path.toStdU16String()) ? toQImage(image) : QImage());
}

void CMyStatic::SetImageData(std::span<const std::uint8_t> bytes) {
    if (bytes.data() == nullptr) {
        return;
    }
    path_.clear();
    show(DecodePicture(bytes));
}

void CMyStatic::Clear() {
    path_.clear();
    show(QImage());
}

void CMyStatic::show(QImage picture) {
    hasPicture_ = true;
    picture_ = std::move(picture);
    repaint();
}

void CMyStatic::paintEvent(QPaintEvent*) {
    if (!hasPicture_) {
        return;  // the ordinary background
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (picture_.isNull()) {
        return;
    }
    if (picture_.width() < width() && picture_.height() < height()) {
        painter.drawImage(
            QPoint((width() - picture_.width()) / 2, (height() - picture_.height()) / 2), picture_);
    } else {
        painter.drawImage(rect(), picture_);
    }
}

}  // namespace tandel
