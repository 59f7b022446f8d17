// The information tab (its check before saves, preview pictures, upload) and the font and colour
// tab (one set of fonts and colours written into every layout).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "AtelierDlg.h"
#include "DlgSkinFont.h"
#include "DlgSkinInfo.h"
#include "FakeServices.h"
#include "MyStatic.h"
#include "PageFramework.h"
#include "Pictures.h"
#include "SkinDocument.h"
#include "SkinSignature.h"
#include "TestFiles.h"
#include "TextCodec.h"

namespace tandel::testing {
namespace {

const QString kCaption = QString::fromUtf16(kEditorCaption);

class InfoPage : public ::testing::Test {
protected:
    void fill(const QString& name, const QString& author, const QString& email,
              const QString& description = {}) {
        page.NameField()->setText(name);
        page.AuthorField()->setText(author);
        page.EmailField()->setText(email);
        page.DescriptionField()->setPlainText(description);
    }
    QString file(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        writeFile(folder / name, bytes);
        return QString::fromStdString((folder / name).string());
    }
    static QSize pictureSize(const PictureSlot& picture) {
        return DecodePicture(picture.bytes()).size();
    }

    TemporaryFolder folder;
    SkinDocument document;
    FakeServices services;
    CDlgSkinInfo page{document, services};
};

TEST_F(InfoPage, ApplyNamesTheFirstFaultyFieldAndStopsThere) {
    const struct {
        const char* name;
        const char* author;
        const char* email;
        const char* message;  // none: accepted
    } cases[] = {
        {"", "", "", "皮肤名字不能为空，请重新填写。"},
        {"水墨", "", "", "作者名字不能为空，请重新填写。"},
        {"水墨", "李白", "", "邮箱不能为空，请重新填写。"},
        {"水墨", "李白", "li bai@example.com", "邮箱内容格式不正确，请重新填写。"},
        {"水墨", "李白", "libai@Example.com", "邮箱内容格式不正确，请重新填写。"},
        {"水墨", "李白", "li.bai@example.com.cn", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + std::string("/") + c.author + "/" + c.email);
        services.messages.clear();
        fill(QString::fromUtf8(c.name), QString::fromUtf8(c.author), QString::fromUtf8(c.email));
        EXPECT_EQ(page.Apply(), c.message == nullptr ? 1 : 0);
        if (c.message == nullptr) {
            EXPECT_TRUE(services.messages.empty());
            continue;
        }
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(services.messages[0].caption, kCaption);
        EXPECT_EQ(services.messages[0].icon, MessageIcon::Information);
    }
    EXPECT_EQ(fixedText(document.header.email), u"li.bai@example.com.cn");
}

TEST_F(InfoPage, TextFieldsHoldAtMost31Characters) {
    for (QLineEdit* field : {page.NameField(), page.AuthorField(), page.EmailField()}) {
        QTest::keyClicks(field, QString(32, QLatin1Char('a')));
        EXPECT_EQ(field->text().size(), 31);
    }
    fill(QString(31, u'名'), QString(31, u'李'), QStringLiteral("a@bc.com"));
    EXPECT_EQ(page.Apply(), 1);
    EXPECT_EQ(fixedText(document.header.name).size(), 31u);
}

TEST_F(InfoPage, TheDescriptionTakes127CharactersCountingLineBreaksAsTwo) {
    QPlainTextEdit* description = page.DescriptionField();
    QTest::keyClicks(description, QString(124, QLatin1Char('a')));
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClicks(description, QStringLiteral("bcd"));
    EXPECT_EQ(description->toPlainText(), QString(124, QLatin1Char('a')) + QStringLiteral("\nb"))
        << "127 with the break";

    description->selectAll();
    QTest::keyClicks(description, QStringLiteral("xy"));
    EXPECT_EQ(description->toPlainText(), QStringLiteral("xy")) << "typing over a selection";

    fill(QStringLiteral("名"), QStringLiteral("李"), QStringLiteral("a@bc.com"),
         QStringLiteral("one\ntwo"));
    EXPECT_EQ(page.Apply(), 1);
    EXPECT_EQ(fixedText(document.header.description), u"one\r\ntwo");

    // Text set by the page is not limited, so the check still guards the stored field.
    description->setPlainText(QString(127, QLatin1Char('c')) + QStringLiteral("d"));
    EXPECT_EQ(page.Apply(), 0);
    EXPECT_EQ(services.messageTexts().value(0),
              QStringLiteral("说明最大长度不超过127个文字，请重新填写。"));
}

TEST_F(InfoPage, EveryApplyStampsDateRevisionAndSignature) {
    document.header.revision = 0;
    fill(QStringLiteral("水墨"), QStringLiteral("李白"), QStringLiteral("a@bc.com"));
    ASSERT_EQ(page.Apply(), 1);
    ASSERT_EQ(page.Apply(), 1);
    EXPECT_EQ(document.header.revision, 2);
    EXPECT_FALSE(fixedText(document.header.date).empty());
    EXPECT_NE(document.header.signature[0], 0);
}

TEST_F(InfoPage, RefreshShowsTheDocumentAndClearEmptiesThePage) {
    setFixedText(document.header.name, u"水墨");
    setFixedText(document.header.author, u"李白");
    setFixedText(document.header.email, u"a@bc.com");
    setFixedText(document.header.description, u"one\r\ntwo");
    const std::vector<std::uint8_t> preview = pngBytes(96, 72);
    document.setPictureData(7, preview);
    EXPECT_EQ(page.Refresh(), 0);
    EXPECT_EQ(page.NameField()->text(), QStringLiteral("水墨"));
    EXPECT_EQ(page.EmailField()->text(), QStringLiteral("a@bc.com"));
    EXPECT_EQ(page.DescriptionField()->toPlainText(), QStringLiteral("one\ntwo"));
    EXPECT_EQ(page.PictureBox(0)->ImageSize(), QSize(96, 72));
    EXPECT_EQ(page.PictureBox(1)->ImageSize(), QSize(0, 0));

    document.pictures[7].clear(false);
    page.Refresh();
    EXPECT_EQ(page.PictureBox(0)->ImageSize(), QSize(0, 0)) << "a skin without the preview";

    document.setPictureData(7, preview);
    page.Refresh();
    page.Clear();
    EXPECT_TRUE(page.NameField()->text().isEmpty());
    EXPECT_TRUE(page.DescriptionField()->toPlainText().isEmpty());
    EXPECT_EQ(page.PictureBox(0)->ImageSize(), QSize(0, 0));
}

TEST_F(InfoPage, ImportedPreviewsAreScaledAndRestoreTakesThemBack) {
    services.openAnswers = {file("shot.b.png", pngBytes(300, 200))};
    page.OnImport(0);
    ASSERT_EQ(services.openFilters.size(), 1);
    EXPECT_FALSE(services.openFilters[0].contains(QStringLiteral("*.gif")));
    EXPECT_EQ(page.PicturePath(0), PictureFolder() + QStringLiteral("shot.png"));
    EXPECT_EQ(pictureSize(document.pictures[7]), QSize(96, 72));
    EXPECT_EQ(page.PictureBox(0)->ImageSize(), QSize(96, 72));
    EXPECT_TRUE(page.RestoreButton(0)->isEnabled());
    EXPECT_FALSE(page.RestoreButton(1)->isEnabled());
    EXPECT_TRUE(services.messages.empty());

    // An animated picture is taken with a warning, as a still one.
    services.openAnswers = {file("moving.gif", animatedGifBytes(40, 30, 3))};
    page.OnImport(1);
    EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("预览图不支持动态皮肤。")});
    EXPECT_EQ(pictureSize(document.pictures[8]), QSize(176, 92));
    EXPECT_EQ(document.pictureAnimated[8], 0);

