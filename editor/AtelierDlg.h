// The editor's main window: the tab column with the pages, the preview of the skin as the
// input method draws it, the edit area some pages draw into, the scroll bars, the background
// selector, the menus with the file commands, and the timers.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "EditorHost.h"
#include "IDlg.h"
#include "PlatformServices.h"
#include "PreviewRenderer.h"

class QScrollBar;
class QTabWidget;

namespace tandel {

class BackgroundSelector;
class CDlgCheck;
class EditArea;
class PreviewView;
class SkinDocument;

inline constexpr char16_t kEditorTitle[] = u"澜石输入法 皮肤编辑器";
inline constexpr char16_t kMessageCaption[] = u"澜石输入法皮肤编辑器";

class CAtelierDlg : public QMainWindow, public IEditorHost {
    Q_OBJECT
public:
    // Makes the page of tabs 0 to 4: a widget that is also an IDlg, or null for the editor's
    // own page of that tab. The check page of tab 5 is always the wizard.
    using PageFactory = std::function<QWidget*(int tab, SkinDocument& document)>;

    CAtelierDlg(SkinDocument& document, PlatformServices& services, QWidget* parent = nullptr,
                const PageFactory& pages = {});
    ~CAtelierDlg() override;

    // What the pages ask of the main window.
    int RebuildSkins(bool statusOnly) override;
    void RedrawPreview() override;
    void SetSkinChanged(bool changed) override { skinChanged_ = changed; }
    int BackgroundIndex() const override { return backgroundIndex_; }
    void SetBackgroundIndex(int index) override;
    QColor BackgroundColour() const override;
    void SetWizardScene(int scene) override { wizardScene_ = scene; }
    void SetBackgroundCycling(bool on) override;
    void OnSave() override;
    PlatformServices& Services() override { return services_; }
    QWidget* Window() override { return this; }

    // The file commands.
    void OnNew();
    void OnOpen();
    void OnSaveAs();
    void OnSaveAndInstall();
    void OnExit() { close(); }
    void OnAbout();
    void OnHelp();
    void OpenFile(const QString& path);
    void OnDropFiles(const QStringList& paths);
    // A second start asked for this editor: restore it, bring it to the front, open its file.
    void WakeUp(const QStringList& paths);

    void SelectTab(int index);
    void LayoutControls(int width, int height);

    // The selector, the mouse and the scroll bars, as the window's handlers call them;
    // points are in the window's client coordinates.
    void OnLeftButtonDown(QPoint point);
    void OnLeftButtonUp(QPoint point);
    void OnMouseMove(QPoint point);
    void OnScroll(bool vertical, int request, int thumb);
    void OnWheel(int delta);
    void OnAnimationTimer();
    void OnCycleTimer();

    // State other parts read.
    int CurrentTab() const { return currentTab_; }
    int WizardScene() const { return wizardScene_; }
    bool SkinChanged() const { return skinChanged_; }
    bool Loading() const { return loading_; }
    const QString& CurrentPath() const { return currentPath_; }
    int Untitled() const { return untitled_; }
    bool SaveSucceeded() const { return saveSucceeded_; }
    bool CyclingBackground() const { return cycleTimer_.isActive(); }
    int LeftColumnWidth() const { return leftColumn_; }
    QScrollBar* VerticalBar() const { return verticalBar_; }
    QScrollBar* HorizontalBar() const { return horizontalBar_; }
    QWidget* Preview() const;
    QWidget* EditAreaWidget() const;
    QWidget* Selector() const;
    QTabWidget* Tabs() const { return tabs_; }
    IDlg* Page(int index) const;
    CDlgCheck* CheckPage() const { return check_; }
    PreviewRenderer& Renderer() { return renderer_; }
    QPoint ScrollOffset() const { return scrollOffset_; }
    Size Content() const { return content_; }

    // The scroll requests of the bars.
    enum ScrollRequest { kLineUp, kLineDown, kPageUp, kPageDown, kThumbTrack, kTop, kBottom };

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    // The save prompt before the skin is replaced or the window closes: false keeps the skin
    // (cancelled, or its save did not complete).
    bool maySetSkinAside();
    void createPages(const PageFactory& factory);
    QWidget* ownPage(int tab);
    void renderPreview();
    void updateScrollBars(int viewWidth, int viewHeight);
    PreviewState previewState() const;
    // The information page's check and stamp, and the skin id from its name and author.
    bool applyInformation();
    bool saveDocument(const QString& path);
    void reloadPagesAfterNew();
    void reloadPagesAfterOpen();
    QString saveFileName(const QString& title);
    int message(const QString& text, MessageIcon icon);

    SkinDocument& document_;
    PlatformServices& services_;
    PreviewRenderer renderer_;
    QTabWidget* tabs_ = nullptr;
    PreviewView* preview_ = nullptr;
    EditArea* editArea_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
    QScrollBar* horizontalBar_ = nullptr;
    BackgroundSelector* selector_ = nullptr;
    std::array<IDlg*, 6> pages_{};
    CDlgCheck* check_ = nullptr;
    QTimer animationTimer_;
    QTimer cycleTimer_;

    int currentTab_ = 0;
    int wizardScene_ = 0;
    bool horizontalSplit_ = false;
    bool verticalSplit_ = false;
    bool horizontalEditArea_ = true;
    bool verticalEditArea_ = true;
    bool skinChanged_ = true;
    bool loading_ = false;
    int leftColumn_ = 320;
    int editAreaTop_ = 0;
    QPoint previousPoint_;
    bool buttonDown_ = false;
    int hitPart_ = -1;
    QString currentPath_;
    int untitled_ = -1;
    bool saveSucceeded_ = false;
    int backgroundIndex_ = 0;
    bool verticalBarNeeded_ = false;
    bool horizontalBarNeeded_ = false;
    QPoint scrollOffset_;
    Size content_;
};

}  // namespace tandel
