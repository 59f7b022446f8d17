#include "AtelierDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QUrl>

#include "CheckWizard.h"
#include "Dialogs.h"
#include "DlgSkinFont.h"
#include "DlgSkinInfo.h"
#include "DlgUpLoad.h"
#include "Dpi.h"
#include "Environment.h"
#include "GuideTracker.h"
#include "PageFramework.h"
#include "PlaceholderPage.h"
#include "PreviewWidgets.h"
#include "SkinDocument.h"
#include "SkinParser.h"
#include "SkinSignature.h"
#include "StatusScenes.h"
#include "TextCodec.h"

namespace tandel {
namespace {

const QString kSkinFilter = QStringLiteral("澜石输入法皮肤文件 (*.tdskn)|*.tdskn||");
const QString kSkinExtension = QStringLiteral("tdskn");

int scaled(int value) {
    return CDPIEditor::Instance().ScaleValue(value);
}

QSize screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize(1920, 1080);
}

QRect workArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}

}  // namespace

CAtelierDlg::CAtelierDlg(SkinDocument& document, PlatformServices& services, QWidget* parent,
                         const PageFactory& pages)
    : QMainWindow(parent),
      document_(document),
      services_(services),
      renderer_(screenSize().width(), 2 * screenSize().height()) {
    setWindowTitle(QString::fromUtf16(kEditorTitle));
    setWindowIcon(EditorIcon());
    setAcceptDrops(true);

    // The window is 1000 x 760, or the work area when that is smaller.
    QSize size(scaled(1000), scaled(760));
    const QRect work = workArea();
    if (work.width() < size.width() || work.height() < size.height()) {
        size = work.size();
    }
    // The work area's right and bottom edges, exclusive.
    setMinimumSize(std::min(scaled(1000), work.x() + work.width()) - 100,
                   std::min(scaled(760), work.y() + work.height()) - 100);
    resize(size);
    move(work.center() - rect().center());

    auto* central = new QWidget(this);
    setCentralWidget(central);
    createMenus();
    tabs_ = new QTabWidget(central);
    // All six captions fit the 320-pixel column, as the author needs to see every tab.
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));
    tabs_->setUsesScrollButtons(false);
    preview_ = new PreviewView(*this, central);
    editArea_ = new EditArea(*this, central);
    verticalBar_ = new QScrollBar(Qt::Vertical, central);
    horizontalBar_ = new QScrollBar(Qt::Horizontal, central);
    selector_ = new BackgroundSelector(*this, central);
    for (QScrollBar* bar : {verticalBar_, horizontalBar_}) {
        bar->setRange(0, 100);
        bar->hide();
        connect(bar, &QScrollBar::actionTriggered, this, [this, bar](int action) {
            const bool vertical = bar == verticalBar_;
            switch (action) {
                case QAbstractSlider::SliderSingleStepAdd: OnScroll(vertical, kLineDown, 0); break;
                case QAbstractSlider::SliderSingleStepSub: OnScroll(vertical, kLineUp, 0); break;
                case QAbstractSlider::SliderPageStepAdd: OnScroll(vertical, kPageDown, 0); break;
                case QAbstractSlider::SliderPageStepSub: OnScroll(vertical, kPageUp, 0); break;
                case QAbstractSlider::SliderToMinimum: OnScroll(vertical, kTop, 0); break;
                case QAbstractSlider::SliderToMaximum: OnScroll(vertical, kBottom, 0); break;
                case QAbstractSlider::SliderMove:
                    OnScroll(vertical, kThumbTrack, bar->sliderPosition());
                    break;
                default: break;
            }
        });
    }
    editArea_->hide();
    createPages(pages);
    connect(tabs_, &QTabWidget::currentChanged, this, &CAtelierDlg::SelectTab);

    UseImageLayerForAnimation();
    renderer_.Load(document_);
    animationTimer_.setInterval(150);
    connect(&animationTimer_, &QTimer::timeout, this, &CAtelierDlg::OnAnimationTimer);
    animationTimer_.start();
    cycleTimer_.setInterval(3000);
    connect(&cycleTimer_, &QTimer::timeout, this, &CAtelierDlg::OnCycleTimer);
    qApp->installEventFilter(this);
}

