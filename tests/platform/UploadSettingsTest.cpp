#include "UploadSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "TestFiles.h"

namespace tandel {
namespace {

class UploadSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("TANDEL_REGISTRY", (folder / "registry.ini").c_str(), 1); }
    void TearDown() override { unsetenv("TANDEL_REGISTRY"); }
    UploadServer read(const std::string& section) {
        std::ofstream(folder / "registry.ini") << "[Software\\Tandel]\nVersion=2.6.0.1603\n"
                                               << section;
        return ReadUploadServer();
    }

    testing::TemporaryFolder folder;
};

TEST_F(UploadSettingsTest, ReadsTheServerFromTheUploadKey) {
    const UploadServer server = read(
        "[software\\tandel\\upload]\nHost=smtp.maker.test\nPort=dword:00000249\n"
        "Mailbox=skins@maker.test\nUserBase64=dXBsb2Fk\nPasswordBase64=c2VjcmV0\n");
    EXPECT_EQ(server.host, "smtp.maker.test");
    EXPECT_EQ(server.port, 585);
    EXPECT_EQ(server.mailbox, "skins@maker.test");
    EXPECT_EQ(server.userLine, "dXBsb2Fk");
    EXPECT_EQ(server.passwordLine, "c2VjcmV0");
}

TEST_F(UploadSettingsTest, MissingValuesStayEmptyAndThePortIs25) {
    for (const char* section : {"", "[Software\\Tandel\\Upload]\nHost=\n"}) {
        const UploadServer server = read(section);
        EXPECT_EQ(server.host, "");
        EXPECT_EQ(server.port, 25);
        EXPECT_EQ(server.mailbox, "");
        EXPECT_EQ(server.userLine, "");
        EXPECT_EQ(server.passwordLine, "");
    }
}

TEST_F(UploadSettingsTest, APortIsANumberFrom1To65535) {
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"2525", 2525}, {"dword:0000ffff", 65535},
        {"65536", 0},   {"dword:00010000", 0},
        {"25x", 0},     {"-25", 0},
        {"", 0},        {"hex:19,00", 0},
    };
    for (const auto& [value, port] : cases) {
        EXPECT_EQ(read(std::string("[Software\\Tandel\\Upload]\nPort=") + value + "\n").port, port)
            << value;
    }
}

}  // namespace
}  // namespace tandel
