// The parts of the main window the preview is shown in: the preview itself, the edit area the
// pages draw their guides into, and the background-colour selector.
#pragma once

#include <QWidget>
#include <functional>

namespace tandel {

class CAtelierDlg;
class Canvas;

// Shows the composition surface from the scroll offset on; mouse and wheel go to the window.
class PreviewView : public QWidget {
    Q_OBJECT
public:
    PreviewView(CAtelierDlg& window, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CAtelierDlg& window_;
};

// The area below or beside the preview that the page of the current tab draws into.
class EditArea : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, QSize)>;

    EditArea(CAtelierDlg& window, QWidget* parent);
    void SetPainter(Painter painter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CAtelierDlg& window_;
    Painter painter_;
};

// Four squares of the preview background colours, outlined in yellow. Clicks go to the
// window, which picks the colour.
class BackgroundSelector : public QWidget {
    Q_OBJECT
public:
    BackgroundSelector(CAtelierDlg& window, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CAtelierDlg& window_;
};

// The colour a preview background index stands for.
QColor PreviewBackground(int index);

}  // namespace tandel
