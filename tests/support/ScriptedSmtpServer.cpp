#include "ScriptedSmtpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace tandel::testing {
namespace {

// Waits for input in short steps so that the destructor's stop is seen soon.
bool readable(int socket, const std::atomic<bool>& stop) {
    while (!stop.load()) {
        pollfd fd{socket, POLLIN, 0};
        const int ready = poll(&fd, 1, 20);
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
    return false;
}

}  // namespace

ScriptedSmtpServer::ScriptedSmtpServer() : ScriptedSmtpServer(Script()) {}

ScriptedSmtpServer::ScriptedSmtpServer(Script script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    if (listener_ >= 0 && ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::listen(listener_, 1) == 0 &&
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port_ = ntohs(address.sin_port);
    }
    thread_ = std::thread([this] { serve(); });
}

ScriptedSmtpServer::~ScriptedSmtpServer() {
    stop_.store(true);
    thread_.join();
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

bool ScriptedSmtpServer::reply(int client, Step step) {
    if (script_.hangUpAt && *script_.hangUpAt <= step) {
        return false;
    }
    if (script_.silentAt && *script_.silentAt <= step) {
        return true;
    }
    const std::string& text = script_.replies[step];
    const std::size_t piece = script_.trickle ? 2 : text.size();
    for (std::size_t at = 0; at < text.size(); at += piece) {
        const std::size_t size = std::min(piece, text.size() - at);
        if (::send(client, text.data() + at, size, MSG_NOSIGNAL) != ssize_t(size)) {
            return false;
        }
        if (script_.trickle) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return true;
}

void ScriptedSmtpServer::serve() {
    int client = -1;
    if (port_ != 0 && readable(listener_, stop_)) {
        client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    }
    std::string input;
    std::size_t handled = 0;  // bytes of input already answered
    int step = kHelo;
    bool open = client >= 0 && reply(client, kGreeting);
    while (open && readable(client, stop_)) {
        char buffer[8192];
        const ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0) {
            break;
        }
        input.append(buffer, std::size_t(got));
        {
            std::lock_guard guard(mutex_);
            received_ = input;
        }
        // Before DATA and after the message each line is a command; in between the message
        // runs to the line that holds a single dot.
        for (;;) {
            const bool message = step == kEnd;
            const std::size_t end =
                message ? input.find("\r\n.\r\n", handled - 2) : input.find("\r\n", handled);
            if (end == std::string::npos) {
                break;
            }
            handled = end + (message ? 5 : 2);
            // After QUIT the server hangs up, as servers do.
            if (step >= kSteps || !reply(client, Step(step)) || step == kQuit) {
                open = false;
                break;
            }
            ++step;
        }
    }
    if (client >= 0) {
        ::close(client);
    }
    std::lock_guard guard(mutex_);
    finished_ = true;
    ended_.notify_all();
}

std::string ScriptedSmtpServer::Received() {
    std::unique_lock hold(mutex_);
    ended_.wait_for(hold, std::chrono::seconds(10), [this] { return finished_; });
    return received_;
}

bool ScriptedSmtpServer::ClientGone(int waitMilliseconds) {
    std::unique_lock hold(mutex_);
    return ended_.wait_for(hold, std::chrono::milliseconds(waitMilliseconds),
                           [this] { return finished_; });
}

}  // namespace tandel::testing
