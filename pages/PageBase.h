// What the editor's pages have in common: the owner they notify, showing and hiding, and the
// keys they swallow so that Enter and Escape never close anything.
#pragma once

#include <QWidget>

#include "IDlg.h"

namespace tandel {

class IEditorHost;

class CPageBase : public QWidget, public IDlg {
    Q_OBJECT
public:
    explicit CPageBase(QWidget* parent = nullptr);

    int Show(bool show) override;
    void SetOwner(QWidget* owner) override;

protected:
    IEditorHost* host() const { return host_; }
    QWidget* ownerWindow() const { return owner_; }
    // The skin changed: mark it and bring the preview up to date.
    void NotifyChangedAndUpdate();
    // Bring the preview up to date with what the last change marked.
    void NotifyUpdate();
    // Enter and Escape stop here: no dialog of the page or the window closes on them.
    bool event(QEvent* event) override;

private:
    IEditorHost* host_ = nullptr;
    QWidget* owner_ = nullptr;
};

}  // namespace tandel
