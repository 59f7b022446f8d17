#include "TcpConnection.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>

#include "ScriptedSmtpServer.h"

namespace tandel::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tandel::testing::ScriptedSmtpServer;

std::string receive(TcpConnection& connection) {
    std::array<char, 64> buffer{};
    return std::string(buffer.data(), connection.Receive(buffer));
}

TEST(TcpConnection, ConnectsByNameOrNumberAndTalks) {
    for (const char* host : {"127.0.0.1", "localhost"}) {
        ScriptedSmtpServer server;
        TcpConnection connection;
        ASSERT_TRUE(connection.Connect(host, server.Port())) << host;
        EXPECT_EQ(receive(connection), "220 loopback ready\r\n");
        EXPECT_EQ(connection.Send("HELO []\r\n"), 9u);
        EXPECT_EQ(receive(connection), "250 hello\r\n");
        EXPECT_FALSE(connection.Connect(host, server.Port()));  // already open
        connection.Close();
        EXPECT_EQ(server.Received(), "HELO []\r\n");
    }
}

TEST(TcpConnection, RefusesWhatCannotBeReached) {
    ScriptedSmtpServer server;
    TcpConnection connection;
    connection.SetTimeout(2s);
    EXPECT_FALSE(connection.Connect("", server.Port()));
    EXPECT_FALSE(connection.Connect("127.0.0.1", 0));
    EXPECT_FALSE(connection.Connect("no such host.invalid", server.Port()));
    std::uint16_t closedPort = 0;
    {
        ScriptedSmtpServer gone;
        closedPort = gone.Port();
    }
    EXPECT_FALSE(connection.Connect("127.0.0.1", closedPort));
    std::array<char, 8> buffer{};
    EXPECT_EQ(connection.Receive(buffer), 0u);
    EXPECT_EQ(connection.Send("x"), 0u);
}

TEST(TcpConnection, AWaitEndsAfterTheTimeoutOrAtOnceOnCancel) {
    ScriptedSmtpServer::Script script;
    script.silentAt = ScriptedSmtpServer::kGreeting;
    ScriptedSmtpServer server(script);
    TcpConnection connection;
    connection.SetTimeout(200ms);
    ASSERT_TRUE(connection.Connect("127.0.0.1", server.Port()));
    auto start = Clock::now();
    EXPECT_EQ(receive(connection), "");
    EXPECT_GE(Clock::now() - start, 150ms);
    EXPECT_LT(Clock::now() - start, 2s);

    connection.SetTimeout(30s);
    start = Clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(100ms);
        connection.Cancel();
    });
    EXPECT_EQ(receive(connection), "");
    canceller.join();
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_EQ(connection.Send("HELO []\r\n"), 0u);
    connection.Close();
    EXPECT_TRUE(server.ClientGone(2000));
}

}  // namespace
}  // namespace tandel::platform
