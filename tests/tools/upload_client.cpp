// Uploads a skin file through the editor's upload dialog with the server the configuration
// names, as the information page does, then prints the dialog's message: the client of the
// end-to-end upload test.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "DlgUpLoad.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: upload_client SKIN.tdskn SENDER SUBJECT\n");
        return 2;
    }
    QString message;
    bool sent = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<tandel::CDlgUpLoad*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->OkButton()->isVisible()) {
            message = dialog->MessageLabel()->text();
            sent = dialog->Outcome() == tandel::CDlgUpLoad::kSent;
            dialog->OnOk();
        }
    });
    watch.start(50);
    tandel::RunSkinUpload(nullptr, QString::fromLocal8Bit(argv[1]), argv[2], argv[3]);
    std::printf("%s\n", message.toUtf8().constData());
    return sent ? 0 : 1;
}
