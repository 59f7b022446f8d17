// The editor's small dialogs: the save prompt and the About box.
#pragma once

#include <QDialog>

class QLabel;

namespace tandel {

// The maker's web site, linked from the About box, with the help page on it.
inline constexpr char kMakerSite[] = "https://skins.tandel.example/";
inline constexpr char kHelpPage[] = "https://skins.tandel.example/skinhelp.html";

// "是否保存正在编辑的皮肤？" with 是, 否 and 取消: returns 1, 2 or 0 (also when closed).
class CDlgMessageBoxClose : public QDialog {
    Q_OBJECT
public:
    explicit CDlgMessageBoxClose(QWidget* parent = nullptr);
    int Answer() const { return answer_; }

private:
    int answer_ = 0;
};

class CDlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit CDlgAbout(QWidget* parent = nullptr);
    QLabel* Link() const { return link_; }

private:
    QLabel* link_;
};

// The program's icon, drawn for the window and the dialogs.
QIcon EditorIcon();

}  // namespace tandel
