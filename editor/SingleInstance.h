// One editor per user. The first start holds a lock and listens for wake-ups; a later start
// sends a wake-up, with the skin files it was given, and ends. The lock and the socket live
// in the user's runtime folder, so other users cannot interfere, and a lock left by a crashed
// editor is recognised as stale.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

namespace tandel {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name = QStringLiteral("DERIV_ER_UDUZ_IDURUD"),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is to be the editor; false when another editor runs, which has
    // then been sent a wake-up carrying paths.
    bool Claim(const QStringList& paths);

Q_SIGNALS:
    void WakeUp(const QStringList& paths);

private:
    void readWakeUp();

    QString lockPath_;
    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

}  // namespace tandel
