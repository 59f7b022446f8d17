// The main window: its parts, tabs, background selector, scroll bars, keys and preview.
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include "CheckWizard.h"
#include "EditorFixture.h"
#include "Scenarios.h"

namespace tandel {
namespace {

using testing::EditorFixture;

class MainWindowTest : public EditorFixture {};

TEST_F(MainWindowTest, TitleTabsAndMenus) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("澜石输入法 皮肤编辑器"));
    const QStringList captions = {QStringLiteral("信息"),     QStringLiteral("字体"),
                                  QStringLiteral("状态栏"),   QStringLiteral("横排窗口"),
                                  QStringLiteral("竖排窗口"), QStringLiteral("检错")};
    ASSERT_EQ(window->Tabs()->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(window->Tabs()->tabText(i), captions[i]);
    }
    QStringList items;
    QList<QKeySequence> shortcuts;
    for (QAction* menu : window->menuBar()->actions()) {
        items << menu->text();
        for (QAction* item : menu->menu()->actions()) {
            items << item->text();
            shortcuts << item->shortcut();
        }
    }
    EXPECT_EQ(items, (QStringList{QStringLiteral("文件(&F)"), QStringLiteral("新建 (Ctrl+N)"),
                                  QStringLiteral("打开 (Ctrl+O)"), QStringLiteral("保存 (Ctrl+S)"),
                                  QStringLiteral("另存为"), QStringLiteral("保存并安装"),
                                  QStringLiteral("退出"), QStringLiteral("帮助(&H)"),
                                  QStringLiteral("关于"), QStringLiteral("使用帮助")}));
    EXPECT_EQ(shortcuts[0], QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(shortcuts[1], QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(shortcuts[2], QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(shortcuts[7], QKeySequence(QStringLiteral("F1")));
    // Only the information page was shown at start.
    EXPECT_EQ(pages[0]->shown, 1);
    EXPECT_EQ(pages[1]->shown, 0);
}

TEST_F(MainWindowTest, LayoutFollowsTheTab) {
    const int width = window->centralWidget()->width(), height = window->centralWidget()->height();
    EXPECT_EQ(window->Tabs()->geometry(), QRect(0, 0, 320, height));
    EXPECT_EQ(window->Selector()->geometry(), QRect(width - 80, height - 80, 60, 60));
    EXPECT_TRUE(window->Preview()->isVisible());
    EXPECT_FALSE(window->EditAreaWidget()->isVisible());
    window->Tabs()->setCurrentIndex(kTabStatus);
    EXPECT_FALSE(window->Preview()->isVisible());
    EXPECT_EQ(window->EditAreaWidget()->geometry(), QRect(320, 0, width - 320, height));
    window->Tabs()->setCurrentIndex(kTabHorizontal);  // the edit area below the preview
    EXPECT_EQ(window->Preview()->geometry(), QRect(320, 0, width - 320, 400));
    EXPECT_EQ(window->EditAreaWidget()->geometry(), QRect(320, 400, width - 320, height - 400));
    EXPECT_FALSE(window->VerticalBar()->isVisible());
    EXPECT_FALSE(window->HorizontalBar()->isVisible());
}

TEST_F(MainWindowTest, TabChangesRefreshEveryPageButTheFirst) {
    window->Tabs()->setCurrentIndex(kTabFont);
    EXPECT_EQ(pages[0]->hidden, 1);
    EXPECT_EQ(pages[1]->refreshed, 1);
    EXPECT_EQ(pages[1]->shown, 1);
    window->Tabs()->setCurrentIndex(kTabInfo);
    EXPECT_EQ(pages[0]->refreshed, 0);
    EXPECT_EQ(pages[0]->shown, 2);
    window->Tabs()->setCurrentIndex(kTabFont);
    EXPECT_EQ(pages[1]->refreshed, 2);
}

TEST_F(MainWindowTest, LeavingTheCheckTabRestoresTheOrdinaryScene) {
    window->Tabs()->setCurrentIndex(kTabCheck);
    EXPECT_TRUE(window->CyclingBackground());
    window->OnCycleTimer();
    window->OnCycleTimer();
    EXPECT_EQ(window->BackgroundIndex(), 2);  // white, green, black
    window->CheckPage()->OnNext();
    window->CheckPage()->OnNext();
    window->CheckPage()->OnNext();  // three candidates
    EXPECT_EQ(window->Renderer().WindowContext(0).scheme, &INPUT_INFO3());
    window->Tabs()->setCurrentIndex(kTabFont);
    EXPECT_FALSE(window->CyclingBackground());
    EXPECT_EQ(window->BackgroundIndex(), 0);
    EXPECT_EQ(window->Renderer().WindowContext(0).scheme, &INPUT_INFO());
    EXPECT_EQ(window->CheckPage()->CurrentScene(), 3);  // the wizard keeps its place
    // Between two other tabs the background goes back to white too.
    window->SetBackgroundIndex(3);
    window->Tabs()->setCurrentIndex(kTabStatus);
    EXPECT_EQ(window->BackgroundIndex(), 0);
}

TEST_F(MainWindowTest, SelectorQuadrantsAndCentreLines) {
    const QPoint corner = window->Selector()->geometry().topLeft();
    struct Case {
        QPoint at;
        int index;  // -1: unchanged
    };
    const Case cases[] = {{{5, 5}, 1},   {{50, 5}, 0},  {{5, 50}, 3},
                          {{50, 50}, 2}, {{30, 5}, -1}, {{5, 30}, -1}};
    for (const Case& c : cases) {
        window->SetBackgroundIndex(2);
        window->OnLeftButtonDown(corner + c.at);
        window->OnLeftButtonUp(corner + c.at);
        EXPECT_EQ(window->BackgroundIndex(), c.index < 0 ? 2 : c.index)
            << c.at.x() << "," << c.at.y();
    }
    window->SetBackgroundIndex(2);
    window->OnLeftButtonDown(corner - QPoint(5, 5));  // outside
    EXPECT_EQ(window->BackgroundIndex(), 2);
}

TEST_F(MainWindowTest, ClicksOnTheSelectorPickTheBackground) {
    QTest::mouseClick(window->Selector(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window->BackgroundIndex(), 1);
    QTest::mouseClick(window->Selector(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(window->BackgroundIndex(), 2);
}

// A mouse move as the platform delivers it (the offscreen platform sends none by itself).
void moveMouse(QWidget* widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST_F(MainWindowTest, MouseMovesGoToThePageOfTheTabWithGuides) {
    QWidget* preview = window->Preview();
    moveMouse(preview, QPoint(30, 40));
    EXPECT_TRUE(pages[3]->tracks.empty());  // the information tab has no guides
    window->Tabs()->setCurrentIndex(kTabHorizontal);
    moveMouse(preview, QPoint(30, 40));
    ASSERT_FALSE(pages[3]->tracks.empty());
    const auto& track = pages[3]->tracks.back();
    EXPECT_EQ(track.point, preview->mapTo(window->centralWidget(), QPoint(30, 40)));
    EXPECT_EQ(track.x, 30);
    EXPECT_EQ(track.y, 40 - 400);  // y counts from the top of the edit area below the preview
    EXPECT_FALSE(track.dragging);
    moveMouse(window->EditAreaWidget(), QPoint(10, 5));
    EXPECT_EQ(pages[3]->tracks.back().y, 5);

    // A drag on a guide reloads the windows at release; a drag on nothing does not.
    const int before = window->Renderer().WindowContext(0).width;
    pages[3]->guideUnderMouse = true;
    QTest::mousePress(preview, Qt::LeftButton, {}, QPoint(30, 40));
    document.comboH.candText.marginLeft += 40;  // what the page's drag would write
    window->SetSkinChanged(true);
    moveMouse(preview, QPoint(70, 40), Qt::LeftButton);
    EXPECT_TRUE(pages[3]->tracks.back().dragging);
    EXPECT_EQ(window->Renderer().WindowContext(0).width, before);
    QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(70, 40));
    EXPECT_EQ(window->Renderer().WindowContext(0).width, before + 40);

    pages[3]->guideUnderMouse = false;
    document.comboH.candText.marginLeft += 40;
    QTest::mousePress(preview, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(30, 40));
    EXPECT_EQ(window->Renderer().WindowContext(0).width, before + 40);
}

TEST_F(MainWindowTest, ScrollBarsForContentTallerThanThePreview) {
    window->resize(900, 400);
    QApplication::processEvents();
    window->RedrawPreview();
    const int viewHeight = window->Preview()->height();
    const int content = window->Content().cy;
    ASSERT_GT(content, viewHeight);
    QScrollBar* bar = window->VerticalBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->pageStep(), int(double(viewHeight) / content * 100));
    EXPECT_EQ(window->ScrollOffset().y(), 0);
    window->OnScroll(true, CAtelierDlg::kBottom, 0);
    EXPECT_EQ(window->ScrollOffset().y(), content);
    window->OnScroll(true, CAtelierDlg::kPageUp, 0);
    EXPECT_EQ(bar->value(), 80);
    window->OnWheel(-120);
    EXPECT_EQ(bar->value(), 85);
    window->OnWheel(120);
    window->OnWheel(120);
    EXPECT_EQ(bar->value(), 75);
    window->OnScroll(true, CAtelierDlg::kThumbTrack, 95);
    window->OnScroll(true, CAtelierDlg::kPageDown, 0);
    EXPECT_EQ(bar->value(), 100);
    window->OnScroll(true, CAtelierDlg::kTop, 0);
    EXPECT_EQ(window->ScrollOffset().y(), 0);
    // The window tabs show no bars.
    window->Tabs()->setCurrentIndex(kTabHorizontal);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(window->ScrollOffset(), QPoint(0, 0));
}

TEST_F(MainWindowTest, ThePreviewTakesBackTheRoomOfABarThatWentAway) {
    window->Tabs()->setCurrentIndex(kTabCheck);
    const int fullHeight = window->Preview()->height();
    window->CheckPage()->OnNext();
    window->CheckPage()->OnNext();  // the long input: wider than the preview
    ASSERT_TRUE(window->HorizontalBar()->isVisible());
    EXPECT_LT(window->Preview()->height(), fullHeight);
    window->CheckPage()->OnNext();  // three candidates: narrow again
    EXPECT_FALSE(window->HorizontalBar()->isVisible());
    EXPECT_EQ(window->Preview()->height(), fullHeight);
}

TEST_F(MainWindowTest, EnterAndEscapeCloseNothingAndShortcutsWorkInEditBoxes) {
    auto* edit = new QLineEdit(pages[1]);
    window->Tabs()->setCurrentIndex(kTabFont);
    edit->show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(services.prompts, 0);
    services.saveAnswers = {path("keys.tdskn")};
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(services.saveTitles, QStringList{QStringLiteral("保存")});
    EXPECT_TRUE(SkinDocument::checkFile(folder / "keys.tdskn"));
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_EQ(services.webPages.size(), 1);
    EXPECT_TRUE(services.webPages.front().endsWith(QStringLiteral("skinhelp.html")));
}

TEST_F(MainWindowTest, ThePreviewShowsTheCompositionFromTheScrollOffset) {
    window->SetBackgroundIndex(3);
    window->RedrawPreview();
    const QImage shown = window->Preview()->grab().toImage();
    const Canvas& surface = window->Renderer().Composition();
    const StatusContext& status = window->Renderer().StatusBarContext();
    // The status bar at (80, 20) over red; red where nothing is drawn.
    EXPECT_EQ(shown.pixel(5, 5), qRgb(255, 0, 0));
    const int x = 80 + status.width / 2, y = 20 + status.height / 2;
    EXPECT_EQ(shown.pixel(x, y) | 0xFF000000u, surface.pixels().argb(x, y) | 0xFF000000u);
    EXPECT_NE(shown.pixel(x, y), qRgb(255, 0, 0));
}

TEST_F(MainWindowTest, WakingUpRestoresTheWindowEvenUnderAModalBox) {
    window->showMinimized();
    QApplication::processEvents();
    const QString file = skinFile("woken.tdskn");
    QDialog box(window.get());
    QTimer::singleShot(0, &box, [&] {
        window->WakeUp({file});
        box.accept();
    });
    box.exec();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->CurrentPath(), file);
}

TEST_F(MainWindowTest, TheWindowNeverGrowsSmallerThanItsMinimum) {
    const QSize minimum = window->minimumSize();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(minimum, QSize(std::min(1000, work.x() + work.width()) - 100,
                             std::min(760, work.y() + work.height()) - 100));
}

}  // namespace
}  // namespace tandel
