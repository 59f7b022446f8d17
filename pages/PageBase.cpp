#include "PageBase.h"

#include <QKeyEvent>

#include "EditorHost.h"

namespace tandel {

CPageBase::CPageBase(QWidget* parent) : QWidget(parent) {}

int CPageBase::Show(bool show) {
    setVisible(show);
    return 1;
}

void CPageBase::SetOwner(QWidget* owner) {
    owner_ = owner;
    host_ = dynamic_cast<IEditorHost*>(owner);
}

void CPageBase::NotifyChangedAndUpdate() {
    if (host_ != nullptr) {
        host_->SetSkinChanged(true);
        NotifyUpdate();
    }
}

void CPageBase::NotifyUpdate() {
    if (host_ != nullptr) {
        host_->RebuildSkins(false);
        host_->RedrawPreview();
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
