// New, Open, Save, Save as, Save and install, dropped files and closing: the prompts, the
// dialogs and the exact messages.
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include "EditorFixture.h"
#include "TextCodec.h"

namespace tandel {
namespace {

using testing::EditorFixture;

const QString kCaption = QStringLiteral("澜石输入法皮肤编辑器");
const QString kSavedToFile = QStringLiteral("  皮肤文件保存成功。  ");
const QString kSavedByDialog = QStringLiteral("    皮肤文件保存成功。 ");
const QString kCannotEdit = QStringLiteral("文件不支持编辑，请重新选择。");
const QString kWrongFormat = QStringLiteral("文件格式不正确。");
const QString kInstallFailed = QStringLiteral("皮肤安装失败，请先安装澜石输入法");
const QString kFilter = QStringLiteral("澜石输入法皮肤文件 (*.tdskn)|*.tdskn||");

class FileCommandsTest : public EditorFixture {
protected:
    std::u16string documentName() const { return std::u16string(fixedText(document.header.name)); }
    // Sends the window a close request; true when it closed.
    bool requestClose() {
        QCloseEvent event;
        QApplication::sendEvent(window.get(), &event);
        return event.isAccepted();
    }
};

TEST_F(FileCommandsTest, SavingANewSkinAsksForAFileEveryTime) {
    services.saveAnswers = {path("a.tdskn"), path("b.tdskn")};
    window->OnSave();
    window->OnSave();
    EXPECT_EQ(services.saveTitles, (QStringList{QStringLiteral("保存"), QStringLiteral("保存")}));
    EXPECT_EQ(services.saveFilters.front(), kFilter);
    EXPECT_EQ(services.saveExtensions.front(), QStringLiteral("tdskn"));
    EXPECT_EQ(services.messageTexts(), (QStringList{kSavedByDialog, kSavedByDialog}));
    EXPECT_EQ(services.messages.front().caption, kCaption);
    EXPECT_EQ(services.messages.front().icon, MessageIcon::None);
    EXPECT_TRUE(SkinDocument::checkFile(folder / "a.tdskn"));
    EXPECT_TRUE(SkinDocument::checkFile(folder / "b.tdskn"));
    EXPECT_EQ(window->Untitled(), -1);
    EXPECT_TRUE(window->CurrentPath().isEmpty());
    // The skin id comes from the name and author.
    EXPECT_EQ(pages[0]->applied, 2);
    EXPECT_NE(document.header.skinId[0], 0);

    services.saveAnswers.clear();  // a cancelled dialog saves nothing and says nothing
    window->OnSave();
    EXPECT_FALSE(window->SaveSucceeded());
    EXPECT_EQ(services.messages.size(), 2u);
}

TEST_F(FileCommandsTest, AnOpenedSkinIsSavedToItsFile) {
    const QString file = skinFile("opened.tdskn");
    services.openAnswers = {file};
    window->OnOpen();
    EXPECT_EQ(services.prompts, 1);
    EXPECT_EQ(services.openFilters, QStringList{kFilter});
    EXPECT_EQ(window->CurrentPath(), file);
    EXPECT_EQ(window->Untitled(), 0);
    EXPECT_EQ(documentName(), u"水墨");
    for (int tab : {0, 1, 2, 3, 4}) {
        EXPECT_EQ(pages[std::size_t(tab)]->refreshed, 1) << tab;
    }
    setFixedText(document.header.name, u"江南");
    window->OnSave();
    EXPECT_TRUE(services.saveTitles.isEmpty());
    EXPECT_EQ(services.messageTexts(), QStringList{kSavedToFile});
    SkinDocument reread;
    ASSERT_TRUE(reread.loadFromFile(folder / "opened.tdskn"));
    EXPECT_EQ(std::u16string(fixedText(reread.header.name)), u"江南");
}

TEST_F(FileCommandsTest, OpenStopsWhereTheAuthorSaysSo) {
    const QString file = skinFile("other.tdskn");
    services.promptAnswers = {kSavePromptCancel};
    window->OnOpen();
    EXPECT_TRUE(services.openFilters.isEmpty());

    // Yes, then the save dialog is cancelled: nothing is saved, so nothing is opened.
    services.promptAnswers = {kSavePromptYes};
    services.openAnswers = {file};
    window->OnOpen();
    EXPECT_TRUE(services.openFilters.isEmpty());
    EXPECT_TRUE(window->CurrentPath().isEmpty());

    services.openAnswers.clear();  // the open dialog cancelled
    window->OnOpen();
    EXPECT_TRUE(window->CurrentPath().isEmpty());

    testing::writeFile(folder / "junk.tdskn", std::vector<std::uint8_t>(700, 7));
    services.openAnswers = {path("junk.tdskn")};
    window->OnOpen();
    EXPECT_EQ(services.messageTexts(), QStringList{kCannotEdit});
    EXPECT_EQ(services.messages.back().icon, MessageIcon::Information);
    EXPECT_TRUE(window->CurrentPath().isEmpty());
}

TEST_F(FileCommandsTest, NewStartsOverOnlyWhenTheSkinIsSafe) {
    const QString file = skinFile("kept.tdskn");
    window->OpenFile(file);
    ASSERT_EQ(documentName(), u"水墨");

    services.promptAnswers = {kSavePromptCancel};
    window->OnNew();
    EXPECT_EQ(documentName(), u"水墨");

    // Yes with a save that fails: the skin stays (an opened skin saves to its file, here a
    // file whose folder went away).
    QDir(path("")).rename(QStringLiteral("kept.tdskn"), QStringLiteral("moved.tdskn"));
    std::filesystem::create_directories(folder / "kept.tdskn" / "x");
    services.promptAnswers = {kSavePromptYes};
    window->OnNew();
    EXPECT_EQ(documentName(), u"水墨");
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.messages.back().text.startsWith(QStringLiteral("皮肤文件保存失败：")));
    EXPECT_TRUE(services.messages.back().text.contains(file));
    EXPECT_EQ(services.messages.back().icon, MessageIcon::Warning);
    EXPECT_FALSE(window->SaveSucceeded());

