// The check tab: a small wizard that walks the author through seven scenes before saving. It
// changes only the main window's wizard scene and background cycling; the preview follows.
#pragma once

#include <QWidget>

#include "IDlg.h"

class QLabel;
class QPushButton;

namespace tandel {

class IEditorHost;

class CDlgCheck : public QWidget, public IDlg {
    Q_OBJECT
public:
    explicit CDlgCheck(QWidget* parent = nullptr);

    int Show(bool show) override;
    void SetOwner(QWidget* owner) override;
    int Apply() override { return 0; }
    int Refresh() override;

    void ShowScene(int scene);
    void OnPrevious();
    void OnNext();

    int CurrentScene() const { return scene_; }
    QLabel* SceneName() const { return name_; }
    QLabel* StepLabel() const { return step_; }
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* NextButton() const { return next_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    IEditorHost* host_ = nullptr;
    int scene_ = 0;
    QLabel* name_;
    QLabel* step_;
    QPushButton* previous_;
    QPushButton* next_;
};

}  // namespace tandel
