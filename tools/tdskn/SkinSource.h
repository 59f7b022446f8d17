// What the drawing commands share: the skin they are given (a file or a new skin) and the
// screen DPI they draw for.
#pragma once

#include <optional>
#include <string>

#include "CommandLine.h"
#include "SkinDocument.h"

namespace tandel::tdskn {

// Reads --dpi (48 to 480) and makes the engine draw for it. Returns the problem, or empty.
std::string applyDpiOption(const Arguments& a);

// Loads the skin file given as the only positional argument into document, or leaves the
// new skin in it with --new. Returns the problem, or empty.
std::string loadSkinSource(const Arguments& a, SkinDocument& document);

}  // namespace tandel::tdskn
