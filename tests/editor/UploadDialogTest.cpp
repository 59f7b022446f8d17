// The upload dialog against a scripted server, the information page's upload button, and the
// main window's wiring of the two.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <fstream>

#include "AtelierDlg.h"
#include "DlgSkinInfo.h"
#include "DlgUpLoad.h"
#include "Dpi.h"
#include "FakeServices.h"
#include "PageFramework.h"
#include "ScriptedSmtpServer.h"
#include "SkinDocument.h"
#include "TestFiles.h"

namespace tandel {
namespace {

using namespace std::chrono_literals;
using testing::ScriptedSmtpServer;

const QString kSentText = QStringLiteral("      皮肤上传成功，请耐心等待官方审核结果。");
const QString kFailedText = QStringLiteral("      皮肤上传失败，请检查网络设置。");

class UploadDialogTest : public ::testing::Test {
protected:
    static UploadServer server(std::uint16_t port) {
        return {"127.0.0.1", port, "skins@maker.test", "dXBsb2Fk", "c2VjcmV0"};
    }
    QString skinFile() {
        testing::writeFile(folder / "skin.tdskn", std::vector<std::uint8_t>(7000, 0x42));
        return QString::fromStdString((folder / "skin.tdskn").string());
    }
    static bool finished(CDlgUpLoad& dialog) {
        return QTest::qWaitFor([&] { return dialog.OkButton()->isVisible(); }, 10000);
    }

