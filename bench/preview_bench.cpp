// The preview rebuild the editor runs after every edit on its information tab: the layout step
// of the document, the five engine objects loaded from the payload and laid out, then drawn
// and blended into the preview. The author drags a margin guide between rebuilds, so every
// iteration changes one margin first. Measured for a new skin and for the heavy skin.
#include <benchmark/benchmark.h>

#include "HeavySkin.h"
#include "PreviewRenderer.h"

using namespace tandel;

namespace {

void rebuild(benchmark::State& state, SkinDocument& doc) {
    PreviewRenderer renderer(1024, 2048);
    PreviewState preview;
    renderer.Load(doc);
    renderer.GrowFor(renderer.Render(preview, 1024, 768));
    int step = 0;
    for (auto _ : state) {
        doc.comboH.compText.marginLeft = std::uint16_t(11 + (++step & 1));  // a guide drag
        renderer.Load(doc);
        benchmark::DoNotOptimize(renderer.Render(preview, 1024, 768));
    }
    state.counters["payloadMB"] = double(doc.payloadSize) / 1e6;
}

void BM_PreviewRebuildNewSkin(benchmark::State& state) {
    SkinDocument doc;
    rebuild(state, doc);
}
BENCHMARK(BM_PreviewRebuildNewSkin)->Unit(benchmark::kMillisecond);

void BM_PreviewRebuildHeavySkin(benchmark::State& state) {
    testing::TemporaryFolder folder;
    SkinDocument doc;
    makeHeavyPreviewSkin(doc, folder);
    rebuild(state, doc);
}
BENCHMARK(BM_PreviewRebuildHeavySkin)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
