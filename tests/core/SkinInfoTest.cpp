#include "SkinInfo.h"

#include <gtest/gtest.h>

#include "SkinDate.h"
#include "SkinSignature.h"
#include "TextCodec.h"

namespace tandel {
namespace {

SkinInfoFields validFields() {
    return {u"水墨", u"李白", u"libai@tang.com", u"山水"};
}

TEST(SkinInfo, AppliesAndStampsTheHeader) {
    SkinFileHeader header{};
    header.revision = 1;
    ASSERT_EQ(applySkinInfo(header, validFields()), "");
    EXPECT_EQ(fixedText(header.name), u"水墨");
    EXPECT_EQ(fixedText(header.email), u"libai@tang.com");
    EXPECT_EQ(fixedText(header.description), u"山水");
    EXPECT_EQ(utf16ToUtf8(fixedText(header.date)), makeDateString());
    EXPECT_EQ(header.revision, 2);
    EXPECT_TRUE(verifySignature(header));
}

TEST(SkinInfo, RevisionRunsFrom1To256) {
    struct Case {
        std::uint16_t before, after;
    };
    const Case cases[] = {{0, 1}, {1, 2}, {255, 256}, {256, 1}, {261, 6}};
    for (const Case& c : cases) {
        SkinFileHeader header{};
        header.revision = c.before;
        ASSERT_EQ(applySkinInfo(header, validFields()), "");
        EXPECT_EQ(header.revision, c.after) << c.before;
    }
}

TEST(SkinInfo, RefusesFieldsInOrderWithTheirMessages) {
    struct Case {
        const char* what;
        SkinInfoFields fields;
        const char* message;
    };
    const std::u16string longText(32, u'长');
    const Case cases[] = {
        {"empty name and author", {u"", u"", u"a@b.com", u""}, "皮肤名字不能为空，请重新填写。"},
        {"long name",
         {longText, u"李", u"a@b.com", u""},
         "皮肤名字长度不能超过31个字符，请重新填写。"},
        {"empty author", {u"名", u"", u"a@b.com", u""}, "作者名字不能为空，请重新填写。"},
        {"long author",
         {u"名", longText, u"a@b.com", u""},
         "作者名字长度不能超过31个字符，请重新填写。"},
        {"empty e-mail", {u"名", u"李", u"", u""}, "邮箱不能为空，请重新填写。"},
        {"32-character e-mail",
         {u"名", u"李", u"abcdefghijklmnopqrstuvwx@abc.com", u""},
         "邮箱不能长度不能超过31个字符，请重新填写。"},
        {"bad e-mail", {u"名", u"李", u"a b@c.com", u""}, "邮箱内容格式不正确，请重新填写。"},
        {"long description",
         {u"名", u"李", u"a@b.com", std::u16string(128, u'说')},
         "说明最大长度不超过127个文字，请重新填写。"},
        {"line breaks count twice",
         {u"名", u"李", u"a@b.com", std::u16string(64, u'\n')},
         "说明最大长度不超过127个文字，请重新填写。"},
    };
    for (const Case& c : cases) {
        SkinFileHeader header{};
        EXPECT_EQ(applySkinInfo(header, c.fields), c.message) << c.what;
        EXPECT_EQ(header.revision, 0) << c.what;  // nothing stamped
    }
}

TEST(SkinInfo, StopsAtTheFirstFailureKeepingEarlierFields) {
    SkinFileHeader header{};
    setFixedText(header.author, u"旧");
    ASSERT_NE(applySkinInfo(header, {u"新名", u"", u"a@b.com", u""}), "");
    EXPECT_EQ(fixedText(header.name), u"新名");
    EXPECT_EQ(fixedText(header.author), u"旧");
}

TEST(SkinInfo, EmailPatternMatchesTheWholeText) {
    struct Case {
        const char* address;
        bool accepted;
    };
    const Case cases[] = {
        {"abcdefghijklmnopqrstuvw@abc.com", true},  // 31 characters
        {"a.b-c_d@host.com", true},
        {"user@mail.com.cn", true},
        {"user@mail.co", true},
        {"user@mail.comx", false},
        {"user@Mail.com", false},
        {"user @mail.com", false},
        {"user@mail.com ", false},
        {"usermail.com", false},
        {"user@mail.c", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isAcceptedEmail(c.address), c.accepted) << c.address;
    }
    SkinFileHeader header{};
    EXPECT_EQ(applySkinInfo(header, {u"名", u"李", u"abcdefghijklmnopqrstuvw@abc.com", u""}), "");
}

TEST(SkinInfo, DescriptionOf127CharactersIsAccepted) {
    SkinFileHeader header{};
    EXPECT_EQ(applySkinInfo(header, {u"名", u"李", u"a@b.com", std::u16string(127, u'说')}), "");
    EXPECT_EQ(fixedText(header.description).size(), 127u);
    EXPECT_EQ(withCrLf(u"a\nb\r\nc"), u"a\r\nb\r\nc");
}

TEST(SkinInfo, EmailMayBeLeftOutWhenOptional) {
    SkinFileHeader header{};
    EXPECT_EQ(applySkinInfo(header, {u"名", u"李", u"", u""}, EmailRule::OptionalWhenEmpty), "");
    EXPECT_EQ(applySkinInfo(header, {u"名", u"李", u"bad", u""}, EmailRule::OptionalWhenEmpty),
              "邮箱内容格式不正确，请重新填写。");
}

}  // namespace
}  // namespace tandel
