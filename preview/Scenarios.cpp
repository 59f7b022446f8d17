#include "Scenarios.h"

#include <algorithm>

namespace tandel {
namespace {

// Two-character words read "lan shi", as a pinyin input method offers them for the brand.
constexpr std::u16string_view kHomophones[] = {u"蓝石", u"兰室", u"滥施", u"烂事",
                                               u"栏式", u"兰石", u"岚石"};

constexpr std::u16string_view kOrdinary[] = {
    u"输入法", u"输入", u"书", u"数", u"输", u"熟", u"叔", u"树", u"属",
    u"输入法", u"输入", u"书", u"数", u"输", u"熟", u"叔", u"树", u"属",
};
constexpr std::u16string_view kPartial[] = {u"澜石", u"澜"};
constexpr std::u16string_view kThree[] = {u"是", u"说", u"上"};
constexpr std::u16string_view kNine[] = {u"澜石输入法",  u"澜石",        kHomophones[0],
                                         kHomophones[1], kHomophones[2], kHomophones[3],
                                         kHomophones[4], kHomophones[5], kHomophones[6]};
constexpr std::u16string_view kLong[] = {u"澜石输入法输入内容为满时的显示效果检测情况",
                                         u"澜石输入法", u"澜石", kHomophones[0], kHomophones[1]};

}  // namespace

CannedScenario::CannedScenario(std::u16string_view composition,
                               std::span<const std::u16string_view> candidates, int count,
                               int unused21)
    : composition_(composition), candidates_(candidates), count_(count), unused21_(unused21) {}

const CandidateRecord* CannedScenario::GetCand(std::uint16_t index) {
    record_ = {};
    if (index < candidates_.size()) {
        std::u16string_view text = candidates_[index];
        std::size_t n = std::min(text.size(), std::size(record_.text) - 1);
        std::copy_n(text.begin(), n, record_.text);
        record_.length = std::uint16_t(n);
    }
    record_.index = index;
    record_.flags = 1;
    return &record_;
}

CannedScenario& INPUT_INFO() {
    static CannedScenario scenario(u"澜石shu'ru'fa", kOrdinary, 5, 0);
    return scenario;
}

CannedScenario& INPUT_INFO0() {
    static CannedScenario scenario(u"lan'shi'shu'ru'fa", kPartial, 2, 2);
    return scenario;
}

CannedScenario& INPUT_INFO3() {
    static CannedScenario scenario(u"s", kThree, 3, 4);
    return scenario;
}

CannedScenario& INPUT_INFO9() {
    static CannedScenario scenario(u"lan'shi'shu'ru'fa", kNine, 9, 10);
    return scenario;
}

CannedScenario& INPUT_INFO_LONG() {
    static CannedScenario scenario(
        u"lan'shi'shu'ru'fa'shu'ru'nei'rong'wei'man'shi'de'xian'shi'xiao'guo'jian'ce'qing'k", kLong,
        5, 6);
    return scenario;
}

}  // namespace tandel
