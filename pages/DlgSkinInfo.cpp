#include "DlgSkinInfo.h"

#include <QFile>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CxImage.h"
#include "Dpi.h"
#include "EditorHost.h"
#include "MyStatic.h"
#include "PageFramework.h"
#include "PlatformServices.h"
#include "SkinDocument.h"
#include "SkinInfo.h"
#include "SkinSignature.h"
#include "TextCodec.h"

namespace tandel {

class DescriptionEdit : public QPlainTextEdit {
public:
    static constexpr int kLimit = 127;
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString typed = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                                  ? QStringLiteral("\n")
                                  : event->text();
        if (!typed.isEmpty() && typed.front().isPrint() == false && typed != QStringLiteral("\n")) {
            QPlainTextEdit::keyPressEvent(event);
            return;
        }
        if (!typed.isEmpty() && !fits(typed)) {
            event->accept();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }
    void insertFromMimeData(const QMimeData* source) override {
        if (source->hasText() && !fits(source->text())) {
            return;
        }
        QPlainTextEdit::insertFromMimeData(source);
    }

private:
    // Whether the text still fits with the selection replaced by added.
    bool fits(const QString& added) const {
        const QString selected = textCursor().selectedText();
        const std::size_t length = withCrLf(toPlainText().toStdU16String()).size() -
                                   withCrLf(selected.toStdU16String()).size() +
                                   withCrLf(added.toStdU16String()).size();
        return length <= kLimit;
    }
};

namespace {

constexpr int kPreviewSlots[2] = {7, 8};
constexpr QSize kPreviewSizes[2] = {{96, 72}, {176, 92}};

const QString kUploadQuestion =
    QStringLiteral("上传的皮肤审核通过后将发布于输入法皮肤\r\n管理的在线皮肤中，是否继续上传？");
const QString kAnimatedPreview = QStringLiteral("预览图不支持动态皮肤。");

QLineEdit* limitedField() {
    auto* field = new QLineEdit;
    field->setMaxLength(31);
    return field;
}

// A file name for the skin: its name with the characters a path cannot hold replaced.
QString skinFileName(const std::string& ansiName) {
    QString name = QString::fromStdU16String(gbkToUtf16(ansiName));
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20) {
            c = QLatin1Char('_');
        }
    }
    return name + QStringLiteral(".tdskn");
}

}  // namespace

