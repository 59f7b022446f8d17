#include "IniFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tandel::platform {
namespace {

constexpr std::u16string_view kSection = u"Software\\Tandel";

const std::vector<IniEntry> kHostEntries = {{u"InstallDir", u"/opt/澜石"},
                                            {u"Version", u"2.6.0.1603"}};

TEST(IniFileTest, SetEntriesKeepsEveryOtherLine) {
    struct Case {
        const char* what;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"empty file", "", "[Software\\Tandel]\nInstallDir=/opt/澜石\nVersion=2.6.0.1603\n"},
        {"another section, no final line break", "[Other]\nA=1",
         "[Other]\nA=1\n[Software\\Tandel]\nInstallDir=/opt/澜石\nVersion=2.6.0.1603\n"},
        {"a key below the section is another section", "[Software\\Tandel\\Sub]\nVersion=9\n",
         "[Software\\Tandel\\Sub]\nVersion=9\n"
         "[Software\\Tandel]\nInstallDir=/opt/澜石\nVersion=2.6.0.1603\n"},
        {"values rewritten in place, missing ones after the last entry",
         "; kept\n[software\\TANDEL]\n  version = 1.0 \n# note\nExtra=kept\n\n[Next]\n"
         "InstallDir=other\n",
         "; kept\n[software\\TANDEL]\nVersion=2.6.0.1603\n# note\nExtra=kept\n"
         "InstallDir=/opt/澜石\n\n[Next]\nInstallDir=other\n"},
        {"byte order mark and CR LF", "\xEF\xBB\xBF[Software\\Tandel]\r\nInstallDir=/old\r\n",
         "\xEF\xBB\xBF[Software\\Tandel]\r\nInstallDir=/opt/澜石\r\nVersion=2.6.0.1603\r\n"},
        {"byte order mark only", "\xEF\xBB\xBF",
         "\xEF\xBB\xBF[Software\\Tandel]\nInstallDir=/opt/澜石\nVersion=2.6.0.1603\n"},
        {"the first section and the first of equal names count",
         "[Software\\Tandel]\nVersion=1\nversion=0\n[Software\\Tandel]\nInstallDir=/later\n",
         "[Software\\Tandel]\nVersion=2.6.0.1603\nversion=0\nInstallDir=/opt/澜石\n"
         "[Software\\Tandel]\nInstallDir=/later\n"},
        {"section header at the very end", "[Software\\Tandel]",
         "[Software\\Tandel]\nInstallDir=/opt/澜石\nVersion=2.6.0.1603\n"},
        {"entries before any section and lines that are no entries",
         "InstallDir=/stray\n[Software\\Tandel\nno entry\n=nameless\n",
         "InstallDir=/stray\n[Software\\Tandel\nno entry\n=nameless\n"
         "[Software\\Tandel]\nInstallDir=/opt/澜石\nVersion=2.6.0.1603\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<std::string> result = SetIniEntries(c.text, kSection, kHostEntries);
        ASSERT_TRUE(result);
        EXPECT_EQ(*result, c.expected);
        const IniFile file = IniFile::Parse(*result);
        const IniSection* section = file.Find(kSection);
        ASSERT_NE(section, nullptr);
        for (const IniEntry& entry : kHostEntries) {
            const IniEntry* found = section->Find(entry.name);
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(found->value, entry.value);
        }
    }
}

TEST(IniFileTest, SetEntriesRefusesWhatWouldNotReadBack) {
    const IniEntry refused[] = {
        {u"", u"x"},   {u"a=b", u"x"}, {u"[a", u"x"},   {u";a", u"x"},        {u"#a", u"x"},
        {u" a", u"x"}, {u"a", u"x\n"}, {u"a", u"x\ry"}, {u"a", u" /leading"}, {u"a", u"trailing\t"},
    };
    for (const IniEntry& entry : refused) {
        SCOPED_TRACE(std::string(entry.name.begin(), entry.name.end()));
        EXPECT_FALSE(SetIniEntries("[S]\n", u"S", std::vector<IniEntry>{kHostEntries[0], entry}));
    }
    EXPECT_EQ(SetIniEntries("[S]\n", u"S", std::vector<IniEntry>{{u"Empty", u""}}),
              "[S]\nEmpty=\n");
}

}  // namespace
}  // namespace tandel::platform
