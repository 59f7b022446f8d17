// The platform services on Qt's own dialogs and process launcher.
#pragma once

#include "PlatformServices.h"

namespace tandel {

class QtPlatformServices : public PlatformServices {
public:
    QString OpenFileName(QWidget* owner, const QString& filter) override;
    QString SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                         const QString& defaultExtension) override;
    int ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon,
                    MessageButtons buttons) override;
    int SavePrompt(QWidget* owner) override;
    bool StartProgram(const QString& program, const QString& parameters) override;
    bool OpenWebPage(const QString& address) override;
    QColor PickColour(QWidget* owner) override;
    QColor ScreenPixel(QPoint globalPosition) override;
};

// A filter written "text (*.a;*.b)|*.a;*.b||" as Qt's dialogs take it: "text (*.a *.b)".
QString QtFileFilter(const QString& filter);
// The parameter text of a program split into arguments as a shell would: blanks separate,
// double quotes group.
QStringList SplitParameters(const QString& parameters);

}  // namespace tandel
