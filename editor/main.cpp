// The 澜石输入法 skin editor: one editor per user; a second start wakes the running one and
// hands it the skin files it was given.
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "AtelierDlg.h"
#include "Dpi.h"
#include "QtPlatformServices.h"
#include "SingleInstance.h"
#include "SkinDocument.h"

namespace {

int gScreenDpi = 96;
int screenDpi() {
    return gScreenDpi;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Whether Qt can open a window here at all: a platform named outright, or a local display
// server whose socket exists (Qt would abort on a display it cannot reach). Displays on other
// hosts are taken on trust.
bool hasDisplay() {
    if (!environment("QT_QPA_PLATFORM").empty()) {
        return true;
    }
    const std::string wayland = environment("WAYLAND_DISPLAY");
    if (!wayland.empty()) {
        const std::filesystem::path socket =
            wayland.front() == '/'
                ? std::filesystem::path(wayland)
                : std::filesystem::path(environment("XDG_RUNTIME_DIR")) / wayland;
        std::error_code error;
        if (std::filesystem::exists(socket, error)) {
            return true;
        }
    }
    const std::string x11 = environment("DISPLAY");
    if (x11.empty()) {
        return false;
    }
    if (x11.front() != ':') {
        return true;
    }
    const std::string number = x11.substr(1, x11.find('.') - 1);
    std::error_code error;
    return std::filesystem::exists("/tmp/.X11-unix/X" + number, error);
}

// Outside a desktop session (no XDG_RUNTIME_DIR, as over ssh under xvfb-run) the editor makes
// the private runtime folder a session would give it, for its single-instance lock and socket,
// instead of Qt warning about the missing folder on every start.
void provideRuntimeFolder() {
    if (!environment("XDG_RUNTIME_DIR").empty()) {
        return;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("tandel-skin-editor-" + std::to_string(::getuid()));
    ::mkdir(folder.c_str(), 0700);
    struct stat status {};
    // Only a real folder of this user that nobody else may enter; else Qt picks its own.
    if (::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
        status.st_uid == ::getuid() && (status.st_mode & 077) == 0) {
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!hasDisplay()) {
        std::fputs(
            "tandel-skin-editor: no display to open the editor on; run it in a desktop session, "
            "or headless as: xvfb-run -a tandel-skin-editor\n",
            stderr);
        return 1;
    }
    provideRuntimeFolder();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tandel-skin-editor"));
    // Qt's own dialogs (files, colours) in the skin authors' language, where the system has it.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    // Absolute, so that a running editor woken from another folder finds them.
    QStringList paths;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        paths << QFileInfo(argument).absoluteFilePath();
    }
    tandel::SingleInstance instance;
    if (!instance.Claim(paths)) {
        return 0;
    }

    // Skin sizes scale with the screen the editor opens on.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        gScreenDpi = int(screen->logicalDotsPerInchX() * screen->devicePixelRatio() + 0.5);
    }
    tandel::SetScreenDpiSource(&screenDpi);
    tandel::CDPI::Instance().Refresh();
    tandel::CDPIEditor::Instance().Refresh();

    tandel::QtPlatformServices services;
    tandel::CAtelierDlg window(tandel::SkinDocument::instance(), services);
    QObject::connect(&instance, &tandel::SingleInstance::WakeUp, &window,
                     &tandel::CAtelierDlg::WakeUp);
    window.show();
    if (!paths.isEmpty()) {
        window.OnDropFiles(paths);
    }
    return application.exec();
}
