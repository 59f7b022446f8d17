#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace tandel {

// The whole content of a file, or nothing when it cannot be read or is larger than limit.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit = std::size_t(1) << 30);

}  // namespace tandel
