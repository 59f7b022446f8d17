// The five canned typing situations of the preview and the check scenes.
#pragma once

#include <span>
#include <string_view>

#include "SchemeInfo.h"

namespace tandel {

// A fixed scenario: a composition with the caret at its end, a page of candidates (the first
// highlighted, the previous-page button disabled, the next-page button normal) and ordinary
// typing mode.
class CannedScenario : public ISchemeInfo {
public:
    CannedScenario(std::u16string_view composition, std::span<const std::u16string_view> candidates,
                   int count, int unused21);

    const char16_t* GetCompString(int) const override { return composition_.data(); }
    int GetCompLength(int) const override { return int(composition_.size()); }
    int GetCompConverted(CompConvertedInfo*, int) const override { return 1; }
    int GetCaretPos(int) const override { return int(composition_.size()); }
    int GetPrevPageState() const override { return 3; }
    int GetNextPageState() const override { return 0; }
    int IsCandPartVisible() const override { return 1; }
    int IsIndexVisible() const override { return 1; }
    int MapHighlight(int value) const override { return value; }
    int MapCandIndex(int position) const override { return position; }
    int GetHighlight() const override { return 0; }
    int GetCandCount() const override { return count_; }
    // An index past the list gives an empty record.
    const CandidateRecord* GetCand(std::uint16_t index) override;
    int GetCloudState() const override { return 4; }
    int Unused14() const override { return 1; }
    int UseLetterIndex() const override { return 0; }
    int Unused16() const override { return 0; }
    const char16_t* GetCandComment() const override { return nullptr; }
    std::uint8_t GetModeFlags() const override { return 0; }
    int Unused19(int, int, int) const override { return 0; }
    int Unused20(int, int) const override { return 0; }
    int Unused21() const override { return unused21_; }
    int Unused22() const override { return 0; }
    int Unused23() const override { return 0; }
    int Unused24() const override { return 0; }
    int Unused25(int, int) const override { return 0; }
    int Unused26(int) const override { return 0; }
    int Unused27() const override { return 0; }

private:
    std::u16string_view composition_;
    std::span<const std::u16string_view> candidates_;
    int count_;
    int unused21_;
    CandidateRecord record_{};
};

// Every preview except check scenes 2 to 5: "澜石shu'ru'fa" with five candidates.
CannedScenario& INPUT_INFO();
// Check scene 5: long pinyin, a turned page, candidates that match only partly.
CannedScenario& INPUT_INFO0();
// Check scene 3: three candidates.
CannedScenario& INPUT_INFO3();
// Check scene 4: nine candidates.
CannedScenario& INPUT_INFO9();
// Check scene 2: the longest input.
CannedScenario& INPUT_INFO_LONG();

}  // namespace tandel
