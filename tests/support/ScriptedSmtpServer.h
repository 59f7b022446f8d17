// An SMTP server on the loopback for one client, for the upload's tests. It answers each step
// with the usual code unless the script says otherwise, can fall silent or hang up at a step,
// and keeps every byte the client sent.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace tandel::testing {

class ScriptedSmtpServer {
public:
    // The greeting, the seven commands up to DATA, the message's end and QUIT.
    enum Step { kGreeting, kHelo, kAuth, kUser, kPassword, kMailFrom, kRcptTo, kData, kEnd, kQuit };
    static constexpr int kSteps = kQuit + 1;

    struct Script {
        std::array<std::string, kSteps> replies = {"220 loopback ready\r\n", "250 hello\r\n",
                                                   "334 VXNlcm5hbWU6\r\n",   "334 UGFzc3dvcmQ6\r\n",
                                                   "235 welcome\r\n",        "250 sender\r\n",
                                                   "250 recipient\r\n",      "354 go on\r\n",
                                                   "250 queued\r\n",         "221 bye\r\n"};
        std::optional<Step> silentAt;  // from there on it only listens
        std::optional<Step> hangUpAt;
        // Replies go out a few bytes at a time.
        bool trickle = false;
    };

    ScriptedSmtpServer();
    explicit ScriptedSmtpServer(Script script);
    // Stops serving and waits for the server thread.
    ~ScriptedSmtpServer();
    ScriptedSmtpServer(const ScriptedSmtpServer&) = delete;
    ScriptedSmtpServer& operator=(const ScriptedSmtpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // Everything the client sent, once it hung up or the server did (waits up to 10 s).
    std::string Received();
    // Whether the client closed its side within the wait.
    bool ClientGone(int waitMilliseconds);

private:
    void serve();
    bool reply(int client, Step step);

    Script script_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool finished_ = false;
    std::string received_;
    std::thread thread_;
};

}  // namespace tandel::testing
