#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "SkinFile.h"

namespace tandel {

// Writes a skin file: the header, then the payload compressed with zlib at the default level.
// The file is written beside the target under a temporary name and renamed over the target
// only when complete, so an existing file is never left damaged. Returns whether it worked;
// why, when given, receives the reason of a failure.
bool writeSkinFile(const std::filesystem::path& path, const SkinFileHeader& header,
                   std::span<const std::uint8_t> payload, std::string* why = nullptr);

// Writes bytes to a file the same way: complete or not at all.
bool replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> first,
                 std::span<const std::uint8_t> second = {}, std::string* why = nullptr);

}  // namespace tandel
