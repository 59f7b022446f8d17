// Desktop services for the editor's tests: dialogs are answered from queues and everything
// the editor shows or starts is recorded.
#pragma once

#include <QColor>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "PlatformServices.h"

namespace tandel::testing {

struct ShownMessage {
    QString text;
    QString caption;
    MessageIcon icon;
};

class FakeServices : public PlatformServices {
public:
    QString OpenFileName(QWidget*, const QString& filter) override {
        openFilters << filter;
        return take(openAnswers);
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& filter,
                         const QString& extension) override {
        saveTitles << title;
        saveFilters << filter;
        saveExtensions << extension;
        return take(saveAnswers);
    }
    int ShowMessage(QWidget*, const QString& text, const QString& caption, MessageIcon icon,
                    MessageButtons) override {
        messages.push_back({text, caption, icon});
        if (messageAnswers.empty()) {
            return kMessageOk;
        }
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    int SavePrompt(QWidget*) override {
        ++prompts;
        if (promptAnswers.empty()) {
            return kSavePromptNo;
        }
        const int answer = promptAnswers.front();
        promptAnswers.pop_front();
        return answer;
    }
    bool StartProgram(const QString& program, const QString& parameters) override {
        started << program;
        startedParameters << parameters;
        return true;
    }
    bool OpenWebPage(const QString& address) override {
        webPages << address;
        return true;
    }
    QColor PickColour(QWidget*) override { return pickedColour; }
    QColor ScreenPixel(QPoint globalPosition) override {
        screenReads.push_back(globalPosition);
        return screen(globalPosition);
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const ShownMessage& m : messages) {
            texts << m.text;
        }
        return texts;
    }

    std::deque<QString> openAnswers, saveAnswers;
    std::deque<int> promptAnswers, messageAnswers;
    QStringList openFilters, saveTitles, saveFilters, saveExtensions;
    std::vector<ShownMessage> messages;
    int prompts = 0;
    QStringList started, startedParameters, webPages;
    QColor pickedColour;
    std::function<QColor(QPoint)> screen = [](QPoint) { return QColor(Qt::white); };
    std::vector<QPoint> screenReads;

private:
    static QString take(std::deque<QString>& answers) {
        if (answers.empty()) {
            return {};  // the dialog was cancelled
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace tandel::testing
