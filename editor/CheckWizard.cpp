#include "CheckWizard.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "EditorHost.h"

namespace tandel {
namespace {

const char16_t* const kSceneNames[7] = {
    u"不同背景颜色下的输入场景",
    u"状态栏检测场景",
    u"输入文字较长的场景",
    u"候选为3的场景",
    u"候选为9的场景",
    u"拼音串较长，按翻页键后候选不完全匹配时的场景",
    u"保存皮肤",
};

QString sceneName(int scene) {
    return QString::fromUtf16(kSceneNames[scene]);
}

const QString kNext = QStringLiteral("下一步");
const QString kSave = QStringLiteral("保存");

}  // namespace

CDlgCheck::CDlgCheck(QWidget* parent)
    : QWidget(parent),
      name_(new QLabel(sceneName(0))),
      step_(new QLabel(QStringLiteral("(1/7)"))),
      previous_(new QPushButton(QStringLiteral("上一步"))),
      next_(new QPushButton(kNext)) {
    auto* check = new QGroupBox(QStringLiteral("检测"));
    auto* checkLayout = new QVBoxLayout(check);
    name_->setWordWrap(true);
    checkLayout->addWidget(name_);
    auto* steps = new QGroupBox;
    auto* stepLayout = new QHBoxLayout(steps);
    stepLayout->addWidget(step_);
    stepLayout->addStretch();
    stepLayout->addWidget(previous_);
    stepLayout->addWidget(next_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(check);
    layout->addWidget(steps);
    layout->addStretch();
    previous_->setEnabled(false);
    connect(previous_, &QPushButton::clicked, this, &CDlgCheck::OnPrevious);
    connect(next_, &QPushButton::clicked, this, &CDlgCheck::OnNext);
}

int CDlgCheck::Show(bool show) {
    setVisible(show);
    return 1;
}

void CDlgCheck::SetOwner(QWidget* owner) {
    host_ = dynamic_cast<IEditorHost*>(owner);
}

void CDlgCheck::ShowScene(int scene) {
    step_->setText(QStringLiteral("(%1/7)").arg(scene + 1));
    previous_->setEnabled(scene_ != 0);
    if (host_ == nullptr) {
        return;
    }
    host_->SetWizardScene(scene);
    if (scene == 0) {
        host_->SetBackgroundCycling(true);
        host_->SetSkinChanged(true);
        host_->RebuildSkins(false);
    } else {
        host_->SetBackgroundCycling(false);
        // The status bar scene draws the status bar itself: no reload needed.
        if (scene != 1) {
            host_->SetSkinChanged(true);
            host_->RebuildSkins(false);
        }
    }
    host_->RedrawPreview();
}

int CDlgCheck::Refresh() {
    name_->setText(sceneName(scene_));
    ShowScene(scene_);
    return 1;
}

void CDlgCheck::OnPrevious() {
    next_->setText(kNext);
    if (scene_ > 0) {
        --scene_;
    }
    next_->setEnabled(true);
    name_->setText(sceneName(scene_));
    if (scene_ == 0) {
        previous_->setEnabled(false);
    }
    ShowScene(scene_);
}

void CDlgCheck::OnNext() {
    // Leaving the cycling scene always returns to white.
    if (scene_ == 0 && host_ != nullptr) {
        host_->SetBackgroundIndex(0);
    }
    if (scene_ < 6) {
        ++scene_;
    }
    previous_->setEnabled(true);
    name_->setText(sceneName(scene_));
    if (next_->text() == kSave && host_ != nullptr) {
        host_->OnSave();
    }
    if (scene_ == 6) {
        next_->setText(kSave);
        step_->setText(QStringLiteral("(7/7)"));
    } else {
        ShowScene(scene_);
    }
}

void CDlgCheck::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tandel
