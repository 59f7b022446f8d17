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
    // The main window, reached through the owner chain (an element page's owner is the page
    // that holds it).
    IEditorHost* host() const;
    QWidget* ownerWindow() const { return owner_; }
    // The skin changed: mark it and bring the preview up to date.
    void NotifyChangedAndUpdate();
    // Bring the preview up to date with what the last change marked; an element page asks
    // the page that holds it, which reloads the element's picture first.
    void NotifyUpdate();
    // A spin button moved: the value follows in its field, the skin is changed already.
    void NotifySpun();
    // Enter and Escape stop here: no dialog of the page or the window closes on them.
    bool event(QEvent* event) override;

private:
    QWidget* owner_ = nullptr;
};

}  // namespace tandel
