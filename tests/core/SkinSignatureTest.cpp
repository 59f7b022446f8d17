#include "SkinSignature.h"

#include <gtest/gtest.h>

#include "TextCodec.h"

namespace tandel {
namespace {

SkinFileHeader signedHeader(std::u16string_view name, std::u16string_view author,
                            std::u16string_view date) {
    SkinFileHeader header{};
    setFixedText(header.name, name);
    setFixedText(header.author, author);
    setFixedText(header.date, date);
    storeDigest(header.signature, makeSignature(name, author, date));
    return header;
}

// Reference digests computed independently from the GBK bytes of the texts.
TEST(SkinSignature, DigestsOfGbkText) {
    EXPECT_EQ(makeSkinId(u"a", u"bc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(makeSkinId(u"水墨江南", u"李白"), "2f51290645b0593c4e419404ac92dc35");
    EXPECT_EQ(makeSignature(u"水墨江南", u"李白", u"2014-3-7"), "94024fcf9c71123f68b985f402442d6e");
    EXPECT_EQ(makeSignature(u"澜石输入法", u"Author", u"2026-1-1"),
              "bcc2ff93375da5e76d7749eb92188838");
}

TEST(SkinSignature, SameNameAndAuthorGiveTheSameSkinId) {
    EXPECT_EQ(makeSkinId(u"水墨", u"李白"), makeSkinId(u"水墨", u"李白"));
    EXPECT_NE(makeSkinId(u"水墨", u"李白"), makeSkinId(u"水墨", u"杜甫"));
}

TEST(SkinSignature, VerifiesOnlyTheSignedFields) {
    const SkinFileHeader original = signedHeader(u"水墨江南", u"李白", u"2014-3-7");
    EXPECT_TRUE(verifySignature(original));

    struct Case {
        const char* what;
        void (*change)(SkinFileHeader&);
        bool verifies;
    };
    const Case cases[] = {
        {"e-mail changed", [](SkinFileHeader& h) { setFixedText(h.email, u"li@tang.cn"); }, true},
        {"description changed", [](SkinFileHeader& h) { setFixedText(h.description, u"新"); },
         true},
        {"revision changed", [](SkinFileHeader& h) { h.revision = 9; }, true},
        {"name changed", [](SkinFileHeader& h) { h.name[0] = u'山'; }, false},
        {"author changed", [](SkinFileHeader& h) { setFixedText(h.author, u"杜甫"); }, false},
        {"date changed", [](SkinFileHeader& h) { setFixedText(h.date, u"2014-3-8"); }, false},
        {"upper-case signature",
         [](SkinFileHeader& h) {
             for (char& c : h.signature) {
                 c = char(std::toupper(static_cast<unsigned char>(c)));
             }
         },
         false},
        {"short signature", [](SkinFileHeader& h) { h.signature[31] = 0; }, false},
        {"empty signature", [](SkinFileHeader& h) { h.signature[0] = 0; }, false},
    };
    for (const Case& c : cases) {
        SkinFileHeader header = original;
        c.change(header);
        EXPECT_EQ(verifySignature(header), c.verifies) << c.what;
    }
}

TEST(SkinSignature, TextsFillingTheirWholeFieldAreSignedWhole) {
    std::u16string name(32, u'名');  // no terminator inside the field
    SkinFileHeader header{};
    std::copy(name.begin(), name.end(), header.name);
    setFixedText(header.author, u"作者");
    setFixedText(header.date, u"2020-1-1");
    storeDigest(header.signature, makeSignature(name, u"作者", u"2020-1-1"));
    EXPECT_TRUE(verifySignature(header));
}

}  // namespace
}  // namespace tandel
