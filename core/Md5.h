// MD5 message digest (RFC 1321), for the skin signature and skin id.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tandel {

class Md5 {
public:
    Md5();
    void update(std::span<const std::uint8_t> bytes);
    void update(std::string_view bytes);
    std::array<std::uint8_t, 16> finish();

    // The digest of bytes as 32 lowercase hexadecimal characters.
    static std::string hex(std::string_view bytes);

private:
    void transform(const std::uint8_t* block);

    std::uint32_t state_[4];
    std::uint64_t length_ = 0;  // bytes hashed so far
    std::uint8_t buffer_[64] = {};
};

}  // namespace tandel
