// What the render engine asks about the typing it shows: the composition, the caret, the
// candidates of the current page, the page-turn buttons and the input mode. In the input
// method the typing engine answers; in the editor, the canned scenarios do.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tandel {

struct CandidateRecord {
    char16_t text[128];    // zero-terminated
    std::uint16_t length;  // characters of text the controls measure and draw
    std::uint16_t gap;
    std::int32_t index;
    std::int32_t flags;
    std::int32_t reserved;
};
static_assert(sizeof(CandidateRecord) == 272);
static_assert(offsetof(CandidateRecord, length) == 256);
static_assert(offsetof(CandidateRecord, index) == 260);
static_assert(offsetof(CandidateRecord, flags) == 264);
static_assert(offsetof(CandidateRecord, reserved) == 268);

// Flag bits of CandidateRecord::flags the controls test.
enum CandidateFlags : std::uint32_t {
    kCandidateNoComment = 0x40,
    kCandidateTwoPart = 0x80,
    kCandidateNoBrackets = 0x1000,
    kCandidateTwoPartAlt = 0x8000,
    kCandidateCloud = 0x80000,
    kCandidateCloudLinkA = 0x100000,
    kCandidateCloudLinkB = 0x400000,
    kCandidateCloudLinkUnless = 0x400,
};

// Filled by GetCompConverted; the engine reads byte 5: how many leading composition characters
// are already converted.
struct CompConvertedInfo {
    std::uint8_t bytes[16];
};

// Input-mode bits of GetModeFlags.
enum ModeFlags : std::uint8_t {
    kModeVTip = 0x1,
    kModeCompTip = 0x2,
    kModeUTip = 0x4,
};

// The scenario interface in its slot order; slots the engine does not use keep their places.
class ISchemeInfo {
public:
    virtual ~ISchemeInfo() = default;
    virtual const char16_t* GetCompString(int) const = 0;
    virtual int GetCompLength(int) const = 0;
    virtual int GetCompConverted(CompConvertedInfo* info, int) const = 0;
    virtual int GetCaretPos(int) const = 0;
    virtual int GetPrevPageState() const = 0;
    virtual int GetNextPageState() const = 0;
    virtual int IsCandPartVisible() const = 0;
    virtual int IsIndexVisible() const = 0;
    virtual int MapHighlight(int value) const = 0;
    virtual int MapCandIndex(int position) const = 0;
    virtual int GetHighlight() const = 0;
    virtual int GetCandCount() const = 0;
    virtual const CandidateRecord* GetCand(std::uint16_t index) = 0;
    virtual int GetCloudState() const = 0;
    virtual int Unused14() const = 0;
    virtual int UseLetterIndex() const = 0;
    virtual int Unused16() const = 0;
    virtual const char16_t* GetCandComment() const = 0;
    virtual std::uint8_t GetModeFlags() const = 0;
    virtual int Unused19(int, int, int) const = 0;
    virtual int Unused20(int, int) const = 0;
    virtual int Unused21() const = 0;
    virtual int Unused22() const = 0;
    virtual int Unused23() const = 0;
    virtual int Unused24() const = 0;
    virtual int Unused25(int, int) const = 0;
    virtual int Unused26(int) const = 0;
    virtual int Unused27() const = 0;
};

}  // namespace tandel
