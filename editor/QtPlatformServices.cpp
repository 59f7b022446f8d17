#include "QtPlatformServices.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>

#include "Dialogs.h"

namespace tandel {

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        filters << QStringLiteral("%1 (%2)").arg(parts[i].section(QLatin1Char('('), 0, 0).trimmed(),
                                                 patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QStringList SplitParameters(const QString& parameters) {
    QStringList arguments;
    QString current;
    bool quoted = false, started = false;
    for (QChar c : parameters) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            started = true;
        } else if (c.isSpace() && !quoted) {
            if (started) {
                arguments << current;
                current.clear();
                started = false;
            }
        } else {
            current += c;
            started = true;
        }
    }
    if (started) {
        arguments << current;
    }
    return arguments;
}

QString QtPlatformServices::OpenFileName(QWidget* owner, const QString& filter) {
    return QFileDialog::getOpenFileName(owner, QString(), QString(), QtFileFilter(filter));
}

QString QtPlatformServices::SaveFileName(QWidget* owner, const QString& title,
                                         const QString& filter, const QString& defaultExtension) {
    QFileDialog dialog(owner, title, QString(), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultExtension);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

int QtPlatformServices::ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                                    MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(
        icon == MessageIcon::Information ? QMessageBox::Information
        : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                         : QMessageBox::NoIcon,
        caption, text,
        buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        owner);
    // The buttons speak the skin author's language, as the system's own message boxes do.
    const std::pair<QMessageBox::StandardButton, const char16_t*> captions[] = {
        {QMessageBox::Yes, u"是(&Y)"}, {QMessageBox::No, u"否(&N)"}, {QMessageBox::Ok, u"确定"}};
    for (const auto& [button, label] : captions) {
        if (QAbstractButton* shown = box.button(button)) {
            shown->setText(QString::fromUtf16(label));
        }
    }
    const int result = box.exec();
    return result == QMessageBox::Yes  ? kMessageYes
           : result == QMessageBox::No ? kMessageNo
                                       : kMessageOk;
}

int QtPlatformServices::SavePrompt(QWidget* owner) {
    CDlgMessageBoxClose prompt(owner);
    prompt.exec();
    return prompt.Answer();
}

bool QtPlatformServices::StartProgram(const QString& program, const QString& parameters) {
    return QProcess::startDetached(program, SplitParameters(parameters));
}

bool QtPlatformServices::OpenWebPage(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address));
}

QColor QtPlatformServices::PickColour(QWidget* owner) {
    return QColorDialog::getColor(Qt::black, owner);
}

QColor QtPlatformServices::ScreenPixel(QPoint globalPosition) {
    QScreen* screen = QGuiApplication::screenAt(globalPosition);
    if (screen == nullptr) {
        return {};
    }
    // Window 0 is the whole screen, measured from the screen's own corner.
    const QPoint onScreen = globalPosition - screen->geometry().topLeft();
    const QImage pixel = screen->grabWindow(0, onScreen.x(), onScreen.y(), 1, 1).toImage();
    return pixel.isNull() ? QColor() : pixel.pixelColor(0, 0);
}

}  // namespace tandel