CAtelierDlg::~CAtelierDlg() {
    qApp->removeEventFilter(this);
    // The engine objects are gone with the window; their shared pictures and fonts go too.
    ResourceCache::Instance().releaseCache();
}

void CAtelierDlg::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    struct Command {
        const char16_t* text;
        QKeySequence shortcut;
        void (CAtelierDlg::*handler)();
    };
    const Command fileCommands[] = {
        {u"新建 (Ctrl+N)", QKeySequence(Qt::CTRL | Qt::Key_N), &CAtelierDlg::OnNew},
        {u"打开 (Ctrl+O)", QKeySequence(Qt::CTRL | Qt::Key_O), &CAtelierDlg::OnOpen},
        {u"保存 (Ctrl+S)", QKeySequence(Qt::CTRL | Qt::Key_S), &CAtelierDlg::OnSave},
        {u"另存为", {}, &CAtelierDlg::OnSaveAs},
        {u"保存并安装", {}, &CAtelierDlg::OnSaveAndInstall},
        {u"退出", {}, &CAtelierDlg::OnExit},
    };
    auto add = [this](QMenu* menu, const Command& command) {
        QAction* action = menu->addAction(QString::fromUtf16(command.text));
        action->setShortcut(command.shortcut);
        // The shortcuts work whatever page control has the focus.
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, command.handler);
    };
    for (const Command& command : fileCommands) {
        add(file, command);
    }
    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    add(help, {u"关于", {}, &CAtelierDlg::OnAbout});
    add(help, {u"使用帮助", QKeySequence(Qt::Key_F1), &CAtelierDlg::OnHelp});
}

void CAtelierDlg::createPages(const PageFactory& factory) {
    const char16_t* const captions[6] = {u"信息",     u"字体",     u"状态栏",
                                         u"横排窗口", u"竖排窗口", u"检错"};
    for (int i = 0; i < 5; ++i) {
        QWidget* widget = factory ? factory(i, document_) : nullptr;
        IDlg* page = dynamic_cast<IDlg*>(widget);
        if (page == nullptr) {
            delete widget;
            widget = ownPage(i);
            page = dynamic_cast<IDlg*>(widget);
        }
        pages_[std::size_t(i)] = page;
        tabs_->addTab(widget, QString::fromUtf16(captions[i]));
    }
    check_ = new CDlgCheck;
    pages_[5] = check_;
    tabs_->addTab(check_, QString::fromUtf16(captions[5]));
    for (IDlg* page : pages_) {
        page->SetOwner(this);
    }
    pages_[kTabInfo]->Show(true);
}

QWidget* CAtelierDlg::ownPage(int tab) {
    switch (tab) {
        case kTabInfo: {
            auto* page = new CDlgSkinInfo(document_, services_);
            page->SetUploadRunner(
                [this](const QString& file, const std::string& sender, const std::string& subject) {
                    RunSkinUpload(this, file, sender, subject);
                });
            return page;
        }
        case kTabFont: return new CDlgSkinFont(document_, services_);
        default: return new PlaceholderPage;
    }
}

IDlg* CAtelierDlg::Page(int index) const {
    return index >= 0 && index < int(pages_.size()) ? pages_[std::size_t(index)] : nullptr;
}

QWidget* CAtelierDlg::Preview() const {
    return preview_;
}
QWidget* CAtelierDlg::EditAreaWidget() const {
    return editArea_;
}
QWidget* CAtelierDlg::Selector() const {
    return selector_;
}

// ---- Layout and tabs ---------------------------------------------------------------------

void CAtelierDlg::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayoutControls(centralWidget()->width(), centralWidget()->height());
    RedrawPreview();
}

