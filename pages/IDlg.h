// The interface through which the main window and the input-window page drive every property
// page without knowing its class.
#pragma once

class QWidget;

namespace tandel {

class IDlg {
public:
    virtual ~IDlg() = default;
    // Shows or hides the page; returns non-zero.
    virtual int Show(bool show) = 0;
    // The main window for the top-level pages, the page that made them for the others.
    virtual void SetOwner(QWidget* owner) = 0;
    // Moves the page's values into the skin document; 0 refuses (the information page).
    virtual int Apply() = 0;
    // Reloads every control from the skin document; 0 for an element page not yet bound.
    virtual int Refresh() = 0;
};

}  // namespace tandel
