// The layout step and the skin file's save and open, for a new skin and for a heavy skin with
// an 800 x 600 picture in every slot that has a role. The memcpy and compress benchmarks show
// what the layout step and a save cannot be faster than.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>

#include "Pictures.h"
#include "SkinDocument.h"
#include "SkinInfo.h"
#include "TestFiles.h"

using namespace tandel;

namespace {

void makeHeavy(SkinDocument& doc, const testing::TemporaryFolder& folder) {
    std::vector<int> slots;
    for (int slot = 7; slot <= 23; ++slot) {
        slots.push_back(slot);
    }
    for (int slot = 25; slot <= 55; ++slot) {
        slots.push_back(slot);
    }
    for (int slot = 61; slot <= 79; ++slot) {
        slots.push_back(slot);
    }
    for (int slot = 81; slot <= 85; ++slot) {
        slots.push_back(slot);
    }
    for (int slot : slots) {
        std::filesystem::path path = folder / (std::to_string(slot) + ".png");
        testing::writeFile(path, testing::photoPngBytes(800, 600, slot));
        doc.importPicture(slot, path);
    }
    std::fill(std::begin(doc.splitLineOn), std::end(doc.splitLineOn), 1);
    std::fill(std::begin(doc.toolboxOn), std::end(doc.toolboxOn), 1);
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
    for (int id = 38; id <= 48; ++id) {
        doc.setStatusItemShown(id, true);
    }
    applySkinInfo(doc.header, {u"重", u"作者", u"a@b.com", u""});
    doc.layOut();
}

struct Heavy {
    testing::TemporaryFolder folder;
    SkinDocument doc;
    Heavy() { makeHeavy(doc, folder); }
};

Heavy& heavy() {
    static Heavy instance;
    return instance;
}

// After an edit of the sections (a margin, say): the pictures stay where they are.
void BM_LayOutNewSkin(benchmark::State& state) {
    SkinDocument doc;
    int step = 0;
    for (auto _ : state) {
        doc.comboH.compText.marginLeft = std::uint16_t(11 + (++step & 1));
        doc.layOut();
        benchmark::DoNotOptimize(doc.payload().data());
    }
}
BENCHMARK(BM_LayOutNewSkin);

void BM_LayOutHeavySkinAfterAnEdit(benchmark::State& state) {
    SkinDocument& doc = heavy().doc;
    int step = 0;
    for (auto _ : state) {
        doc.comboH.compText.marginLeft = std::uint16_t(11 + (++step & 1));
        doc.layOut();
        benchmark::DoNotOptimize(doc.payload().data());
    }
    state.counters["payloadMB"] = double(doc.payloadSize) / 1e6;
}
BENCHMARK(BM_LayOutHeavySkinAfterAnEdit)->Unit(benchmark::kMillisecond);

// After a picture changed: every picture is written again.
void BM_LayOutHeavySkinAfterANewPicture(benchmark::State& state) {
    SkinDocument& doc = heavy().doc;
    const std::vector<std::uint8_t> picture(doc.pictures[9].bytes().begin(),
                                            doc.pictures[9].bytes().end());
    for (auto _ : state) {
        doc.pictures[9].borrow(picture);
        doc.layOut();
        benchmark::DoNotOptimize(doc.payload().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(doc.payloadSize));
    state.counters["payloadMB"] = double(doc.payloadSize) / 1e6;
}
BENCHMARK(BM_LayOutHeavySkinAfterANewPicture)->Unit(benchmark::kMillisecond);

// One copy of the heavy payload: the layout step's floor.
void BM_MemcpyHeavyPayload(benchmark::State& state) {
    SkinDocument& doc = heavy().doc;
    std::vector<std::uint8_t> copy(doc.payloadSize);
    for (auto _ : state) {
        std::memcpy(copy.data(), doc.payload().data(), doc.payloadSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(doc.payloadSize));
}
BENCHMARK(BM_MemcpyHeavyPayload)->Unit(benchmark::kMillisecond);

// zlib alone on the heavy payload: what a save's time is dominated by.
void BM_CompressHeavyPayload(benchmark::State& state) {
    SkinDocument& doc = heavy().doc;
    std::vector<Bytef> out(compressBound(uLong(doc.payloadSize)));
    for (auto _ : state) {
        uLongf size = out.size();
        compress(out.data(), &size, doc.payload().data(), uLong(doc.payloadSize));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(doc.payloadSize));
}
BENCHMARK(BM_CompressHeavyPayload)->Unit(benchmark::kMillisecond);

void BM_SaveHeavySkin(benchmark::State& state) {
    Heavy& h = heavy();
    std::filesystem::path path = h.folder / "heavy.tdskn";
    for (auto _ : state) {
        if (!h.doc.saveToFile(path)) {
            state.SkipWithError("save failed");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(h.doc.payloadSize));
}
BENCHMARK(BM_SaveHeavySkin)->Unit(benchmark::kMillisecond);

void BM_LoadHeavySkin(benchmark::State& state) {
    Heavy& h = heavy();
    std::filesystem::path path = h.folder / "heavy-load.tdskn";
    h.doc.saveToFile(path);
    SkinDocument opened;
    for (auto _ : state) {
        if (!opened.loadFromFile(path)) {
            state.SkipWithError("load failed");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(h.doc.payloadSize));
}
BENCHMARK(BM_LoadHeavySkin)->Unit(benchmark::kMillisecond);

void BM_LayOutSaveLoadHeavySkin(benchmark::State& state) {
    Heavy& h = heavy();
    std::filesystem::path path = h.folder / "heavy-round.tdskn";
    SkinDocument opened;
    for (auto _ : state) {
        h.doc.layOut();
        if (!h.doc.saveToFile(path) || !opened.loadFromFile(path)) {
            state.SkipWithError("round trip failed");
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(h.doc.payloadSize));
}
BENCHMARK(BM_LayOutSaveLoadHeavySkin)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
