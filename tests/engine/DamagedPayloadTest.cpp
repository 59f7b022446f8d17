// Truncated and corrupted payloads and files reach the parser and the control factory without
// a crash or a read outside the bytes (the sanitizer build checks the reads).
#include <gtest/gtest.h>

#include <cstring>

#include "InputSkin.h"
#include "Pictures.h"
#include "Scenarios.h"
#include "SkinDocument.h"
#include "TestFiles.h"

namespace tandel {
namespace {

// A document with every optional element and a custom picture in every window.
SkinDocument& richDocument() {
    static SkinDocument doc;
    static bool made = false;
    if (!made) {
        made = true;
        static testing::TemporaryFolder folder;
        testing::writeFile(folder / "p.png", testing::pngBytes(8, 8));
        doc.splitLineOn[kComboH] = doc.splitLineOn[kComboV] = 1;
        std::fill(std::begin(doc.toolboxOn), std::end(doc.toolboxOn), 1);
        doc.importPicture(25, folder / "p.png");
        for (int slot : {26, 35, 36, 41, 50, 55, 81}) {
            doc.importPicture(slot, folder / "p.png");
        }
        for (ImageElement* e :
             {&doc.comboH.customPictures[0], &doc.comboV.customPictures[4],
              &doc.splitH.compCustomPictures[0], &doc.splitH.candCustomPictures[0],
              &doc.splitV.compCustomPictures[4], &doc.splitV.candCustomPictures[4],
              &doc.status.customPictures[0]}) {
            e->width = e->height = 8;
        }
        for (int id = 38; id <= 48; ++id) {
            doc.setStatusItemShown(id, true);
        }
        doc.layOut();
    }
    return doc;
}

// Loads a payload for every window kind and lays out and draws what was built.
void exercise(std::span<const std::uint8_t> payload, std::uint16_t entryCount) {
    Canvas canvas = *Canvas::create(300, 200);
    for (int kind : {0, 3, 4}) {  // combined, split, candidate-only
        CInputSkinImpl skin;
        skin.LoadSkin(kind, payload, entryCount, 1);
        LayoutContext context;
        context.scheme = &INPUT_INFO9();
        context.canvas = &canvas;
        skin.Layout(kRootWindow, &context);
        skin.Draw(kRootWindow, &canvas, nullptr);
        StatusContext status;
        skin.Layout(kRootStatus, &status);
        skin.Draw(kRootStatus, &canvas, nullptr);
        MouseResult result{};
        skin.OnMouse(kRootWindow, kMouseMove, 20, 20, 0, &result);
        skin.OnMouse(kRootStatus, kButtonUp, 40, 10, 0, &result);
    }
}

TEST(DamagedPayloads, TruncatedAtEveryStructure) {
    const SkinDocument& doc = richDocument();
    const std::vector<std::uint8_t> whole(doc.payload().begin(), doc.payload().end());
    // Cuts through the directory, every section and the first pictures.
    for (std::size_t size = 0; size < std::min<std::size_t>(whole.size(), 6000); size += 13) {
        std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(size));
        exercise(cut, doc.header.entryCount);
    }
    ResourceCache::Instance().releaseCache();
}

TEST(DamagedPayloads, CorruptedFields) {
    const SkinDocument& doc = richDocument();
    const std::vector<std::uint8_t> whole(doc.payload().begin(), doc.payload().end());
    const std::size_t sections = 12 * std::size_t(doc.header.entryCount);
    const std::uint32_t values[] = {0,          1,          0x7F,       0x80, 0xFF, 0xFFFF,
                                    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 102,  200};
    // Every 32-bit field of the directory and of the sections, set to awkward values.
    for (std::size_t at = 0; at + 4 <= sections + 4000 && at + 4 <= whole.size(); at += 4) {
        const std::uint32_t value = values[std::size_t(at / 4) % std::size(values)];
        std::vector<std::uint8_t> changed = whole;
        std::memcpy(changed.data() + at, &value, 4);
        exercise(changed, doc.header.entryCount);
    }
    // Directory counts larger than the directory.
    exercise(whole, std::uint16_t(doc.header.entryCount + 40));
    ResourceCache::Instance().releaseCache();
}

TEST(DamagedPayloads, HugeSplitPaneCounts) {
    SplitHeader header{};
    header.compBackgroundPicture = header.candBackgroundPicture = -1;
    header.compElementCount = header.candElementCount = 0x7FFFFFFF;
    std::vector<std::uint8_t> record(sizeof header + 64);
    std::memcpy(record.data(), &header, sizeof header);
    ParseContext parse;
    // The split window, both of its panes and the candidate-only window.
    for (auto [type, id] : {std::pair{1, 1}, {2, 12}, {3, 19}, {4, 28}}) {
        std::unique_ptr<IControl> control = CreateControl(type, id);
        control->Create(record, &parse);
        LayoutContext context;
        context.scheme = &INPUT_INFO();
        control->Layout(&context);
    }
}

TEST(DamagedPayloads, DamagedFilesForTheInstalledPath) {
    const SkinDocument& doc = richDocument();
    testing::TemporaryFolder folder;
    SkinDocument copy;
    ASSERT_TRUE(copy.saveToFile(folder / "a.tdskn"));
    const std::vector<std::uint8_t> file = testing::readFile(folder / "a.tdskn");
    for (std::size_t size :
         {std::size_t(0), std::size_t(656), std::size_t(700), file.size() / 2, file.size() - 1}) {
        testing::writeFile(folder / "b.tdskn",
                           std::span<const std::uint8_t>(file.data(), std::min(size, file.size())));
        ParseContext context;
        loadFile(context, folder / "b.tdskn");
        release(context);
    }
    EXPECT_GT(doc.payloadSize, 0u);
}

}  // namespace
}  // namespace tandel
