// The Windows faces skins name and the installed families that stand in for them.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace tandel {

struct FaceAlias {
    std::string_view face;                     // UTF-8
    bool chinese;                              // a Chinese face (listed with the Chinese families)
    std::array<std::string_view, 3> families;  // best first; empty entries unused
};

std::span<const FaceAlias> faceAliases();

// Fontconfig rules read before the system's: each face gets its families in front, so that
// nothing the system configuration adds can outrank them.
std::string faceAliasRules();

// Fontconfig rules read after the system's: the Chinese system face's families at the end of
// every pattern, and grey-scale anti-aliasing whatever the desktop chose, so the preview looks the
// same on every machine.
std::string renderingRules();

}  // namespace tandel
