// The first tab: the skin's name, author, e-mail and description, its two preview pictures,
// and the upload. Its Apply is the check every save goes through.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>

#include "PageBase.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tandel {

class CMyStatic;
class PlatformServices;
class SkinDocument;

// A description field that takes at most 127 characters from the keyboard or the clipboard,
// each line break counting as two; text set by the page is not limited.
class DescriptionEdit;

class CDlgSkinInfo : public CPageBase {
    Q_OBJECT
public:
    // Runs the upload of a skin file already written: the file, the sender's display name and
    // the subject (both in the system code page). The page deletes the file once it returns.
    using UploadRunner = std::function<void(const QString& file, const std::string& sender,
                                            const std::string& subject)>;

    CDlgSkinInfo(SkinDocument& document, PlatformServices& services, QWidget* parent = nullptr);
    ~CDlgSkinInfo() override;

    int Apply() override;
    // Fills the fields and the picture boxes from the document; 0, as the window expects of
    // this page.
    int Refresh() override;
    // A new skin: empty fields and picture boxes.
    void Clear();

    void OnImport(int picture);
    void OnRestore(int picture);
    void OnUpload();
    void SetUploadRunner(UploadRunner runner) { upload_ = std::move(runner); }

    QLineEdit* NameField() const { return name_; }
    QLineEdit* AuthorField() const { return author_; }
    QLineEdit* EmailField() const { return email_; }
    QPlainTextEdit* DescriptionField() const;
    CMyStatic* PictureBox(int picture) const { return boxes_[std::size_t(picture)]; }
    QPushButton* RestoreButton(int picture) const { return restore_[std::size_t(picture)]; }
    QPushButton* UploadButton() const { return uploadButton_; }
    const QString& PicturePath(int picture) const { return paths_[std::size_t(picture)]; }

protected:
    // Enter and Tab work as in any form (a new line in the description, the next field);
    // Escape stops here.
    bool event(QEvent* event) override;

private:
    int message(const QString& text, int buttons);
    // The box shows what the document's preview slot holds.
    void showSlot(int picture);

    SkinDocument& document_;
    PlatformServices& services_;
    QLineEdit* name_;
    QLineEdit* author_;
    QLineEdit* email_;
    DescriptionEdit* description_;
    std::array<CMyStatic*, 2> boxes_{};
    std::array<QPushButton*, 2> restore_{};
    QPushButton* uploadButton_;
    std::array<QString, 2> paths_;
    // The texts as the system code page has them, kept by Apply for the upload.
    std::string ansiName_, ansiAuthor_, ansiEmail_;
    UploadRunner upload_;
};

}  // namespace tandel
