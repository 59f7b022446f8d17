#include "Scenarios.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tandel {
namespace {

std::u16string candidate(CannedScenario& s, int index) {
    const CandidateRecord* r = s.GetCand(std::uint16_t(index));
    return std::u16string(r->text, r->length);
}

TEST(Scenarios, OrdinaryPreview) {
    CannedScenario& s = INPUT_INFO();
    EXPECT_EQ(std::u16string(s.GetCompString(1)), u"澜石shu'ru'fa");
    EXPECT_EQ(s.GetCompLength(1), 11);
    EXPECT_EQ(s.GetCaretPos(1), 11);
    CompConvertedInfo info{};
    EXPECT_EQ(s.GetCompConverted(&info, 1), 1);
    EXPECT_EQ(info.bytes[5], 0);
    EXPECT_EQ(s.GetCandCount(), 5);
    const std::u16string expected[] = {u"输入法", u"输入", u"书", u"数", u"输"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(candidate(s, i), expected[i]);
    }
    EXPECT_EQ(s.GetHighlight(), 0);
    EXPECT_EQ(s.MapHighlight(s.GetHighlight()), 0);
    EXPECT_EQ(s.MapCandIndex(7), 7);
    EXPECT_EQ(s.GetPrevPageState(), 3);
    EXPECT_EQ(s.GetNextPageState(), 0);
    EXPECT_EQ(s.IsIndexVisible(), 1);
    EXPECT_EQ(s.UseLetterIndex(), 0);
    EXPECT_EQ(s.GetCloudState(), 4);
    EXPECT_EQ(s.GetModeFlags(), 0);
    EXPECT_EQ(s.GetCandComment(), nullptr);
}

TEST(Scenarios, CheckScenes) {
    struct Case {
        CannedScenario& scenario;
        std::u16string composition;
        int count;
        int unused21;
    };
    const Case cases[] = {
        {INPUT_INFO0(), u"lan'shi'shu'ru'fa", 2, 2},
        {INPUT_INFO3(), u"s", 3, 4},
        {INPUT_INFO9(), u"lan'shi'shu'ru'fa", 9, 10},
        {INPUT_INFO_LONG(), u"", 5, 6},
    };
    for (const Case& c : cases) {
        if (!c.composition.empty()) {
            EXPECT_EQ(std::u16string(c.scenario.GetCompString(1)), c.composition);
        }
        EXPECT_EQ(c.scenario.GetCandCount(), c.count);
        EXPECT_EQ(c.scenario.Unused21(), c.unused21);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_FALSE(candidate(c.scenario, i).empty()) << i;
        }
    }
    EXPECT_EQ(INPUT_INFO_LONG().GetCompLength(1), 81);
    EXPECT_EQ(candidate(INPUT_INFO_LONG(), 0).size(), 21u);
    EXPECT_EQ(candidate(INPUT_INFO9(), 0), u"澜石输入法");
    // Seven distinct homophones of the brand, two characters each.
    std::set<std::u16string> homophones;
    for (int i = 2; i < 9; ++i) {
        std::u16string word = candidate(INPUT_INFO9(), i);
        EXPECT_EQ(word.size(), 2u);
        homophones.insert(word);
    }
    EXPECT_EQ(homophones.size(), 7u);
    EXPECT_EQ(candidate(INPUT_INFO_LONG(), 3), candidate(INPUT_INFO9(), 2));
}

TEST(Scenarios, OneRecordBufferAndBoundedIndexes) {
    CannedScenario& s = INPUT_INFO3();
    const CandidateRecord* first = s.GetCand(0);
    const CandidateRecord* second = s.GetCand(1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(second->text[0], u'说');
    EXPECT_EQ(second->index, 1);
    EXPECT_EQ(second->flags, 1);
    EXPECT_EQ(second->reserved, 0);
    const CandidateRecord* past = s.GetCand(3);
    EXPECT_EQ(past->length, 0);
    EXPECT_EQ(past->text[0], u'\0');
    EXPECT_EQ(INPUT_INFO().GetCand(17)->text[0], u'属');  // the list runs to 18 entries
    EXPECT_EQ(INPUT_INFO().GetCand(18)->length, 0);
}

}  // namespace
}  // namespace tandel
