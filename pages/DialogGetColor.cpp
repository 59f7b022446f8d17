#include "DialogGetColor.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "EyedropperPictures.h"
#include "PlatformServices.h"

namespace tandel {

namespace {

constexpr int kBoxSide = 40;
constexpr int kPictureSide = 32;

// A sunken frame filled with the colour it watches.
class ColourSwatch : public QFrame {
public:
    explicit ColourSwatch(const QColor& colour) : colour_(colour) {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setFixedSize(2 * kBoxSide + 8, kBoxSide);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).fillRect(contentsRect(), colour_);
        QFrame::paintEvent(event);
    }

private:
    const QColor& colour_;
};

}  // namespace

CDialogGetColor::CDialogGetColor(PlatformServices& services, QColor colour, QWidget* editorWindow,
                                 QWidget* parent)
    : QDialog(parent),
      services_(services),
      editorWindow_(editorWindow),
      colour_(colour),
      initial_(colour),
      swatch_(new ColourSwatch(colour_)),
      box_(new QLabel),
      hideEditor_(new QCheckBox(QStringLiteral("隐藏皮肤编辑器"))),
      save_(new QPushButton(QStringLiteral("保存"))),
      cancel_(new QPushButton(QStringLiteral("取消"))) {
    setWindowTitle(QStringLiteral("取色器"));
    setModal(true);

    box_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    box_->setFixedSize(kBoxSide, kBoxSide);
    box_->setAlignment(Qt::AlignCenter);
    box_->setPixmap(EyedropperPicture(kPictureSide, devicePixelRatioF()));
    box_->setCursor(Qt::PointingHandCursor);

    connect(hideEditor_, &QCheckBox::toggled, this, [this](bool hide) {
        if (editorWindow_ != nullptr) {
            editorWindow_->setVisible(!hide);
        }
    });
    save_->setDefault(true);
    connect(save_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        colour_ = initial_;
        reject();
    });

    auto* picker = new QHBoxLayout;
    picker->addWidget(swatch_);
    picker->addWidget(box_);
    picker->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(picker);
    layout->addWidget(hideEditor_);
    layout->addLayout(buttons);
}

void CDialogGetColor::done(int result) {
    stopPicking();
    if (editorWindow_ != nullptr) {
        editorWindow_->show();
    }
    QDialog::done(result);
}

void CDialogGetColor::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton ||
        !box_->geometry().contains(event->position().toPoint())) {
        QDialog::mousePressEvent(event);
        return;
    }
    picking_ = true;
    box_->setPixmap(EyedropperOutlinePicture(kPictureSide, devicePixelRatioF()));
    // The grab keeps the moves coming while the pointer is over other programs' windows, and
    // shows the eyedropper there too.
    grabMouse(EyedropperCursor());
}

void CDialogGetColor::mouseMoveEvent(QMouseEvent* event) {
    if (!picking_) {
        QDialog::mouseMoveEvent(event);
        return;
    }
    const QColor pixel = services_.ScreenPixel(event->globalPosition().toPoint());
    if (pixel.isValid()) {
        colour_ = pixel;
        swatch_->repaint();
    }
}

void CDialogGetColor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        stopPicking();
    }
    QDialog::mouseReleaseEvent(event);
}

// A hidden dialog keeps its grab, so every way out lets go of the mouse here.
void CDialogGetColor::stopPicking() {
    if (!picking_) {
        return;
    }
    picking_ = false;
    box_->setPixmap(EyedropperPicture(kPictureSide, devicePixelRatioF()));
    releaseMouse();
}

}  // namespace tandel
