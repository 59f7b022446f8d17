#include "EyedropperPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tandel {

namespace {

constexpr int kSize = 32;
// The tip lies in the middle of this pixel, so the cursor picks exactly what the tip touches;
// the dropper runs up the diagonal from there towards the top-right corner.
constexpr QPoint kHotSpot(2, 29);

// Distances along the dropper from the tip, and half widths across it.
constexpr qreal kTaperEnd = 7, kTubeEnd = 23, kCollarEnd = 26.5, kLength = 37;
constexpr qreal kLiquidEnd = 11;
constexpr qreal kTipHalf = 0.9, kTubeHalf = 2.6, kCollarHalf = 4.6, kBulbHalf = 4.2;

const QColor kOutline(0x2D, 0x35, 0x42);
const QColor kGlass(0xF4, 0xF8, 0xFD);
const QColor kLiquid(0xE8, 0x55, 0x3E);
const QColor kBulbLight(0x6F, 0xA6, 0xF0);
const QColor kBulbDark(0x2A, 0x6C, 0xCB);
const QColor kCollar(0x4A, 0x55, 0x68);
const QColor kMuted(0x6E, 0x7C, 0x92);

QPixmap canvas(int side, qreal pixelRatio) {
    QPixmap picture(QSize(side, side) * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    return picture;
}

// From here on the painter works in the dropper's own frame: the tip at the origin, the bulb
// up along -y.
void enterDropperFrame(QPainter& painter, int side) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(side) / kSize, qreal(side) / kSize);
    painter.translate(kHotSpot.x() + 0.5, kHotSpot.y() + 0.5);
    painter.rotate(45);
}

QPainterPath tube() {
    QPainterPath path;
    path.moveTo(-kTipHalf, 0);
    path.lineTo(-kTubeHalf, -kTaperEnd);
    path.lineTo(-kTubeHalf, -kTubeEnd);
    path.lineTo(kTubeHalf, -kTubeEnd);
    path.lineTo(kTubeHalf, -kTaperEnd);
    path.lineTo(kTipHalf, 0);
    path.closeSubpath();
    return path;
}

QPainterPath collar() {
    QPainterPath path;
    path.addRoundedRect(QRectF(-kCollarHalf, -kCollarEnd, 2 * kCollarHalf, kCollarEnd - kTubeEnd),
                        1, 1);
    return path;
}

// Rounded at the top only: its foot is hidden under the collar.
QPainterPath bulb() {
    QPainterPath path;
    path.moveTo(-kBulbHalf, -kTubeEnd);
    path.lineTo(-kBulbHalf, -(kLength - kBulbHalf));
    path.arcTo(QRectF(-kBulbHalf, -kLength, 2 * kBulbHalf, 2 * kBulbHalf), 180, -180);
    path.lineTo(kBulbHalf, -kTubeEnd);
    path.closeSubpath();
    return path;
}

QPainterPath silhouette() {
    return tube().united(collar()).united(bulb());
}

void paintDropper(QPainter& painter) {
    QPen outline(kOutline, 1);
    outline.setJoinStyle(Qt::RoundJoin);
    painter.setPen(outline);

    const QPainterPath glass = tube();
    painter.setBrush(kGlass);
    painter.drawPath(glass);
    painter.save();
    painter.setClipPath(glass);
    painter.fillRect(QRectF(-kTubeHalf, -kLiquidEnd, 2 * kTubeHalf, kLiquidEnd), kLiquid);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 0.8));
    painter.drawLine(QPointF(-1.2, -kLiquidEnd - 1.5), QPointF(-1.2, -kTubeEnd + 1.5));
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(glass);  // over the liquid's edge

    QLinearGradient shade(-kBulbHalf, 0, kBulbHalf, 0);
    shade.setColorAt(0, kBulbLight);
    shade.setColorAt(1, kBulbDark);
    painter.setBrush(shade);
    painter.drawPath(bulb());
    painter.setBrush(kCollar);
    painter.drawPath(collar());
}

}  // namespace

QPixmap EyedropperPicture(int side, qreal pixelRatio) {
    QPixmap picture = canvas(side, pixelRatio);
    QPainter painter(&picture);
    enterDropperFrame(painter, side);
    paintDropper(painter);
    return picture;
}

QPixmap EyedropperOutlinePicture(int side, qreal pixelRatio) {
    QPixmap picture = canvas(side, pixelRatio);
    QPainter painter(&picture);
    enterDropperFrame(painter, side);
    QPen dashed(kMuted, 1);
    dashed.setDashPattern({2, 2});
    painter.setPen(dashed);
    QColor shadow = kMuted;
    shadow.setAlpha(56);
    painter.setBrush(shadow);
    painter.drawPath(silhouette());
    return picture;
}

QCursor EyedropperCursor() {
    QPixmap picture = canvas(kSize, 1);
    QPainter painter(&picture);
    enterDropperFrame(painter, kSize);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(silhouette());
    paintDropper(painter);
    painter.end();
    return QCursor(picture, kHotSpot.x(), kHotSpot.y());
}

}  // namespace tandel