    services.promptAnswers = {kSavePromptNo};
    window->OnNew();
    EXPECT_EQ(documentName(), u"澜石输入法");
    EXPECT_EQ(window->Untitled(), -1);
    EXPECT_TRUE(window->CurrentPath().isEmpty());
    EXPECT_EQ(pages[2]->refreshed, 2);  // after the open and after the new skin
}

TEST_F(FileCommandsTest, DroppedFiles) {
    const QString file = skinFile("drop.TDSKN");
    window->OnDropFiles({});
    window->OnDropFiles({path("picture.png"), file});
    EXPECT_EQ(services.messageTexts(), QStringList{kWrongFormat});
    EXPECT_TRUE(window->CurrentPath().isEmpty());
    window->OnDropFiles({file, path("picture.png")});
    EXPECT_EQ(window->CurrentPath(), file);
    EXPECT_EQ(services.prompts, 0);  // a drop never asks
    window->OnDropFiles({path("noextension")});
    EXPECT_EQ(services.messageTexts().back(), kWrongFormat);
}

TEST_F(FileCommandsTest, SaveAsWritesWithoutAMessage) {
    services.saveAnswers = {path("as.tdskn")};
    window->OnSaveAs();
    EXPECT_EQ(services.saveTitles, QStringList{QString()});
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(SkinDocument::checkFile(folder / "as.tdskn"));
    pages[0]->refuse = true;  // the information page refuses: nothing happens
    services.saveAnswers = {path("refused.tdskn")};
    window->OnSaveAs();
    window->OnSave();
    window->OnSaveAndInstall();
    EXPECT_EQ(services.saveTitles.size(), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "refused.tdskn"));
}

TEST_F(FileCommandsTest, SaveAndInstallStartsTheConfigurationTool) {
    services.saveAnswers = {path("install.tdskn")};
    window->OnSaveAndInstall();  // no input method: saved, then the failure
    EXPECT_EQ(services.saveTitles, QStringList{QStringLiteral("保存并安装")});
    EXPECT_TRUE(SkinDocument::checkFile(folder / "install.tdskn"));
    EXPECT_EQ(services.messageTexts(), QStringList{kInstallFailed});
    EXPECT_TRUE(services.started.isEmpty());

    writeRegistry("[Software\\Tandel]\nInstallDir=" + (folder / "X").string() + "\nVersion=\n");
    services.saveAnswers = {path("install.tdskn")};
    window->OnSaveAndInstall();  // no version: stops without a word
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.started.isEmpty());

    writeRegistry("[Software\\Tandel]\nInstallDir=" + (folder / "X").string() + "\nVersion=2.6\n");
    const QString file = skinFile("installed skin.tdskn");
    window->OpenFile(file);
    window->OnSaveAndInstall();  // an opened skin: its own file, no dialog
    EXPECT_EQ(services.saveTitles.size(), 2);
    ASSERT_EQ(services.started.size(), 1);
    EXPECT_EQ(services.started.front(), path("X/2.6/TandelConfig"));
    EXPECT_EQ(services.startedParameters.front(), QStringLiteral(" -installSkin \"%1\"").arg(file));
}

TEST_F(FileCommandsTest, ClosingAsksAndKeepsUnsavedWork) {
    services.promptAnswers = {kSavePromptCancel};
    EXPECT_FALSE(requestClose());
    services.promptAnswers = {kSavePromptYes};  // and the save dialog is cancelled
    EXPECT_FALSE(requestClose());
    services.promptAnswers = {kSavePromptYes};
    services.saveAnswers = {path("closing.tdskn")};
    EXPECT_TRUE(requestClose());
    EXPECT_TRUE(SkinDocument::checkFile(folder / "closing.tdskn"));
    services.promptAnswers = {kSavePromptNo};
    EXPECT_TRUE(requestClose());
    EXPECT_EQ(services.prompts, 4);
}

TEST_F(FileCommandsTest, HelpAndAbout) {
    window->OnHelp();
    ASSERT_EQ(services.webPages.size(), 1);
    EXPECT_TRUE(services.webPages.front().endsWith(QStringLiteral("skinhelp.html")));

    QString title;
    QStringList texts;
    QTimer::singleShot(0, window.get(), [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        for (QLabel* label : box->findChildren<QLabel*>()) {
            texts << label->text();
        }
        QTest::keyClick(box, Qt::Key_Escape);  // Escape closes it
    });
    window->OnAbout();
    EXPECT_EQ(title, QStringLiteral("关于"));
    EXPECT_TRUE(texts.contains(QStringLiteral("澜石输入法 皮肤编辑器(V2.0)")));
}

}  // namespace
}  // namespace tandel
