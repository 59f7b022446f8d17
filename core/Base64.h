// Base64 with the standard alphabet of RFC 4648 and "=" padding, as mail attachments carry it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tandel {

std::string base64Encode(std::span<const std::uint8_t> bytes);

}  // namespace tandel
