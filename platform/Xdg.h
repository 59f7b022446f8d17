// The base folders of the XDG Base Directory rules that Linux programs keep their files in.
#pragma once

#include <filesystem>
#include <optional>

namespace tandel::platform {

// $variable when it names an absolute folder, else $HOME/belowHome; nothing when neither is
// known. Relative and empty values are ignored, as the rules ask.
std::optional<std::filesystem::path> XdgBaseFolder(const char* variable,
                                                   const std::filesystem::path& belowHome);

}  // namespace tandel::platform
