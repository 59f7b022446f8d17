#include "PreviewWidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "AtelierDlg.h"

namespace tandel {
namespace {

// The window's client coordinates: those of its central widget, below the menu bar.
QPoint inWindow(const QWidget& widget, CAtelierDlg& window, QPointF point) {
    return widget.mapTo(window.centralWidget(), point.toPoint());
}

}  // namespace

QColor PreviewBackground(int index) {
    return QColor::fromRgba(kPreviewBackgrounds[std::clamp(index, 0, 3)]);
}

PreviewView::PreviewView(CAtelierDlg& window, QWidget* parent) : QWidget(parent), window_(window) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas& surface = window_.Renderer().Composition();
    if (surface.width() == 0) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    const QImage image(surface.pixels().data(), surface.width(), surface.height(),
                       qsizetype(surface.pixels().stride()), QImage::Format_RGB32);
    painter.fillRect(rect(), window_.BackgroundColour());
    painter.drawImage(QPoint(0, 0), image, QRect(window_.ScrollOffset(), size()));
}

void PreviewView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        window_.OnLeftButtonDown(inWindow(*this, window_, event->position()));
    }
}

void PreviewView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        window_.OnLeftButtonUp(inWindow(*this, window_, event->position()));
    }
}

void PreviewView::mouseMoveEvent(QMouseEvent* event) {
    window_.OnMouseMove(inWindow(*this, window_, event->position()));
}

void PreviewView::wheelEvent(QWheelEvent* event) {
    window_.OnWheel(event->angleDelta().y());
}

EditArea::EditArea(CAtelierDlg& window, QWidget* parent) : QWidget(parent), window_(window) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void EditArea::SetPainter(Painter painter) {
    painter_ = std::move(painter);
    update();
}

void EditArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), window_.BackgroundColour());
    if (painter_) {
        painter_(painter, size());
    }
}

void EditArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        window_.OnLeftButtonDown(inWindow(*this, window_, event->position()));
    }
}

void EditArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        window_.OnLeftButtonUp(inWindow(*this, window_, event->position()));
    }
}

void EditArea::mouseMoveEvent(QMouseEvent* event) {
    window_.OnMouseMove(inWindow(*this, window_, event->position()));
}

BackgroundSelector::BackgroundSelector(CAtelierDlg& window, QWidget* parent)
    : QWidget(parent), window_(window) {}

void BackgroundSelector::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int w2 = inner.width() / 2, h2 = inner.height() / 2;
    painter.fillRect(QRect(inner.left(), inner.top(), w2, h2), PreviewBackground(1));
    painter.fillRect(QRect(inner.left() + w2, inner.top(), w2, h2), PreviewBackground(0));
    painter.fillRect(QRect(inner.left(), inner.top() + h2, w2, h2), PreviewBackground(3));
    painter.fillRect(QRect(inner.left() + w2, inner.top() + h2, w2, h2), PreviewBackground(2));
    painter.setPen(QPen(Qt::yellow, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inner);
}

void BackgroundSelector::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        window_.OnLeftButtonDown(inWindow(*this, window_, event->position()));
    }
}

}  // namespace tandel
