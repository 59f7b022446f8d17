#include "PageBase.h"

#include <QKeyEvent>

#include "EditorHost.h"
#include "ElementPage.h"

namespace tandel {

CPageBase::CPageBase(QWidget* parent) : QWidget(parent) {}

int CPageBase::Show(bool show) {
    setVisible(show);
    return 1;
}

void CPageBase::SetOwner(QWidget* owner) {
    owner_ = owner;
}

IEditorHost* CPageBase::host() const {
    if (auto* window = dynamic_cast<IEditorHost*>(owner_)) {
        return window;
    }
    auto* page = dynamic_cast<const CPageBase*>(owner_);
    return page != nullptr ? page->host() : nullptr;
}

void CPageBase::NotifyChangedAndUpdate() {
    if (IEditorHost* window = host()) {
        window->SetSkinChanged(true);
        NotifyUpdate();
    }
}

void CPageBase::NotifyUpdate() {
    if (auto* holder = dynamic_cast<IElementPageOwner*>(owner_)) {
        holder->UpdateFromElementPage();
    } else if (IEditorHost* window = host()) {
        window->RebuildSkins(false);
        window->RedrawPreview();
    }
}

void CPageBase::NotifySpun() {
    if (IEditorHost* window = host()) {
        window->SetSkinChanged(true);
    }
}

bool CPageBase::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

}  // namespace tandel