void CAtelierDlg::LayoutControls(int width, int height) {
    leftColumn_ = scaled(320);
    const int L = leftColumn_;
    editAreaTop_ = 0;
    if (preview_ != nullptr) {
        switch (currentTab_) {
            case kTabStatus:
                editArea_->setGeometry(L, 0, width - L, height);
                editArea_->show();
                preview_->hide();
                break;
            case kTabHorizontal:
            case kTabVertical:
                if (currentTab_ == kTabHorizontal ? horizontalEditArea_ : verticalEditArea_) {
                    const int H = scaled(400);
                    preview_->setGeometry(L, 0, width - L, H);
                    editArea_->setGeometry(L, H, width - L, height - H);
                    preview_->show();
                    editArea_->show();
                    editAreaTop_ = H;
                } else {
                    preview_->setGeometry(L, 0, width - L, height);
                    preview_->show();
                    editArea_->hide();
                }
                break;
            default: {
                editArea_->hide();
                int W = width - L;
                if (horizontalBarNeeded_) {
                    horizontalBar_->setGeometry(L, height - 17, W, 17);
                    horizontalBar_->show();
                }
                if (verticalBarNeeded_) {
                    W -= 17;
                    verticalBar_->setGeometry(L + W, 0, 17, height);
                    verticalBar_->show();
                }
                preview_->setGeometry(L, 0, W, height - (horizontalBarNeeded_ ? 17 : 0));
                preview_->show();
                break;
            }
        }
    }
    selector_->setGeometry(width - 80, height - 80, 60, 60);
    selector_->raise();
    tabs_->setGeometry(0, 0, L, height);
}

void CAtelierDlg::SelectTab(int index) {
    skinChanged_ = false;
    if (IDlg* old = Page(currentTab_)) {
        old->Show(false);
    }
    const int previous = currentTab_;
    currentTab_ = index;
    if (previous == kTabCheck) {
        skinChanged_ = true;
        RebuildSkins(false);
    }
    LayoutControls(centralWidget()->width(), centralWidget()->height());
    if (IDlg* page = Page(index)) {
        if (index != kTabInfo) {
            page->Refresh();
        }
        page->Show(true);
    }
    if (index != kTabCheck) {
        cycleTimer_.stop();
        backgroundIndex_ = 0;
    }
    RedrawPreview();
}

// ---- Preview ------------------------------------------------------------------------------

PreviewState CAtelierDlg::previewState() const {
    return {currentTab_, wizardScene_, horizontalSplit_, verticalSplit_, backgroundIndex_};
}

int CAtelierDlg::RebuildSkins(bool statusOnly) {
    if (!skinChanged_ || loading_) {
        return 0;
    }
    renderer_.RebuildSkins(document_, statusOnly, previewState());
    return statusOnly ? 1 : 0;
}

void CAtelierDlg::RedrawPreview() {
    renderPreview();
    preview_->update();
    editArea_->update();
    selector_->update();
}

void CAtelierDlg::renderPreview() {
    if (preview_ == nullptr) {
        return;
    }
    const int viewWidth = preview_->width(), viewHeight = preview_->height();
    const PreviewState state = previewState();
    StatusPictureCache pictures;
    const bool statusScene = state.tab == kTabCheck && state.scene == 1;
    if (statusScene) {
        pictures.reload(document_);
    }
    const double scale = CDPIEditor::Instance().enabled ? CDPIEditor::Instance().scale : 1.0;
    content_ = renderer_.Render(state, viewWidth, viewHeight, [&](Canvas& layer) {
        return DrawStatusScenes(document_, pictures, layer, scale);
    });
    updateScrollBars(viewWidth, viewHeight);
    renderer_.GrowFor(content_);
}

