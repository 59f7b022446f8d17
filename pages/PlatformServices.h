// The services of the desktop the editor asks for: file dialogs, message boxes, the save
// prompt, starting a program, opening a web page. Behind this interface so that a Windows
// backend can slot in, and so that tests answer the dialogs and read the messages.
#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

class QWidget;

namespace tandel {

enum class MessageIcon { None, Information, Warning };
enum class MessageButtons { Ok, YesNo };
enum MessageResult { kMessageOk = 1, kMessageYes = 6, kMessageNo = 7 };
// The save prompt's answers.
enum SavePromptResult { kSavePromptCancel = 0, kSavePromptYes = 1, kSavePromptNo = 2 };

class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    // Filters are written as the editor's file types name them: "text (*.a)|*.a||".
    // An empty result means the dialog was cancelled.
    virtual QString OpenFileName(QWidget* owner, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& defaultExtension) = 0;
    virtual int ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                            MessageIcon icon, MessageButtons buttons) = 0;
    virtual int SavePrompt(QWidget* owner) = 0;
    // Starts a program with a parameter text and does not wait; false when it cannot start.
    virtual bool StartProgram(const QString& program, const QString& parameters) = 0;
    virtual bool OpenWebPage(const QString& address) = 0;
    // The platform colour dialog; an invalid colour when cancelled.
    virtual QColor PickColour(QWidget* owner) = 0;
    // The screen's pixel at a point of the desktop; an invalid colour where no screen is.
    virtual QColor ScreenPixel(QPoint globalPosition) = 0;
};

}  // namespace tandel
