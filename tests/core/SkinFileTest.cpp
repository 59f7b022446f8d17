// Writing skin files and reading them back, and refusing damaged ones.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>

#include "Pictures.h"
#include "SkinDocument.h"
#include "SkinFileReader.h"
#include "SkinInfo.h"
#include "SkinSignature.h"
#include "TestFiles.h"
#include "TextCodec.h"

namespace tandel {
namespace {

using testing::TemporaryFolder;

std::vector<std::uint8_t> payloadOf(const SkinDocument& doc) {
    return {doc.payload().begin(), doc.payload().end()};
}

template <typename Record>
bool sameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectSameSections(const SkinSections& a, const SkinSections& b) {
    EXPECT_TRUE(sameBytes(a.comboH, b.comboH));
    EXPECT_TRUE(sameBytes(a.comboV, b.comboV));
    EXPECT_TRUE(sameBytes(a.splitH, b.splitH));
    EXPECT_TRUE(sameBytes(a.splitV, b.splitV));
    EXPECT_TRUE(sameBytes(a.status, b.status));
    EXPECT_TRUE(sameBytes(a.cloudPictures, b.cloudPictures));
    EXPECT_TRUE(sameBytes(a.statusItemShown, b.statusItemShown));
    EXPECT_TRUE(sameBytes(a.splitLineOn, b.splitLineOn));
    EXPECT_TRUE(sameBytes(a.toolboxOn, b.toolboxOn));
}

// A skin with every kind of optional element switched on, signed by a Chinese author.
void makeRichSkin(SkinDocument& doc, const TemporaryFolder& folder) {
    auto picture = [&](const std::string& name, std::vector<std::uint8_t> bytes) {
        std::filesystem::path path = folder / name;
        testing::writeFile(path, bytes);
        return path;
    };
    doc.splitLineOn[kComboH] = 1;
    doc.splitLineOn[kComboV] = 1;
    std::fill(std::begin(doc.toolboxOn), std::end(doc.toolboxOn), 1);
    doc.importPicture(25, picture("toolbox.png", testing::pngBytes(10, 10)));
    auto custom = [&](ImageElement& e, int slot) {
        doc.importPicture(slot, picture(std::to_string(slot) + ".png",
                                        testing::pngBytes(6, 4, 0xFF000000u + unsigned(slot))));
        e.alignment = 4;
        e.x = std::int16_t(-slot);
        e.width = 6;
        e.height = 4;
    };
    custom(doc.comboH.customPictures[0], 26);
    custom(doc.comboV.customPictures[4], 35);
    custom(doc.splitH.compCustomPictures[1], 37);
    custom(doc.splitH.candCustomPictures[0], 41);
    custom(doc.splitV.compCustomPictures[4], 50);
    custom(doc.splitV.candCustomPictures[3], 54);
    custom(doc.status.customPictures[3], 84);  // a later custom picture alone
    doc.setStatusItemShown(41, true);
    doc.setStatusItemShown(42, true);
    doc.setStatusItemShown(46, true);
    doc.setStatusItemShown(39, false);
    doc.importPicture(63, picture("mode.gif", testing::gifBytes(3)));
    doc.comboH.compText.colour = 0xFF102030;
    doc.comboH.candText.cnFontSize = 20;
    setFixedText(doc.comboH.candText.cnFont, u"微软雅黑");
    doc.comboV.header.stretch = {1, 5, 6, 7, 8};
    ASSERT_EQ(applySkinInfo(doc.header, {u"水墨江南", u"李白", u"libai@tang.com", u"一行\n二行"}),
              "");
    storeDigest(doc.header.skinId, makeSkinId(u"水墨江南", u"李白"));
}

// Saves are always preceded by the information page's stamp, which signs the skin.
void sign(SkinDocument& doc) {
    ASSERT_EQ(applySkinInfo(doc.header, {u"澜石", u"作者", u"a@b.com", u""}), "");
}

class SkinFileTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
};

TEST_F(SkinFileTest, NewSkinRoundTrip) {
    SkinDocument saved;
    sign(saved);
    std::filesystem::path path = folder / "new.tdskn";
    ASSERT_TRUE(saved.saveToFile(path));
    EXPECT_TRUE(SkinDocument::checkFile(path));

    SkinDocument opened;
    ASSERT_TRUE(opened.loadFromFile(path));
    EXPECT_EQ(opened.openedFromFile, 1);
    opened.layOut();
    expectSameSections(opened, saved);
    EXPECT_EQ(payloadOf(opened), payloadOf(saved));
}

TEST_F(SkinFileTest, RichSkinRoundTripReproducesSectionsAndPictures) {
    SkinDocument saved;
    makeRichSkin(saved, folder);
    std::filesystem::path path = folder / "rich.tdskn";
    ASSERT_TRUE(saved.saveToFile(path));
    EXPECT_EQ(saved.header.animationMode, 2);

    SkinDocument opened;
    ASSERT_TRUE(opened.loadFromFile(path));
    EXPECT_TRUE(sameBytes(opened.header, saved.header));
    EXPECT_EQ(opened.animationMode, 2);
    opened.layOut();
    expectSameSections(opened, saved);
    EXPECT_EQ(payloadOf(opened), payloadOf(saved));

    // Saving again without edits writes the same file.
    std::filesystem::path again = folder / "again.tdskn";
    ASSERT_TRUE(opened.saveToFile(again));
    EXPECT_EQ(testing::readFile(again), testing::readFile(path));

    // Pictures point into the opened file's data; the font cache comes from comboH.
    EXPECT_FALSE(opened.pictures[84].owned());
    EXPECT_TRUE(opened.picturePath(84).empty());
    EXPECT_EQ(opened.pictures[84].size(), saved.pictures[84].size());
    EXPECT_EQ(opened.colourSettings[0].colour, 0x102030u);
    EXPECT_EQ(fixedText(opened.fontSettings[0].face), u"微软雅黑");
    EXPECT_EQ(opened.fontSettings[0].size, 16);
    EXPECT_EQ(opened.fontSettings[3].size, 20);
    EXPECT_EQ(fixedText(opened.fontSettings[1].face), u"宋体");
}

TEST_F(SkinFileTest, RestoreAfterOpenUsesTheFilesPictures) {
    SkinDocument saved;
    sign(saved);
    std::filesystem::path path = folder / "s.tdskn";
    ASSERT_TRUE(saved.saveToFile(path));
    SkinDocument opened;
    ASSERT_TRUE(opened.loadFromFile(path));
    const std::uint8_t* fileBackground = opened.pictures[9].data();

    testing::writeFile(folder / "p.png", testing::pngBytes(2, 2));
    opened.importPicture(9, folder / "p.png");
    opened.restorePicture(9);
    EXPECT_EQ(opened.pictures[9].data(), fileBackground);
    // Slot 70 belongs to a hidden item, so the file has no picture for it.
    opened.restorePicture(70);
    EXPECT_TRUE(opened.pictures[70].empty());
}

TEST_F(SkinFileTest, VerticalBackgroundFallsBackToTheHorizontalOne) {
    SkinDocument saved;
    sign(saved);
    testing::writeFile(folder / "bg.png", testing::pngBytes(40, 60));
    saved.importPicture(9, folder / "bg.png");
    saved.pictureIncluded[10] = 0;
    std::filesystem::path path = folder / "no10.tdskn";
    ASSERT_TRUE(saved.saveToFile(path));

    SkinDocument opened;
    ASSERT_TRUE(opened.loadFromFile(path));
    ASSERT_EQ(opened.pictures[10].size(), saved.pictures[9].size());
    EXPECT_EQ(opened.pictures[10].data(), opened.pictures[9].data());
}

TEST_F(SkinFileTest, SavingReplacesTheFileWhole) {
    std::filesystem::path path = folder / "skin.tdskn";
    testing::writeFile(path, std::vector<std::uint8_t>(100000, 0xAB));
    SkinDocument doc;
    sign(doc);
    ASSERT_TRUE(doc.saveToFile(path));
    EXPECT_TRUE(SkinDocument::checkFile(path));
    EXPECT_LT(std::filesystem::file_size(path), 100000u);
    // Nothing is left behind beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
    std::string why;
    EXPECT_FALSE(doc.saveToFile(folder / "no-such-folder" / "x.tdskn", &why));
    EXPECT_NE(why.find("cannot create a file in"), std::string::npos) << why;
    EXPECT_NE(why.find("no-such-folder"), std::string::npos) << why;
    testing::writeFile(folder / "file", std::vector<std::uint8_t>{1});
    EXPECT_FALSE(doc.saveToFile(folder / "file" / "x.tdskn"));
    // A folder in the way of the target: the new file is written but cannot replace it.
    std::filesystem::create_directories(folder / "taken.tdskn" / "inside");
    why.clear();
    EXPECT_FALSE(doc.saveToFile(folder / "taken.tdskn", &why));
    EXPECT_NE(why.find("cannot replace the file"), std::string::npos) << why;
    EXPECT_TRUE(std::filesystem::exists(folder / "taken.tdskn" / "inside"));
}

TEST_F(SkinFileTest, CheckFileRefusesWhatCannotBeEdited) {
    EXPECT_FALSE(SkinDocument::checkFile(folder / "missing.tdskn"));
    EXPECT_FALSE(SkinDocument::checkFile(folder.path()));
    SkinDocument doc;
    EXPECT_FALSE(doc.loadFromFile(folder / "missing.tdskn"));
}

// --- Damaged files -------------------------------------------------------------------------

std::vector<std::uint8_t> fileBytes(const SkinFileHeader& header,
                                    std::span<const std::uint8_t> payload) {
    uLongf size = compressBound(uLong(payload.size()));
    std::vector<std::uint8_t> file(kSkinHeaderSize + size);
    std::memcpy(file.data(), &header, sizeof header);
    EXPECT_EQ(compress(file.data() + kSkinHeaderSize, &size, payload.data(), uLong(payload.size())),
              Z_OK);
    file.resize(kSkinHeaderSize + size);
    return file;
}

// The parts of a payload that the damage cases change.
struct PayloadParts {
    std::vector<std::uint8_t>& payload;
    const SkinFileHeader& header;

