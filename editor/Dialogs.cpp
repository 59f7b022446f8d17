#include "Dialogs.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "AtelierDlg.h"

namespace tandel {

QIcon EditorIcon() {
    return QIcon(QStringLiteral(":/icons/tandel-skin-editor.png"));
}

CDlgMessageBoxClose::CDlgMessageBoxClose(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf16(kMessageCaption));
    setWindowIcon(EditorIcon());
    auto* question = new QLabel(QStringLiteral("是否保存正在编辑的皮肤？"));
    auto* buttons = new QHBoxLayout;
    struct Choice {
        const char16_t* text;
        int answer;
    };
    for (const Choice& choice : {Choice{u"是", 1}, Choice{u"否", 2}, Choice{u"取消", 0}}) {
        auto* button = new QPushButton(QString::fromUtf16(choice.text));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, answer = choice.answer] {
            answer_ = answer;
            accept();
        });
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addLayout(buttons);
}

CDlgAbout::CDlgAbout(QWidget* parent)
    : QDialog(parent),
      link_(new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(kMakerSite)))) {
    setWindowTitle(QStringLiteral("关于"));
    setWindowIcon(EditorIcon());
    auto* icon = new QLabel;
    icon->setPixmap(EditorIcon().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("澜石输入法 皮肤编辑器(V2.0)"));
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link_->setOpenExternalLinks(false);
    link_->setCursor(Qt::PointingHandCursor);
    connect(link_, &QLabel::linkActivated, this,
            [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); });
    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(link_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addLayout(text);
}

}  // namespace tandel
