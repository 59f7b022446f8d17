// The editor on Qt's offscreen platform: from an edit of the document to the end of the
// preview's redraw on the information tab (the engine objects reloaded, the preview composed
// and painted), for a new skin and for the heavy skin; and from the start of the program to
// the first painted preview.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include "AtelierDlg.h"
#include "HeavySkin.h"
#include "PlatformServices.h"

using namespace tandel;

namespace {

// Nothing the benchmarks do asks the desktop for anything.
class NoServices : public PlatformServices {
public:
    QString OpenFileName(QWidget*, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    int ShowMessage(QWidget*, const QString&, const QString&, MessageIcon,
                    MessageButtons) override {
        return kMessageOk;
    }
    int SavePrompt(QWidget*) override { return kSavePromptNo; }
    bool StartProgram(const QString&, const QString&) override { return false; }
    bool OpenWebPage(const QString&) override { return false; }
    QColor PickColour(QWidget*) override { return {}; }
    QColor ScreenPixel(QPoint) override { return {}; }
};

// Counts the paints of one widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

qint64 gApplicationStartNs = 0;

void editToRedraw(benchmark::State& state, SkinDocument& document) {
    NoServices services;
    CAtelierDlg window(document, services);
    window.resize(1000, 760);
    window.show();
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        // What a page does on an edit, then what the window does after it.
        document.comboH.compText.marginLeft = std::uint16_t(11 + (++step & 1));
        window.SetSkinChanged(true);
        window.RebuildSkins(false);
        window.RedrawPreview();
        window.Preview()->repaint();
    }
}

void BM_EditToRedrawNewSkin(benchmark::State& state) {
    SkinDocument document;
    editToRedraw(state, document);
}
BENCHMARK(BM_EditToRedrawNewSkin)->Unit(benchmark::kMillisecond);

void BM_EditToRedrawHeavySkin(benchmark::State& state) {
    testing::TemporaryFolder folder;
    SkinDocument document;
    makeHeavyPreviewSkin(document, folder);
    editToRedraw(state, document);
}
BENCHMARK(BM_EditToRedrawHeavySkin)->Unit(benchmark::kMillisecond);

// The main window made, shown and its preview painted once; the application object's own
// start (made once per process, before the benchmarks) is added as a counter.
void BM_StartToFirstPreview(benchmark::State& state) {
    NoServices services;
    static double firstMs = -1;  // the cold start: fonts, pictures and caches made the first time
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        SkinDocument document;
        CAtelierDlg window(document, services);
        PaintCounter counter;
        window.Preview()->installEventFilter(&counter);
        window.show();
        while (counter.paints == 0) {
            QApplication::processEvents();
        }
        if (firstMs < 0) {
            firstMs = double(clock.nsecsElapsed()) / 1e6;
        }
    }
    state.counters["applicationStartMs"] = double(gApplicationStartNs) / 1e6;
    state.counters["firstStartMs"] = firstMs;
}
BENCHMARK(BM_StartToFirstPreview)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    gApplicationStartNs = clock.nsecsElapsed();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