    page.OnRestore(0);
    EXPECT_TRUE(document.pictures[7].empty()) << "a new skin has no preview picture";
    EXPECT_TRUE(page.PicturePath(0).isEmpty());
    EXPECT_EQ(page.PictureBox(0)->ImageSize(), QSize(0, 0));
    EXPECT_FALSE(page.RestoreButton(0)->isEnabled());
}

TEST_F(InfoPage, ACancelledOrRefusedImportChangesNothing) {
    page.OnImport(0);  // cancelled
    services.openAnswers = {file("huge.png", pngBytes(801, 600))};
    page.OnImport(0);
    EXPECT_EQ(services.messageTexts(), QStringList{QString::fromUtf16(kPictureTooLarge)});
    EXPECT_TRUE(document.pictures[7].empty());
    EXPECT_FALSE(page.RestoreButton(0)->isEnabled());
}

class UploadCase : public InfoPage {
protected:
    void SetUp() override {
        fill(QStringLiteral("水墨"), QStringLiteral("李白"), QStringLiteral("libai@tang.com"));
        page.SetUploadRunner(
            [this](const QString& file, const std::string& sender, const std::string& subject) {
                uploads.push_back(
                    {file, sender, subject, SkinDocument::checkFile(file.toStdU16String())});
            });
    }
    QString skinFile() const { return PictureFolder() + QStringLiteral("水墨.tdskn"); }