void CAtelierDlg::updateScrollBars(int viewWidth, int viewHeight) {
    struct Axis {
        QScrollBar* bar;
        int content;
        int view;
        bool* needed;
        int* offset;
    };
    const bool scrolls =
        currentTab_ == kTabInfo || currentTab_ == kTabFont || currentTab_ == kTabCheck;
    Axis axes[] = {
        {verticalBar_, content_.cy, viewHeight, &verticalBarNeeded_, &scrollOffset_.ry()},
        {horizontalBar_, content_.cx, viewWidth, &horizontalBarNeeded_, &scrollOffset_.rx()}};
    bool shown = false;
    bool hidden = false;
    for (Axis& axis : axes) {
        if (axis.content > axis.view && scrolls) {
            *axis.needed = true;
            axis.bar->setPageStep(int(double(axis.view) / axis.content * 100));
            *axis.offset = axis.bar->value() * axis.content / 100;
            if (!axis.bar->isVisible()) {
                shown = true;
            }
        } else {
            *axis.needed = false;
            *axis.offset = 0;
            hidden = hidden || axis.bar->isVisible();
            axis.bar->hide();
        }
    }
    if (hidden && !shown) {
        // The preview takes back the room of a bar that went away.
        LayoutControls(centralWidget()->width(), centralWidget()->height());
    }
    if (shown) {
        LayoutControls(centralWidget()->width(), centralWidget()->height());
        if (verticalBarNeeded_) {
            setFocus();
        }
    }
}

void CAtelierDlg::OnScroll(bool vertical, int request, int thumb) {
    QScrollBar* bar = vertical ? verticalBar_ : horizontalBar_;
    int position = bar->value();
    switch (request) {
        case kLineUp: position = std::max(position - 5, 0); break;
        case kLineDown: position = std::min(position + 5, 100); break;
        case kPageUp: position = std::max(position - 20, 0); break;
        case kPageDown: position = std::min(position + 20, 100); break;
        case kThumbTrack: position = thumb; break;
        case kTop: position = 0; break;
        case kBottom: position = 100; break;
        default: break;
    }
    bar->setValue(position);
    bar->setSliderPosition(position);
    RedrawPreview();
}

void CAtelierDlg::OnWheel(int delta) {
    if (!verticalBar_->isVisible() || delta == 0) {
        return;
    }
    OnScroll(true, delta < 0 ? kLineDown : kLineUp, 0);
}

void CAtelierDlg::SetBackgroundIndex(int index) {
    backgroundIndex_ = std::clamp(index, 0, 3);
}

QColor CAtelierDlg::BackgroundColour() const {
    return PreviewBackground(backgroundIndex_);
}

void CAtelierDlg::SetBackgroundCycling(bool on) {
    if (on) {
        cycleTimer_.start();
    } else {
        cycleTimer_.stop();
    }
}

void CAtelierDlg::OnCycleTimer() {
    backgroundIndex_ = (backgroundIndex_ + 1) % 4;
    RedrawPreview();
}

void CAtelierDlg::OnAnimationTimer() {
    if (buttonDown_ || QApplication::mouseButtons() != Qt::NoButton) {
        return;
    }
    if (renderer_.StepAnimation()) {
        RedrawPreview();
    }
}

// ---- Mouse --------------------------------------------------------------------------------

void CAtelierDlg::OnLeftButtonDown(QPoint point) {
    previousPoint_ = point;
    buttonDown_ = true;
    skinChanged_ = false;
    const QRect area = selector_->geometry();
    if (!area.contains(point)) {
        return;
    }
    const int x = point.x() - area.left(), y = point.y() - area.top();
    const int w2 = area.width() / 2, h2 = area.height() / 2;
    int index = -1;
    if (x < w2 && y < h2) {
        index = 1;
    } else if (x > w2 && y < h2) {
        index = 0;
    } else if (x < w2 && y > h2) {
        index = 3;
    } else if (x > w2 && y > h2) {
        index = 2;
    }
    if (index >= 0) {
        backgroundIndex_ = index;
        RedrawPreview();
    }
}

void CAtelierDlg::OnLeftButtonUp(QPoint) {
    skinChanged_ = true;
    if (hitPart_ != -1) {
        RebuildSkins(currentTab_ == kTabStatus);
        RedrawPreview();
        hitPart_ = -1;
    }
    buttonDown_ = false;
}

void CAtelierDlg::OnMouseMove(QPoint point) {
    if (currentTab_ == kTabStatus || currentTab_ == kTabHorizontal || currentTab_ == kTabVertical) {
        if (auto* tracker = dynamic_cast<IGuideTracker*>(Page(currentTab_))) {
            tracker->TrackGuides(previousPoint_, point, point.x() - leftColumn_,
                                 point.y() - editAreaTop_, hitPart_, buttonDown_);
        }
    }
    if (hitPart_ == -1) {
        unsetCursor();
    }
    previousPoint_ = point;
}

