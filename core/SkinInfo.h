// The skin's author information as the information page applies it before every save: the
// checks with their messages, then the date, revision and signature stamp.
#pragma once

#include <string>

#include "SkinFile.h"

namespace tandel {

struct SkinInfoFields {
    std::u16string name;
    std::u16string author;
    std::u16string email;
    std::u16string description;
};

enum class EmailRule { Required, OptionalWhenEmpty };

// Checks the fields in order and writes each into the header as it passes; the first failure
// returns its message (UTF-8) and leaves the later fields untouched. When all pass, stamps
// today's date, advances the revision and renews the signature, and returns an empty string.
std::string applySkinInfo(SkinFileHeader& header, const SkinInfoFields& fields,
                          EmailRule emailRule = EmailRule::Required);

// Whether the mail address (in GBK) matches the accepted pattern as a whole.
bool isAcceptedEmail(const std::string& gbkAddress);

// Line breaks as the multi-line description field gives them: CR LF.
std::u16string withCrLf(std::u16string_view text);

}  // namespace tandel