    struct Upload {
        QString file;
        std::string sender, subject;
        bool fileWritten;
    };
    std::vector<Upload> uploads;
};

TEST_F(UploadCase, NoInTheConfirmationWritesAndSendsNothing) {
    QFile::remove(skinFile());
    services.messageAnswers = {kMessageNo};
    page.OnUpload();
    EXPECT_EQ(services.messageTexts().value(0).left(9), QStringLiteral("上传的皮肤审核通过"));
    EXPECT_TRUE(uploads.empty());
    EXPECT_FALSE(QFile::exists(skinFile()));
}

TEST_F(UploadCase, ARefusedPageAsksNothing) {
    page.EmailField()->clear();
    page.OnUpload();
    EXPECT_EQ(services.messageTexts(), QStringList{QStringLiteral("邮箱不能为空，请重新填写。")});
    EXPECT_TRUE(uploads.empty());
}

TEST_F(UploadCase, YesSavesTheSkinUnderItsNameAndSendsIt) {
    services.messageAnswers = {kMessageYes};
    page.OnUpload();
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].file, skinFile());
    EXPECT_EQ(uploads[0].sender, utf16ToGbk(u"水墨 : 李白"));
    EXPECT_EQ(uploads[0].subject, "libai@tang.com");
    EXPECT_TRUE(uploads[0].fileWritten);
    EXPECT_FALSE(QFile::exists(skinFile()));  // the copy goes once the upload is over
    EXPECT_EQ(std::string(document.header.skinId, 32), makeSkinId(u"水墨", u"李白"));
}

// The page inside the editor's own window, where Enter and Escape must not close anything.
TEST(InfoPageInTheWindow, EnterBreaksTheDescriptionAndClosesNothing) {
    TemporaryFolder folder;
    qputenv("TANDEL_REGISTRY", QByteArray::fromStdString((folder / "registry.ini").string()));
    SkinDocument document;
    FakeServices services;
    {
        CAtelierDlg window(document, services);
        window.show();
        auto* page = dynamic_cast<CDlgSkinInfo*>(window.Page(0));
        ASSERT_NE(page, nullptr);
        QTest::keyClicks(page->DescriptionField(), QStringLiteral("a"));
        QTest::keyClick(page->DescriptionField(), Qt::Key_Return);
        QTest::keyClicks(page->DescriptionField(), QStringLiteral("b"));
        EXPECT_EQ(page->DescriptionField()->toPlainText(), QStringLiteral("a\nb"));
        QTest::keyClick(page->NameField(), Qt::Key_Return);
        QTest::keyClick(page->NameField(), Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible());
        EXPECT_NE(dynamic_cast<CDlgSkinFont*>(window.Page(1)), nullptr);
        services.promptAnswers = {kSavePromptNo};
    }
    qunsetenv("TANDEL_REGISTRY");
}