// ---- Keys and drops -----------------------------------------------------------------------

bool CAtelierDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isAncestorOf(qobject_cast<QWidget*>(watched))) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter and Escape never close anything; Enter still starts a new line in a text box.
        const bool textBox = qobject_cast<QPlainTextEdit*>(watched) != nullptr ||
                             qobject_cast<QTextEdit*>(watched) != nullptr;
        if (key == Qt::Key_Escape ||
            ((key == Qt::Key_Return || key == Qt::Key_Enter) && !textBox)) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CAtelierDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CAtelierDlg::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    event->acceptProposedAction();
    OnDropFiles(paths);
}

void CAtelierDlg::WakeUp(const QStringList& paths) {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (!paths.isEmpty()) {
        OnDropFiles(paths);
    }
}

// ---- File commands ------------------------------------------------------------------------

int CAtelierDlg::message(const QString& text, MessageIcon icon) {
    return services_.ShowMessage(this, text, QString::fromUtf16(kMessageCaption), icon,
                                 MessageButtons::Ok);
}

bool CAtelierDlg::applyInformation() {
    IDlg* information = Page(kTabInfo);
    if (information != nullptr && information->Apply() == 0) {
        return false;
    }
    storeDigest(document_.header.skinId,
                makeSkinId(fixedText(document_.header.name), fixedText(document_.header.author)));
    return true;
}

bool CAtelierDlg::saveDocument(const QString& path) {
    std::string why;
    if (document_.saveToFile(path.toStdU16String(), &why)) {
        return true;
    }
    message(QStringLiteral("皮肤文件保存失败：%1\n%2")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)),
            MessageIcon::Warning);
    return false;
}

QString CAtelierDlg::saveFileName(const QString& title) {
    return services_.SaveFileName(this, title, kSkinFilter, kSkinExtension);
}

void CAtelierDlg::OnSave() {
    if (!applyInformation()) {
        saveSucceeded_ = false;
        return;
    }
    saveSucceeded_ = true;
    if (untitled_ == 0 && !currentPath_.isEmpty()) {
        saveSucceeded_ = saveDocument(currentPath_);
        if (saveSucceeded_) {
            message(QStringLiteral("  皮肤文件保存成功。  "), MessageIcon::None);
        }
        return;
    }
    const QString path = saveFileName(QStringLiteral("保存"));
    if (path.isEmpty()) {
        saveSucceeded_ = false;  // nothing was saved: the prompts must not go on and lose work
        return;
    }
    saveSucceeded_ = saveDocument(path);
    if (saveSucceeded_) {
        message(QStringLiteral("    皮肤文件保存成功。 "), MessageIcon::None);
    }
}

void CAtelierDlg::OnSaveAs() {
    if (!applyInformation()) {
        return;
    }
    const QString path = saveFileName(QString());
    if (!path.isEmpty()) {
        saveDocument(path);
    }
}

void CAtelierDlg::OnSaveAndInstall() {
    if (!applyInformation()) {
        return;
    }
    QString path = currentPath_;
    if (untitled_ != 0 || currentPath_.isEmpty()) {
        path = saveFileName(QStringLiteral("保存并安装"));
        if (path.isEmpty()) {
            return;
        }
    }
    if (!saveDocument(path)) {
        return;
    }
    char16_t folder[kMaxPath] = {};
    std::uint32_t count = kMaxPath;
    if (!ReadInstallDir(folder, &count) || folder[0] == 0) {
        message(QStringLiteral("皮肤安装失败，请先安装澜石输入法"), MessageIcon::Information);
        return;
    }
    char16_t version[kMaxPath] = {};
    count = kMaxPath;
    if (!ReadInstalledVersion(version, &count) || version[0] == 0) {
        return;
    }
    const QString separator = QString(QChar(kPathSeparator));
    const QString program = QString::fromUtf16(folder) + separator + QString::fromUtf16(version) +
                            separator + QStringLiteral(TANDEL_CONFIG_TOOL);
    const QString parameters = QStringLiteral(" %1 %2%3%4")
                                   .arg(QStringLiteral("-installSkin"), QStringLiteral("\""),
                                        QDir::toNativeSeparators(path), QStringLiteral("\""));
    services_.StartProgram(program, parameters);
}