CDlgSkinInfo::CDlgSkinInfo(SkinDocument& document, PlatformServices& services, QWidget* parent)
    : CPageBase(parent),
      document_(document),
      services_(services),
      name_(limitedField()),
      author_(limitedField()),
      email_(limitedField()),
      description_(new DescriptionEdit),
      uploadButton_(new QPushButton(QStringLiteral("上传"))) {
    auto* author = new QGroupBox(QStringLiteral("作者信息"));
    auto* form = new QFormLayout(author);
    form->addRow(QStringLiteral("名称"), name_);
    form->addRow(QStringLiteral("作者"), author_);
    form->addRow(QStringLiteral("邮箱"), email_);
    description_->setTabChangesFocus(true);
    description_->setFixedHeight(CDPIEditor::Instance().ScaleValue(72));
    form->addRow(QStringLiteral("说明"), description_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(author);
    const char16_t* const titles[2] = {u"预览图1(96x72)", u"预览图2(176x92)"};
    for (int i = 0; i < 2; ++i) {
        auto* group = new QGroupBox(QString::fromUtf16(titles[i]));
        auto* row = new QHBoxLayout(group);
        boxes_[std::size_t(i)] = new CMyStatic;
        boxes_[std::size_t(i)]->setFixedSize(
            CDPIEditor::Instance().ScaleValue(kPreviewSizes[i].width()),
            CDPIEditor::Instance().ScaleValue(kPreviewSizes[i].height()));
        auto* import = new QPushButton(QStringLiteral("导入"));
        restore_[std::size_t(i)] = new QPushButton(QStringLiteral("恢复"));
        restore_[std::size_t(i)]->setEnabled(false);
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(import);
        buttons->addWidget(restore_[std::size_t(i)]);
        buttons->addStretch();
        // A sunken well shows where the picture goes before there is one.
        auto* well = new QFrame;
        well->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        auto* wellLayout = new QHBoxLayout(well);
        wellLayout->setContentsMargins(1, 1, 1, 1);
        wellLayout->addWidget(boxes_[std::size_t(i)]);
        row->addWidget(well, 0, Qt::AlignTop);
        row->addLayout(buttons);
        row->addStretch();
        layout->addWidget(group);
        connect(import, &QPushButton::clicked, this, [this, i] { OnImport(i); });
        connect(restore_[std::size_t(i)], &QPushButton::clicked, this, [this, i] { OnRestore(i); });
    }
    layout->addWidget(uploadButton_, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(uploadButton_, &QPushButton::clicked, this, &CDlgSkinInfo::OnUpload);
}

CDlgSkinInfo::~CDlgSkinInfo() = default;

QPlainTextEdit* CDlgSkinInfo::DescriptionField() const {
    return description_;
}

int CDlgSkinInfo::message(const QString& text, int buttons) {
    return services_.ShowMessage(ownerWindow(), text, QString::fromUtf16(kEditorCaption),
                                 MessageIcon::Information,
                                 buttons == 2 ? MessageButtons::YesNo : MessageButtons::Ok);
}

int CDlgSkinInfo::Apply() {
    const SkinInfoFields fields{name_->text().toStdU16String(), author_->text().toStdU16String(),
                                email_->text().toStdU16String(),
                                description_->toPlainText().toStdU16String()};
    const std::string problem = applySkinInfo(document_.header, fields, EmailRule::Required);
    // The code-page forms go with the upload. Each field that passed was written into the
    // header; the e-mail's is kept as soon as it is checked, so once the author passed.
    auto passed = [](std::u16string_view stored, const std::u16string& field) {
        return !field.empty() && stored == field;
    };
    if (passed(fixedText(document_.header.name), fields.name)) {
        ansiName_ = utf16ToGbk(fields.name);
    }
    if (passed(fixedText(document_.header.author), fields.author)) {
        ansiAuthor_ = utf16ToGbk(fields.author);
        ansiEmail_ = utf16ToGbk(fields.email);
    }
    if (!problem.empty()) {
        message(QString::fromStdString(problem), 1);
        return 0;
    }
    return 1;
}

int CDlgSkinInfo::Refresh() {
    name_->clear();
    author_->clear();
    email_->clear();
    description_->clear();
    name_->setText(QString::fromStdU16String(std::u16string(fixedText(document_.header.name))));
    author_->setText(QString::fromStdU16String(std::u16string(fixedText(document_.header.author))));
    email_->setText(QString::fromStdU16String(std::u16string(fixedText(document_.header.email))));
    // The field shows line breaks as single characters.
    description_->setPlainText(
        QString::fromStdU16String(std::u16string(fixedText(document_.header.description)))
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    for (int i = 0; i < 2; ++i) {
        showSlot(i);
    }
    update();
    return 0;
}

void CDlgSkinInfo::Clear() {
    for (int i = 0; i < 2; ++i) {
        paths_[std::size_t(i)].clear();
        boxes_[std::size_t(i)]->Clear();
    }
    name_->clear();
    author_->clear();
    email_->clear();
    description_->clear();
    update();
}

void CDlgSkinInfo::showSlot(int picture) {
    const PictureSlot& slot = document_.pictures[std::size_t(kPreviewSlots[picture])];
    if (slot.empty()) {
        boxes_[std::size_t(picture)]->Clear();  // an opened skin without this preview
    } else {
        boxes_[std::size_t(picture)]->SetImageData(slot.bytes());
    }
}

void CDlgSkinInfo::OnImport(int picture) {
    const std::size_t i = std::size_t(picture);
    paths_[i] = PickPictureFile(services_, ownerWindow(), false);
    if (paths_[i].isEmpty()) {
        return;
    }
    CxImage image;
    if (image.loadFile(paths_[i].toStdU16String()) && image.frameCount() > 1) {
        message(kAnimatedPreview, 1);
    }
    const QSize size = kPreviewSizes[picture];
    paths_[i] = ScalePictureToFile(paths_[i], size.width(), size.height());
    if (paths_[i].isEmpty()) {
        return;
    }
    document_.importPicture(kPreviewSlots[picture], paths_[i].toStdU16String());
    boxes_[i]->SetImageFile(paths_[i]);
    restore_[i]->setEnabled(true);
}

void CDlgSkinInfo::OnRestore(int picture) {
    const std::size_t i = std::size_t(picture);
    const int slot = kPreviewSlots[picture];
    document_.restorePicture(slot);
    if (document_.pictures[std::size_t(slot)].empty()) {
        paths_[i].clear();
    }
    showSlot(picture);
    restore_[i]->setEnabled(false);
    update();
}

void CDlgSkinInfo::OnUpload() {
    if (Apply() == 0) {
        return;
    }
    if (message(kUploadQuestion, 2) != kMessageYes) {
        return;
    }
    storeDigest(document_.header.skinId,
                makeSkinId(name_->text().toStdU16String(), author_->text().toStdU16String()));
    const QString folder = PictureFolder();
    if (folder.isEmpty()) {
        return;
    }
    const QString file = folder + skinFileName(ansiName_);
    std::string why;
    if (!document_.saveToFile(file.toStdU16String(), &why)) {
        message(QStringLiteral("皮肤文件保存失败：%1\n%2").arg(file, QString::fromStdString(why)),
                1);
        return;
    }
    if (upload_) {
        upload_(file, ansiName_ + " : " + ansiAuthor_, ansiEmail_);
    }
    // The copy was only made for the mail; the runner has finished with it.
    QFile::remove(file);
}

bool CDlgSkinInfo::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tandel