class FontPage : public ::testing::Test {
protected:
    template <typename Check>
    void forEachLayout(Check check) {
        check("comboH", document.comboH);
        check("comboV", document.comboV);
        check("splitH", document.splitH);
        check("splitV", document.splitV);
    }

    SkinDocument document;
    FakeServices services;
    CDlgSkinFont page{document, services};
};

TEST_F(FontPage, TheSizeGoesIntoTheTableAndEveryLayout) {
    const struct {
        int index;  // in the size list
        std::int32_t tableSize, styleSize;
    } cases[] = {{1, 12, 12}, {3, 20, 20}, {0, 0, 16}, {2, 16, 16}};
    for (const auto& c : cases) {
        page.SizeList()->setCurrentIndex(c.index);  // a selection applies at once
        SCOPED_TRACE(page.SizeList()->currentText().toStdString());
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(document.fontSettings[i].index, i);
            EXPECT_EQ(document.fontSettings[i].size, c.tableSize);
            EXPECT_EQ(document.fontSettings[i].bold, 0);
        }
        forEachLayout([&](const char* name, const auto& layout) {
            for (const TextElement* text : {&layout.compText, &layout.candText}) {
                EXPECT_EQ(text->cnFontSize, c.styleSize) << name;
                EXPECT_EQ(text->enFontSize, c.styleSize) << name;
            }
        });
    }
}

TEST_F(FontPage, DefaultFacesAreStoredAsChosenAndResolvedForTheText) {
    setFixedText(document.fontSettings[2].face, u"留着");
    page.ChineseList()->setCurrentIndex(0);
    page.EnglishList()->setCurrentIndex(0);
    page.Apply();
    for (int entry : {0, 1, 3}) {
        EXPECT_EQ(fixedText(document.fontSettings[entry].face), u"默认字体") << entry;
    }
    EXPECT_EQ(fixedText(document.fontSettings[2].face), u"留着");
    forEachLayout([](const char* name, const auto& layout) {
        for (const TextElement* text : {&layout.compText, &layout.candText}) {
            EXPECT_EQ(fixedText(text->cnFont), u"宋体") << name;
            EXPECT_EQ(fixedText(text->enFont), u"Arial") << name;
        }
    });
    page.Refresh();
    EXPECT_EQ(page.ChineseList()->currentText(), QStringLiteral("默认字体"));
    EXPECT_EQ(page.EnglishList()->currentText(), QStringLiteral("默认字体"));

    if (page.ChineseList()->count() < 2) {
        GTEST_SKIP() << "no Chinese font on this system";
    }
    page.ChineseList()->setCurrentIndex(1);
    const std::u16string face = page.ChineseList()->currentText().toStdU16String();
    EXPECT_EQ(fixedText(document.fontSettings[0].face), face);
    EXPECT_EQ(fixedText(document.splitV.candText.cnFont), face);
    EXPECT_EQ(fixedText(document.splitV.candText.enFont), u"Arial");
}

