// The preview rebuild the editor runs after every edit on its information tab: the layout step
// of the document, the five engine objects loaded from the payload and laid out, then drawn
// and blended into the preview. The author drags a margin guide between rebuilds, so every
// iteration changes one margin first. Measured for a new skin and for a heavy skin with an
// 800 x 600 picture in every background and custom picture slot, one of them an animated GIF.
#include <benchmark/benchmark.h>

#include "Pictures.h"
#include "PreviewRenderer.h"
#include "SkinDocument.h"
#include "TestFiles.h"

using namespace tandel;

namespace {

void makeHeavy(SkinDocument& doc, const testing::TemporaryFolder& folder) {
    std::vector<int> slots;
    for (int slot = 9; slot <= 14; ++slot) {
        slots.push_back(slot);
    }
    for (int slot = 26; slot <= 55; ++slot) {
        slots.push_back(slot);
    }
    for (int slot = 81; slot <= 85; ++slot) {
        slots.push_back(slot);
    }
    for (int slot : slots) {
        const bool animated = slot == 26;
        std::filesystem::path path =
            folder / (std::to_string(slot) + (animated ? ".gif" : ".png"));
        testing::writeFile(path, animated ? testing::animatedGifBytes(800, 600, 4)
                                          : testing::photoPngBytes(800, 600, slot));
        doc.importPicture(slot, path);
    }
    // Custom pictures take their picture's size, as the custom picture page sets it.
    auto size = [](ImageElement& e) {
        e.width = 800;
        e.height = 600;
    };
    for (int k = 0; k < kCustomPictureCount; ++k) {
        size(doc.comboH.customPictures[k]);
        size(doc.comboV.customPictures[k]);
        size(doc.splitH.compCustomPictures[k]);
        size(doc.splitH.candCustomPictures[k]);
        size(doc.splitV.compCustomPictures[k]);
        size(doc.splitV.candCustomPictures[k]);
        size(doc.status.customPictures[k]);
    }
}

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
    makeHeavy(doc, folder);
    rebuild(state, doc);
}
BENCHMARK(BM_PreviewRebuildHeavySkin)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
