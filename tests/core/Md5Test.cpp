#include "Md5.h"

#include <gtest/gtest.h>

namespace tandel {
namespace {

TEST(Md5, MatchesTheRfc1321TestSuite) {
    struct Case {
        const char* input;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Md5::hex(c.input), c.digest) << '"' << c.input << '"';
    }
    std::string digits;
    for (int i = 0; i < 8; ++i) {
        digits += "1234567890";
    }
    EXPECT_EQ(Md5::hex(digits), "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5, FeedingInPiecesGivesTheSameDigest) {
    std::string text(1000, 'x');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = char('a' + i % 26);
    }
    for (std::size_t piece : {1u, 7u, 63u, 64u, 65u, 500u}) {
        Md5 md5;
        for (std::size_t i = 0; i < text.size(); i += piece) {
            md5.update(std::string_view(text).substr(i, piece));
        }
        std::array<std::uint8_t, 16> digest = md5.finish();
        Md5 whole;
        whole.update(text);
        EXPECT_EQ(digest, whole.finish()) << "pieces of " << piece;
    }
}

}  // namespace
}  // namespace tandel