TEST_F(FontPage, RefreshReadsTheTableAndTheHorizontalCombinedColours) {
    const struct {
        std::int32_t size;
        const char16_t* chinese;
        const char* shownSize;
        const char* shownChinese;
    } cases[] = {
        {16, u"宋体", "默认大小", "默认字体"},
        {20, u"宋体", "20", "默认字体"},
        {0, u"宋体", "默认大小", "默认字体"},
        {1, u"宋体", "12", "默认字体"},   // the first entry beginning with "1"
        {30, u"宋体", "12", "默认字体"},  // nothing begins with "30": the selection stays
    };
    for (const auto& c : cases) {
        document.fontSettings[0].size = c.size;
        setFixedText(document.fontSettings[0].face, c.chinese);
        EXPECT_EQ(page.Refresh(), 1);
        EXPECT_EQ(page.SizeList()->currentText(), QString::fromUtf8(c.shownSize)) << c.size;
        EXPECT_EQ(page.ChineseList()->currentText(), QString::fromUtf8(c.shownChinese));
    }
    document.comboH.compText.colour = 0xFF112233;
    document.comboH.header.focusColour = 0x00445566;
    document.comboH.candText.colour = 0x80778899;
    document.comboH.header.cursorColour = 0xFFAABBCC;
    page.Refresh();
    EXPECT_EQ(page.ColourValue(CDlgSkinFont::kPinyin), 0x112233u);
    EXPECT_EQ(page.ColourValue(CDlgSkinFont::kFocused), 0x445566u);
    EXPECT_EQ(page.ColourValue(CDlgSkinFont::kCandidates), 0x778899u);
    EXPECT_EQ(page.ColourValue(CDlgSkinFont::kCursor), 0xAABBCCu);
}

TEST_F(FontPage, PickedColoursGoIntoEveryLayoutAndRestoreTakesThemBack) {
    page.Refresh();
    EXPECT_FALSE(page.RestoreButton()->isEnabled());

    services.pickedColour = QColor();  // cancelled
    page.OnPickFromDialog(CDlgSkinFont::kFocused);
    EXPECT_FALSE(page.RestoreButton()->isEnabled());

    services.pickedColour = QColor(1, 2, 3);
    page.OnPickFromDialog(CDlgSkinFont::kFocused);
    EXPECT_EQ(page.ColourValue(CDlgSkinFont::kFocused), 0x030201u);
    EXPECT_TRUE(page.RestoreButton()->isEnabled());

    QColor offered;
    page.SetScreenPicker([&](const QColor& current) {
        offered = current;
        return QColor(10, 20, 30);
    });
    const std::uint32_t cursorBefore = page.ColourValue(CDlgSkinFont::kCursor);
    page.OnPickFromScreen(CDlgSkinFont::kCursor);
    EXPECT_EQ(offered, QColor(int(cursorBefore & 0xFF), int(cursorBefore >> 8 & 0xFF),
                              int(cursorBefore >> 16)));
    forEachLayout([](const char* name, const auto& layout) {
        EXPECT_EQ(layout.header.focusColour, 0xFF030201u) << name;
        EXPECT_EQ(layout.header.cursorColour, 0xFF1E140Au) << name;
    });

    page.OnRestore();
    EXPECT_FALSE(page.RestoreButton()->isEnabled());
    forEachLayout([](const char* name, const auto& layout) {
        EXPECT_EQ(layout.compText.colour, 0xFFC76B1Au) << name;
        EXPECT_EQ(layout.header.focusColour, 0xFF1434DEu) << name;
        EXPECT_EQ(layout.candText.colour, 0xFFE47A1Cu) << name;
        EXPECT_EQ(layout.header.cursorColour, 0xFFE8863Eu) << name;
    });

    // An opened skin gets back the colours it was opened with.
    document.openedFromFile = 1;
    const std::uint32_t opened[4] = {0x010101, 0x020202, 0x030303, 0x040404};
    for (int i = 0; i < 4; ++i) {
        document.colourSettings[i].colour = opened[i];
    }
    page.OnRestore();
    EXPECT_EQ(document.comboV.compText.colour, 0xFF010101u);
    EXPECT_EQ(document.comboV.header.cursorColour, 0xFF020202u);
    EXPECT_EQ(document.comboV.candText.colour, 0xFF030303u);
    EXPECT_EQ(document.comboV.header.focusColour, 0xFF040404u);
}

}  // namespace
}  // namespace tandel::testing
