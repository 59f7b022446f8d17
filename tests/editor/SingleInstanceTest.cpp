// One editor per user: a second start, a real second process, wakes the first and hands it
// its files; a lock left by a crashed editor does not keep a new one from starting.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include "SingleInstance.h"

namespace tandel {
namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        saved_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        QFile::setPermissions(runtime_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved_); }

    QTemporaryDir runtime_;
    QByteArray saved_;
};

TEST_F(SingleInstanceTest, ASecondEditorWakesTheFirstAndEnds) {
    SingleInstance first;
    ASSERT_TRUE(first.Claim({}));
    QSignalSpy woken(&first, &SingleInstance::WakeUp);

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(runtime_.path());
    QElapsedTimer clock;
    clock.start();
    second.start(QStringLiteral(TANDEL_EDITOR_PROGRAM), {QStringLiteral("skin.tdskn")});
    ASSERT_TRUE(woken.wait(15000));
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    // The path arrives absolute: the running editor's folder is not the second start's.
    EXPECT_EQ(woken.front().front().toStringList(),
              QStringList{QDir(runtime_.path()).absoluteFilePath(QStringLiteral("skin.tdskn"))});
}

TEST_F(SingleInstanceTest, OnlyOneClaimSucceedsAndTheNameIsFreeAgainAfterwards) {
    {
        SingleInstance first(QStringLiteral("test-editor"));
        ASSERT_TRUE(first.Claim({}));
        SingleInstance second(QStringLiteral("test-editor"));
        QSignalSpy woken(&first, &SingleInstance::WakeUp);
        EXPECT_FALSE(second.Claim({QStringLiteral("/a.tdskn"), QStringLiteral("/b.tdskn")}));
        ASSERT_TRUE(woken.wait(5000));
        EXPECT_EQ(woken.front().front().toStringList(),
                  (QStringList{QStringLiteral("/a.tdskn"), QStringLiteral("/b.tdskn")}));
    }
    SingleInstance again(QStringLiteral("test-editor"));
    EXPECT_TRUE(again.Claim({}));
}

TEST_F(SingleInstanceTest, AnEditorThatCrashedLeavesNothingInTheWay) {
    QProcess crashed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    crashed.setProcessEnvironment(environment);
    crashed.start(QStringLiteral(TANDEL_EDITOR_PROGRAM), {});
    ASSERT_TRUE(crashed.waitForStarted(15000));
    const QString socket = runtime_.path() + QStringLiteral("/DERIV_ER_UDUZ_IDURUD.socket");
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(socket) && clock.elapsed() < 15000) {
        QThread::msleep(20);
    }
    ASSERT_TRUE(QFile::exists(socket));
    crashed.kill();  // no clean-up: its lock file and socket stay behind
    ASSERT_TRUE(crashed.waitForFinished(5000));

    SingleInstance next;
    EXPECT_TRUE(next.Claim({}));
}

}  // namespace
}  // namespace tandel