    testing::TemporaryFolder folder;
};

TEST_F(UploadDialogTest, StartsWithTheSendingMessageAndCancel) {
    CDlgUpLoad dialog(server(0));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("澜石输入法皮肤编辑器"));
    EXPECT_EQ(dialog.MessageLabel()->text(), QStringLiteral("皮肤正在上传中..."));
    EXPECT_EQ(dialog.PercentLabel()->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.ProgressBar()->value(), 0);
    EXPECT_EQ(dialog.ProgressBar()->maximum(), 100);
    EXPECT_TRUE(dialog.CancelButton()->isVisible());
    EXPECT_FALSE(dialog.OkButton()->isVisible());
    EXPECT_FALSE(dialog.SuccessPicture()->isVisible());
    EXPECT_FALSE(dialog.FailurePicture()->isVisible());
}

TEST_F(UploadDialogTest, ShowsTheOutcomeWithItsPicture) {
    struct Case {
        const char* name;
        bool configured;
        std::optional<std::string> heloReply;
        bool sent;
    };
    const Case cases[] = {
        {"sent", true, std::nullopt, true},
        {"no server configured", false, std::nullopt, false},
        {"login refused", true, "220 not now\r\n", false},
    };
    const CDPIEditor& dpi = CDPIEditor::Instance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSmtpServer::Script script;
        if (c.heloReply) {
            script.replies[ScriptedSmtpServer::kHelo] = *c.heloReply;
        }
        ScriptedSmtpServer smtp(script);
        UploadServer settings = server(smtp.Port());
        if (!c.configured) {
            settings.host.clear();
        }
        CDlgUpLoad dialog(settings);
        dialog.show();
        dialog.StartUpload(skinFile(), "sender", "zhang@example.com");
        ASSERT_TRUE(finished(dialog));
        EXPECT_EQ(dialog.Outcome(), c.sent ? CDlgUpLoad::kSent : CDlgUpLoad::kFailed);
        EXPECT_EQ(dialog.MessageLabel()->text(), c.sent ? kSentText : kFailedText);
        EXPECT_EQ(dialog.SuccessPicture()->isVisible(), c.sent);
        EXPECT_EQ(dialog.FailurePicture()->isVisible(), !c.sent);
        EXPECT_EQ(
            dialog.MessageLabel()->geometry(),
            QRect(dpi.ScaleValue(90), dpi.ScaleValue(72), dpi.ScaleValue(335), dpi.ScaleValue(30)));
        EXPECT_FALSE(dialog.ProgressBar()->isVisible());
        EXPECT_FALSE(dialog.PercentLabel()->isVisible());
        EXPECT_FALSE(dialog.CancelButton()->isVisible());
        EXPECT_EQ(dialog.ProgressBar()->value(), c.sent ? 100 : 0);
        EXPECT_EQ(dialog.PercentLabel()->text(), c.sent ? QStringLiteral("100%") : "0");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(UploadDialogTest, ClosingDuringTheUploadStopsTheWorkerAtOnce) {
    const std::function<void(CDlgUpLoad&)> closers[] = {
        [](CDlgUpLoad& dialog) { dialog.close(); },
        [](CDlgUpLoad& dialog) { QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton); },
        [](CDlgUpLoad& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
    };
    for (const auto& closeDialog : closers) {
        ScriptedSmtpServer::Script script;
        script.silentAt = ScriptedSmtpServer::kAuth;  // the worker waits the whole 30 s
        ScriptedSmtpServer smtp(script);
        CDlgUpLoad dialog(server(smtp.Port()));
        dialog.show();
        dialog.StartUpload(skinFile(), "sender", "zhang@example.com");
        QTest::qWait(150);
        const auto start = std::chrono::steady_clock::now();
        closeDialog(dialog);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(dialog.Done());
        EXPECT_EQ(dialog.Outcome(), CDlgUpLoad::kFailed);
        EXPECT_TRUE(smtp.ClientGone(2000));
    }
}

TEST_F(UploadDialogTest, ASilentServerEndsInTheFailureMessage) {
    ScriptedSmtpServer::Script script;
    script.silentAt = ScriptedSmtpServer::kGreeting;
    ScriptedSmtpServer smtp(script);
    CDlgUpLoad dialog(server(smtp.Port()));
    dialog.SetTimeout(200ms);
    dialog.show();
    dialog.StartUpload(skinFile(), "sender", "zhang@example.com");
    ASSERT_TRUE(finished(dialog));
    EXPECT_EQ(dialog.MessageLabel()->text(), kFailedText);
}

TEST(UploadPercent, HasNoDecimals) {
    const std::tuple<std::uint64_t, std::uint64_t, const char*> cases[] = {
        {0, 3, "0%"},  {1, 3, "33%"},        {2, 3, "67%"},
        {1, 8, "12%"}, {3000, 3001, "100%"}, {3001, 3001, "100%"},
    };
    for (const auto& [done, total, text] : cases) {
        EXPECT_EQ(UploadPercentText(done, total), QString::fromLatin1(text))
            << done << "/" << total;
    }
}

// The main window's information page, on a document of its own.
class UploadButtonTest : public UploadDialogTest {
protected:
    void SetUp() override {
        qputenv("TANDEL_REGISTRY", QByteArray::fromStdString((folder / "registry.ini").string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((folder / "data").string()));
    }
    void TearDown() override {
        qunsetenv("TANDEL_REGISTRY");
        qunsetenv("XDG_DATA_HOME");
    }

    static void fill(CDlgSkinInfo& page) {
        page.NameField()->setText(QStringLiteral("水墨"));
        page.AuthorField()->setText(QStringLiteral("张三"));
        page.EmailField()->setText(QStringLiteral("zhang@example.com"));
    }

    SkinDocument document;
    testing::FakeServices services;
};

TEST_F(UploadButtonTest, TheMainWindowUploadsWithTheConfiguredServer) {
    const struct {
        bool configured;
        const QString& message;
    } cases[] = {{true, kSentText}, {false, kFailedText}};
    for (const auto& c : cases) {
        ScriptedSmtpServer smtp;
        std::ofstream(folder / "registry.ini")
            << (c.configured ? "[Software\\Tandel\\Upload]\nHost=127.0.0.1\nPort=" +
                                   std::to_string(smtp.Port()) +
                                   "\nMailbox=skins@maker.test\nUserBase64=dXBsb2Fk\n"
                                   "PasswordBase64=c2VjcmV0\n"
                             : "");
        CAtelierDlg window(document, services);
        auto* page = dynamic_cast<CDlgSkinInfo*>(window.Page(0));
        ASSERT_NE(page, nullptr);
        fill(*page);
        services.messageAnswers = {kMessageYes};
        QString shown;
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = qobject_cast<CDlgUpLoad*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(finished(*dialog));
            shown = dialog->MessageLabel()->text();
            dialog->OnOk();
        });
        page->OnUpload();
        EXPECT_EQ(shown, c.message);
        EXPECT_FALSE(QFile::exists(PictureFolder() + QStringLiteral("水墨.tdskn")));
        if (c.configured) {
            EXPECT_NE(smtp.Received().find("MAIL FROM:<skins@maker.test>"), std::string::npos);
        }
        services.promptAnswers = {kSavePromptNo};
    }
}

}  // namespace
}  // namespace tandel
