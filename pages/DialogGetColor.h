// The colour picker "取色器": press on the eyedropper, drag anywhere on the screen and the
// swatch shows the colour under the pointer; release to keep it. The editor window often
// covers the colour wanted, so a check box hides it while the picker is open.
#pragma once

#include <QColor>
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tandel {

class PlatformServices;

class CDialogGetColor : public QDialog {
    Q_OBJECT
public:
    // Starts with colour as both the current and the initial colour. The check box hides
    // editorWindow (none when null); every way of closing shows it again.
    CDialogGetColor(PlatformServices& services, QColor colour, QWidget* editorWindow,
                    QWidget* parent = nullptr);

    // What the caller takes however the dialog closed: "取消" restores the initial colour,
    // "保存", the close box and Escape keep the one picked last.
    QColor Colour() const { return colour_; }
    QColor InitialColour() const { return initial_; }
    bool Picking() const { return picking_; }

    QWidget* Swatch() const { return swatch_; }
    QLabel* EyedropperBox() const { return box_; }
    QCheckBox* HideEditorBox() const { return hideEditor_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* CancelButton() const { return cancel_; }

    void done(int result) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void stopPicking();

    PlatformServices& services_;
    QWidget* editorWindow_;
    QColor colour_;
    QColor initial_;
    bool picking_ = false;
    QWidget* swatch_;
    QLabel* box_;
    QCheckBox* hideEditor_;
    QPushButton* save_;
    QPushButton* cancel_;
};

}  // namespace tandel
