#include "TextCodec.h"

#include <gtest/gtest.h>

namespace tandel {
namespace {

std::string bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (unsigned v : values) {
        out.push_back(char(v));
    }
    return out;
}

TEST(TextCodec, Utf16ToGbkMatchesCodePage936) {
    struct Case {
        std::u16string text;
        std::string gbk;
    };
    const Case cases[] = {
        {u"", ""},
        {u"Author", "Author"},
        {u"中文·", bytes({0xD6, 0xD0, 0xCE, 0xC4, 0xA1, 0xA4})},
        {u"澜石输入法", bytes({0xC0, 0xBD, 0xCA, 0xAF, 0xCA, 0xE4, 0xC8, 0xEB, 0xB7, 0xA8})},
        {u"€", bytes({0x80})},  // code page 936 has the euro sign
        // Characters GBK lacks become one "?" each, a surrogate pair included.
        {u"a\u0E01b", "a?b"},
        {u"x\U0001F600y", "x?y"},
        {u"\xD800z", "?z"},  // unpaired surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf16ToGbk(c.text), c.gbk) << utf16ToUtf8(c.text);
    }
}

TEST(TextCodec, GbkToUtf16) {
    EXPECT_EQ(gbkToUtf16(bytes({0xD6, 0xD0, 'A', 0xCE, 0xC4})), u"中A文");
    EXPECT_EQ(gbkToUtf16(bytes({0xD6})), u"\uFFFD");  // lead byte at the end
    EXPECT_EQ(gbkToUtf16("12"), u"12");
}

TEST(TextCodec, Utf8RoundTripAndRepair) {
    EXPECT_EQ(utf8ToUtf16("皮肤 skin \xF0\x9F\x98\x80"), u"皮肤 skin \U0001F600");
    EXPECT_EQ(utf16ToUtf8(u"皮肤 skin \U0001F600"), "皮肤 skin \xF0\x9F\x98\x80");
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case broken[] = {
        {"\xC3", u"\uFFFD"},                      // truncated sequence
        {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
    };
    for (const Case& c : broken) {
        EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16);
    }
}

TEST(TextCodec, FixedTextStopsAtTheTerminatorOrTheEnd) {
    char16_t field[4] = {u'a', u'b', 0, u'z'};
    EXPECT_EQ(fixedText(field), u"ab");
    char16_t full[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(fixedText(full), u"abc");
}

TEST(TextCodec, SetFixedTextTruncatesAndZeroFills) {
    char16_t field[4];
    setFixedText(field, u"abcdef");
    EXPECT_EQ(std::u16string(field, 4), std::u16string(u"abc\0", 4));
    setFixedText(field, u"x");
    EXPECT_EQ(std::u16string(field, 4), std::u16string(u"x\0\0\0", 4));
    // Never half of a surrogate pair.
    setFixedText(field, u"ab\U0001F600");
    EXPECT_EQ(fixedText(field), u"ab");
}

}  // namespace
}  // namespace tandel
