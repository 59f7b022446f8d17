// A picture's identity by content: its size and a 64-bit hash of its bytes. The engine keeps
// decoded pictures by it, and the document works it out once per picture change, so that a
// preview reload needs no pass over the pictures' bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tandel {

// Two different pictures of the same size share a key only by a hash collision.
struct PictureKey {
    std::uint64_t hash = 0;
    std::size_t size = 0;
    bool operator==(const PictureKey&) const = default;
};

PictureKey pictureKey(std::span<const std::uint8_t> bytes);

}  // namespace tandel
