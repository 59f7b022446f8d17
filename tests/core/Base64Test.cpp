#include "Base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tandel {
namespace {

std::string encode(const std::string& text) {
    return base64Encode(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(Base64, EncodesTheRfcVectorsWithTheirPadding) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : cases) {
        EXPECT_EQ(encode(plain), encoded) << plain;
    }
}

TEST(Base64, ZeroBytesInTheLastGroupStillGetTheirCharacters) {
    EXPECT_EQ(encode(std::string("\0", 1)), "AA==");
    EXPECT_EQ(encode(std::string("ab\0", 3)), "YWIA");
    EXPECT_EQ(encode(std::string("abc\0", 4)), "YWJjAA==");
    EXPECT_EQ(encode(std::string("abc\0\0", 5)), "YWJjAAA=");
}

TEST(Base64, UsesTheWholeStandardAlphabet) {
    // The 6-bit values 0 to 63 in a row, packed into 48 bytes.
    std::vector<std::uint8_t> bytes;
    std::uint32_t bits = 0;
    int count = 0;
    for (std::uint32_t value = 0; value < 64; ++value) {
        bits = bits << 6 | value;
        count += 6;
        while (count >= 8) {
            count -= 8;
            bytes.push_back(std::uint8_t(bits >> count));
        }
    }
    EXPECT_EQ(base64Encode(bytes),
              "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
}

}  // namespace
}  // namespace tandel