    std::size_t entryAt(int index) const { return 12 * std::size_t(index); }
    // Offset of the top-directory entry with the given id.
    std::size_t entryOf(int id) const {
        for (int i = 0; i < header.entryCount; ++i) {
            DirEntry e = get<DirEntry>(entryAt(i));
            if (e.id == id) {
                return entryAt(i);
            }
        }
        ADD_FAILURE() << "no entry " << id;
        return 0;
    }
    std::size_t sectionStart(int id) const {
        return 12 * std::size_t(header.entryCount) + get<DirEntry>(entryOf(id)).offset;
    }
    template <typename T>
    T get(std::size_t at) const {
        T value;
        std::memcpy(&value, payload.data() + at, sizeof value);
        return value;
    }
    template <typename T>
    void set(std::size_t at, T value) {
        std::memcpy(payload.data() + at, &value, sizeof value);
    }
};

struct DamageCase {
    const char* what;
    // Changes the finished file.
    std::function<void(std::vector<std::uint8_t>&)> damageFile;
    // Or changes the header and payload before they are compressed.
    std::function<void(SkinFileHeader&, PayloadParts)> damagePayload;
    const char* reason;  // empty: the file opens
};

void setHeader(std::vector<std::uint8_t>& file,
               const std::function<void(SkinFileHeader&)>& change) {
    SkinFileHeader header;
    std::memcpy(&header, file.data(), sizeof header);
    change(header);
    std::memcpy(file.data(), &header, sizeof header);
}

std::vector<DamageCase> damageCases() {
    auto truncateTo = [](std::size_t size) {
        return [size](std::vector<std::uint8_t>& f) { f.resize(std::min(size, f.size())); };
    };
    auto header = [](std::function<void(SkinFileHeader&)> change) {
        return [change](std::vector<std::uint8_t>& f) { setHeader(f, change); };
    };
    using P = PayloadParts;
    constexpr std::size_t kEntryOffset = 4, kEntrySize = 8;
    return {
        {"empty file", truncateTo(0), {}, "bytes long"},
        {"header only", truncateTo(656), {}, "bytes long"},
        {"one byte of stream", truncateTo(657), {}, "zlib stream"},
        {"stream cut in half",
         [](auto& f) { f.resize(656 + (f.size() - 656) / 2); },
         {},
         "ends early"},
        {"stream one byte short", [](auto& f) { f.pop_back(); }, {}, "zlib stream"},
        {"damaged stream",
         [](auto& f) {
             f[f.size() / 2] ^= 0x5A;
             f[f.size() / 2 + 1] ^= 0xA5;
         },
         {},
         "zlib stream"},
        {"bytes after the stream", [](auto& f) { f.insert(f.end(), 100, 7); }, {}, ""},
        {"wrong magic", header([](auto& h) { h.magic = 0x0815B507; }), {}, "magic is 0x0815B507"},
        {"format version 0", header([](auto& h) { h.formatVersion = 0; }), {}, "formatVersion 0"},
        {"format version 1",
         header([](auto& h) { h.formatVersion = 1; }),
         {},
         "formatVersion 1 is below 2"},
        {"format version 3", header([](auto& h) { h.formatVersion = 3; }), {}, ""},
        {"upper-case signature",
         header([](auto& h) {
             for (char& c : h.signature)
                 c = char(std::toupper(static_cast<unsigned char>(c)));
         }),
         {},
         "signature"},
        {"name changed", header([](auto& h) { h.name[0] = u'山'; }), {}, "signature"},
        {"author changed", header([](auto& h) { h.author[1] = u'黑'; }), {}, "signature"},
        {"date changed", header([](auto& h) { h.date[0] = u'1'; }), {}, "signature"},
        {"e-mail changed", header([](auto& h) { h.email[0] = u'x'; }), {}, ""},
        {"absurd payloadSize",
         header([](auto& h) { h.payloadSize = 0xFFFFFFFF; }),
         {},
         "larger than the limit"},
        {"payloadSize just over the limit",
         header([](auto& h) { h.payloadSize = (256u << 20) + 1; }),
         {},
         "limit"},
        {"payloadSize one short",
         header([](auto& h) { h.payloadSize -= 1; }),
         {},
         "more than payloadSize"},
        {"payloadSize one over",
         header([](auto& h) { h.payloadSize += 1; }),
         {},
         "but payloadSize is"},
        {"entryCount beyond the payload",
         header([](auto& h) { h.entryCount = 0xFFFF; }),
         {},
         "does not fit"},
        {"no entries", {}, [](SkinFileHeader& h, P) { h.entryCount = 0; }, "section 0 is missing"},
        {"entry past the data",
         {},
         [](SkinFileHeader&, P p) {
             p.set<std::uint32_t>(p.entryAt(8) + kEntryOffset, 0x7FFFFFFF);
         },
         "directory entry 8"},
        {"entry wrapping around",
         {},
         [](SkinFileHeader&, P p) {
             p.set<std::uint32_t>(p.entryAt(3) + kEntryOffset, 0xFFFFFFF0);
             p.set<std::uint32_t>(p.entryAt(3) + kEntrySize, 0x20);
         },
         "directory entry 3"},
        {"last picture one byte too long",
         {},
         [](SkinFileHeader& h, P p) {
             std::size_t last = p.entryAt(h.entryCount - 1) + kEntrySize;
             p.set<std::uint32_t>(last, p.get<std::uint32_t>(last) + 1);
         },
         "points to bytes"},
        {"entry with an id past 101",
         {},
         [](SkinFileHeader&, P p) { p.set<std::uint16_t>(p.entryAt(9), 400); },
         ""},
        {"section 0 missing",
         {},
         [](SkinFileHeader&, P p) { p.set<std::uint16_t>(p.entryOf(0), 120); },
         "section 0 is missing"},
        {"section 6 missing",
         {},
         [](SkinFileHeader&, P p) { p.set<std::uint16_t>(p.entryOf(6), 120); },
         "section 6 is missing"},
        {"split sections missing",
         {},
         [](SkinFileHeader&, P p) {
             p.set<std::uint16_t>(p.entryOf(2), 200);
             p.set<std::uint16_t>(p.entryOf(3), 201);
         },
         ""},
        {"too many window elements",
         {},
         [](SkinFileHeader&, P p) { p.set<std::int32_t>(p.sectionStart(0) + 44, 12); },
         "element count 12 is outside 0..11"},
        {"negative window element count",
         {},
         [](SkinFileHeader&, P p) { p.set<std::int32_t>(p.sectionStart(1) + 44, -1); },
         "element count -1"},
        {"window section cut short",
         {},
         [](SkinFileHeader&, P p) {
             p.set<std::uint32_t>(p.entryOf(0) + kEntrySize, 48 + 12 * 8 + 300);
         },
         "section 0 at payload offset"},
        {"element outside its section",
         {},
         [](SkinFileHeader&, P p) {
             p.set<std::uint32_t>(p.sectionStart(0) + 48 + kEntryOffset, 5000);
         },
         "element 0 (id 3) points to bytes 5000"},
        {"element count larger than the section",
         {},
         [](SkinFileHeader&, P p) { p.set<std::int32_t>(p.sectionStart(6) + 32, 17); },
         "section 6"},
        {"too many status elements",
         {},
         [](SkinFileHeader&, P p) { p.set<std::int32_t>(p.sectionStart(6) + 32, 18); },
         "element count 18 is outside 0..17"},
        {"negative split count",
         {},
         [](SkinFileHeader&, P p) { p.set<std::int32_t>(p.sectionStart(2) + 36, -3); },
         "negative element count"},
        {"too many split elements",
         {},
         [](SkinFileHeader&, P p) { p.set<std::int32_t>(p.sectionStart(3) + 76, 14); },
         "outside 0..15"},
        {"status section cut short",
         {},
         [](SkinFileHeader&, P p) { p.set<std::uint32_t>(p.entryOf(6) + kEntrySize, 40); },
         "section 6"},
        {"cloud section too small",
         {},
         [](SkinFileHeader&, P p) { p.set<std::uint32_t>(p.entryOf(5) + kEntrySize, 4); },
         "cloud pictures needs bytes 0..24"},
    };
}

TEST_F(SkinFileTest, DamagedFilesAreRefusedWithTheirReason) {
    SkinDocument rich;
    makeRichSkin(rich, folder);
    ASSERT_TRUE(rich.saveToFile(folder / "rich.tdskn"));
    const std::vector<std::uint8_t> good = testing::readFile(folder / "rich.tdskn");
    const std::vector<std::uint8_t> goodPayload = payloadOf(rich);

    SkinDocument target;
    target.comboH.compText.marginLeft = 42;  // an edit that a refused open must keep
    target.layOut();
    const std::vector<std::uint8_t> targetPayload = payloadOf(target);

    for (const DamageCase& c : damageCases()) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> file = good;
        if (c.damagePayload) {
            SkinFileHeader header = rich.header;
            std::vector<std::uint8_t> payload = goodPayload;
            c.damagePayload(header, PayloadParts{payload, rich.header});
            header.payloadSize = std::uint32_t(payload.size());
            if (header.entryCount == 0) {
                payload.clear();
                header.payloadSize = 0;
            }
            file = fileBytes(header, payload);
        } else {
            c.damageFile(file);
        }
        std::string why;
        bool opens = openSkinFile(file, &why).has_value();
        std::filesystem::path path = folder / "damaged.tdskn";
        testing::writeFile(path, file);
        EXPECT_EQ(target.loadFromFile(path), opens);
        if (*c.reason == '\0') {
            EXPECT_TRUE(opens) << why;
            target.resetToNewSkin();
            target.comboH.compText.marginLeft = 42;
        } else {
            EXPECT_FALSE(opens);
            EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        }
        target.layOut();
        EXPECT_EQ(payloadOf(target), targetPayload);
        EXPECT_EQ(target.openedFromFile, 0);
    }
}

}  // namespace
}  // namespace tandel
