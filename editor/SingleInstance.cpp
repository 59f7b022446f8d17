#include "SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace tandel {
namespace {

constexpr char kWakeUp[] = "WAKE";

QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent),
      lockPath_(runtimeFolder() + QLatin1Char('/') + name + QStringLiteral(".lock")),
      socketPath_(runtimeFolder() + QLatin1Char('/') + name + QStringLiteral(".socket")) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::readWakeUp);
}

SingleInstance::~SingleInstance() {
    server_.close();
    if (lock_) {
        lock_->unlock();
    }
}

bool SingleInstance::Claim(const QStringList& paths) {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    if (lock_->tryLock(0)) {
        // A socket left by an editor that crashed must not keep this one from listening.
        QLocalServer::removeServer(socketPath_);
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        server_.listen(socketPath_);
        return true;
    }
    lock_.reset();
    // The running editor may still be starting: give it a moment to listen.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(100)) {
            QByteArray message = kWakeUp;
            for (const QString& path : paths) {
                message += '\n' + path.toUtf8();
            }
            socket.write(message);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return false;
        }
        QThread::msleep(100);
    }
    return false;
}

void SingleInstance::readWakeUp() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
            const QList<QByteArray> lines = socket->readAll().split('\n');
            if (lines.isEmpty() || lines.front() != kWakeUp) {
                return;
            }
            QStringList paths;
            for (qsizetype i = 1; i < lines.size(); ++i) {
                if (!lines[i].isEmpty()) {
                    paths << QString::fromUtf8(lines[i]);
                }
            }
            Q_EMIT WakeUp(paths);
        });
    }
}

}  // namespace tandel