void CAtelierDlg::OnNew() {
    if (!maySetSkinAside()) {
        return;
    }
    document_.resetToNewSkin();
    document_.layOut();
    reloadPagesAfterNew();
    skinChanged_ = true;
    RebuildSkins(false);
    untitled_ = -1;
    currentPath_.clear();
    RedrawPreview();
}

void CAtelierDlg::OnOpen() {
    if (!maySetSkinAside()) {
        return;
    }
    const QString path = services_.OpenFileName(this, kSkinFilter);
    if (path.isEmpty()) {
        return;
    }
    if (SkinDocument::checkFile(path.toStdU16String())) {
        OpenFile(path);
    } else {
        message(QStringLiteral("文件不支持编辑，请重新选择。"), MessageIcon::Information);
    }
}

void CAtelierDlg::OpenFile(const QString& path) {
    if (!SkinDocument::checkFile(path.toStdU16String())) {
        message(QStringLiteral("文件不支持编辑，请重新选择。"), MessageIcon::Information);
        return;
    }
    if (!document_.loadFromFile(path.toStdU16String())) {
        return;
    }
    currentPath_ = path;
    untitled_ = 0;
    skinChanged_ = false;
    loading_ = true;
    reloadPagesAfterOpen();
    currentPath_ = path;
    skinChanged_ = true;
    loading_ = false;
    RebuildSkins(true);
    // Every window kind is reloaded, whatever tab shows.
    const int tab = currentTab_;
    currentTab_ = kTabInfo;
    RebuildSkins(false);
    currentTab_ = tab;
    RedrawPreview();
}

void CAtelierDlg::OnDropFiles(const QStringList& paths) {
    if (paths.isEmpty()) {
        return;
    }
    const QString path = paths.front().left(520);
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? path.mid(dot + 1) : path;
    if (extension.compare(kSkinExtension, Qt::CaseInsensitive) != 0 || name.isEmpty()) {
        message(QStringLiteral("文件格式不正确。"), MessageIcon::Information);
        return;
    }
    OpenFile(path);
}

void CAtelierDlg::reloadPagesAfterNew() {
    for (int tab : {kTabStatus, kTabInfo, kTabFont, kTabVertical, kTabHorizontal}) {
        IDlg* page = Page(tab);
        if (auto* information = dynamic_cast<CDlgSkinInfo*>(page)) {
            information->Clear();  // a new skin's author fills the information in
        } else if (page != nullptr) {
            page->Refresh();
        }
    }
}

void CAtelierDlg::reloadPagesAfterOpen() {
    for (int tab : {kTabStatus, kTabHorizontal, kTabVertical, kTabFont, kTabInfo}) {
        if (IDlg* page = Page(tab)) {
            page->Refresh();
        }
    }
}

bool CAtelierDlg::maySetSkinAside() {
    const int answer = services_.SavePrompt(this);
    if (answer == kSavePromptYes) {
        OnSave();
        return saveSucceeded_;  // a skin that was not saved is kept
    }
    return answer != kSavePromptCancel;
}

void CAtelierDlg::closeEvent(QCloseEvent* event) {
    if (maySetSkinAside()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void CAtelierDlg::OnAbout() {
    CDlgAbout about(this);
    about.exec();
}

void CAtelierDlg::OnHelp() {
    // The page installed with the program, or the one in the source tree of a build; the web
    // site's when neither is there.
    const QString candidates[] = {QCoreApplication::applicationDirPath() +
                                      QStringLiteral("/../share/tandel-skin-editor/skinhelp.html"),
                                  QStringLiteral(TANDEL_HELP_SOURCE)};
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            services_.OpenWebPage(
                QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath()).toString());
            return;
        }
    }
    services_.OpenWebPage(QLatin1String(kHelpPage));
}

}  // namespace tandel
