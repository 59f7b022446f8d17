// What the composition and candidate controls share: their type codes and element ids, the
// colour and font slots they paint with, the DPI-scaled gaps between their parts, and the
// fonts they make in the resource cache on first use. The controls themselves are in
// CompositionControls.h and CandidateControls.h.
#pragma once

#include <optional>

#include "Control.h"
#include "Font.h"
#include "SkinFile.h"
#include "SkinSettings.h"

namespace tandel {

// Control type codes beyond the element types of SkinFile.h.
inline constexpr int kTextType = 6;
inline constexpr int kCloudTextType = 9;
inline constexpr int kFixTextType = 10;
inline constexpr int kCompTipType = 18;
inline constexpr int kCandTipType = 19;

inline constexpr int kCompTipId = 57;
inline constexpr int kCandTipId = 58;
inline constexpr int kFirstCandidateId = 59;  // position 0; ids 59..67 are positions 0..8
inline constexpr int kCandidateSlots = 9;

// The composition string measures and draws no more characters than this.
inline constexpr int kMaxCompositionLength = 172;

enum TextColour {
    kCompColour = 0,
    kCursorColour = 1,
    kCandColour = 2,
    kFocusColour = 3,
    kCommentColour = 4,
};

enum TextFont {
    kCompCnFont = 0,   // Chinese characters and the converted part of the composition
    kCompEnFont = 1,   // the rest of the composition, always bold
    kCompTipFont = 2,  // key letters of the composition tip
    kCandFont = 3,     // candidates and their labels
    kCandAuxFont = 4,  // bracketed parts and second parts of candidates
    kLinkFont = 5,     // the underlined link of the input-mode tip
};

// The skin's 1-, 2-, 3- and 5-pixel gaps at the current DPI.
struct TextGaps {
    int d, g2, g3, g5;
    static TextGaps current();
};

// The logical font of a cache slot: the record's faces and sizes (fonts 0, 1, 3 and 4 need
// the record, fonts 2 and 5 do not), the host's overrides when it supplied settings, the
// height scaled for the DPI. Nothing for an unknown slot or a missing record.
std::optional<LogicalFont> textControlFont(int index, const TextElement* record,
                                           const SkinSettings* host);

// Makes font index in the context's cache unless the cache already has one.
void makeTextFont(ParseContext* context, int index, const TextElement* record);

// Whether the first length characters of text hold c.
bool containsChar(const char16_t* text, int length, char16_t c);

// The length of a zero-terminated string from the scenario, counted up to limit.
int boundedLength(const char16_t* text, int limit);

}  // namespace tandel
