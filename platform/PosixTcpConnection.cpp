// TcpConnection on POSIX sockets. The socket is non-blocking and every wait is a poll on it and
// on a wake-up pipe: Cancel writes one byte into the pipe and never reads it, so the wait in
// progress and every later one end at once, and the socket itself is only ever touched by the
// thread that uses the connection. Name resolution has no such wait of its own, so a name (not
// a numeric address) is looked up on a helper thread that owns its results and is left to
// finish by itself when the lookup is given up.
#include "TcpConnection.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace tandel::platform {
namespace {

using Clock = std::chrono::steady_clock;

struct Address {
    sockaddr_storage bytes{};
    socklen_t size = 0;
    int family = 0;
};

std::vector<Address> CopyAddresses(const addrinfo* list) {
    std::vector<Address> addresses;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_addrlen > sizeof(sockaddr_storage)) {
            continue;
        }
        Address address;
        std::memcpy(&address.bytes, entry->ai_addr, entry->ai_addrlen);
        address.size = entry->ai_addrlen;
        address.family = entry->ai_family;
        addresses.push_back(address);
    }
    return addresses;
}

addrinfo LookupHints(int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV | flags;
    return hints;
}

// A name lookup on its helper thread. Shared by the thread and the connection, so whichever
// lets go last frees it.
struct Lookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::vector<Address> addresses;
};

}  // namespace

struct TcpConnection::State {
    int socket = -1;
    int wake[2] = {-1, -1};
    std::atomic<bool> cancelled{false};
    std::chrono::milliseconds timeout = kDefaultTimeout;
    std::mutex lookupMutex;  // guards lookup against Cancel
    std::shared_ptr<Lookup> lookup;

    bool Usable() const { return wake[0] >= 0 && !cancelled.load(); }

    // Until the socket is ready for events (or reports an error, which the next call on it
    // picks up), the deadline passes or the connection is cancelled.
    bool WaitFor(short events, Clock::time_point deadline) const {
        for (;;) {
            if (cancelled.load()) {
                return false;
            }
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return false;
            }
            pollfd fds[2] = {{socket, events, 0}, {wake[0], POLLIN, 0}};
            const int ready = poll(fds, 2, left > INT_MAX ? INT_MAX : int(left));
            if (ready < 0 && errno != EINTR) {
                return false;
            }
            if (fds[1].revents != 0) {
                return false;
            }
            if (ready > 0 && fds[0].revents != 0) {
                return true;
            }
        }
    }

    Clock::time_point Deadline() const { return Clock::now() + timeout; }

    std::optional<std::vector<Address>> Resolve(const std::string& host, std::uint16_t port) {
        const std::string service = std::to_string(port);
        addrinfo hints = LookupHints(AI_NUMERICHOST);
        addrinfo* found = nullptr;
        const int numeric = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
        if (numeric == 0) {
            std::vector<Address> addresses = CopyAddresses(found);
            freeaddrinfo(found);
            return addresses;
        }
        if (numeric != EAI_NONAME) {
            return std::nullopt;
        }
        return ResolveName(host, service);
    }

    std::optional<std::vector<Address>> ResolveName(const std::string& host,
                                                    const std::string& service) {
        auto pending = std::make_shared<Lookup>();
        {
            std::lock_guard guard(lookupMutex);
            lookup = pending;
        }
        try {
            std::thread([pending, host, service] {
                addrinfo hints = LookupHints(0);
                addrinfo* found = nullptr;
                std::vector<Address> addresses;
                if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) == 0) {
                    addresses = CopyAddresses(found);
                    freeaddrinfo(found);
                }
                std::lock_guard guard(pending->mutex);
                pending->addresses = std::move(addresses);
                pending->done = true;
                pending->finished.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            pending->done = true;
        }
        std::optional<std::vector<Address>> result;
        {
            std::unique_lock hold(pending->mutex);
            pending->finished.wait_until(hold, Deadline(),
                                         [&] { return pending->done || cancelled.load(); });
            if (pending->done && !cancelled.load()) {
                result = std::move(pending->addresses);
            }
        }
        std::lock_guard guard(lookupMutex);
        lookup.reset();
        return result;
    }

    bool ConnectTo(const Address& address) {
        socket = ::socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
        if (socket < 0) {
            return false;
        }
        if (::connect(socket, reinterpret_cast<const sockaddr*>(&address.bytes), address.size) ==
            0) {
            return true;
        }
        if (errno == EINPROGRESS && WaitFor(POLLOUT, Deadline())) {
            int error = 0;
            socklen_t size = sizeof(error);
            if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0) {
                return true;
            }
        }
        CloseSocket();
        return false;
    }

    void CloseSocket() {
        if (socket >= 0) {
            ::close(socket);
            socket = -1;
        }
    }
};

TcpConnection::TcpConnection() : state_(std::make_unique<State>()) {
    if (pipe2(state_->wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        state_->wake[0] = state_->wake[1] = -1;
    }
}

TcpConnection::~TcpConnection() {
    state_->CloseSocket();
    for (int end : state_->wake) {
        if (end >= 0) {
            ::close(end);
        }
    }
}

void TcpConnection::SetTimeout(std::chrono::milliseconds timeout) {
    state_->timeout = timeout;
}

bool TcpConnection::Connect(const std::string& host, std::uint16_t port) {
    if (!state_->Usable() || state_->socket >= 0 || host.empty() || port == 0) {
        return false;
    }
    std::optional<std::vector<Address>> addresses = state_->Resolve(host, port);
    if (!addresses) {
        return false;
    }
    for (const Address& address : *addresses) {
        if (!state_->Usable()) {
            return false;
        }
        if (state_->ConnectTo(address)) {
            return true;
        }
    }
    return false;
}

std::size_t TcpConnection::Send(std::string_view data) {
    std::size_t sent = 0;
    while (sent < data.size() && state_->Usable() && state_->socket >= 0) {
        const ssize_t taken =
            ::send(state_->socket, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (taken > 0) {
            sent += std::size_t(taken);
        } else if (taken < 0 && errno == EINTR) {
            continue;
        } else if (taken < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
                   state_->WaitFor(POLLOUT, state_->Deadline())) {
            continue;
        } else {
            break;
        }
    }
    return sent;
}

std::size_t TcpConnection::Receive(std::span<char> buffer) {
    if (buffer.empty() || state_->socket < 0) {
        return 0;
    }
    const Clock::time_point deadline = state_->Deadline();
    while (state_->Usable()) {
        const ssize_t got = ::recv(state_->socket, buffer.data(), buffer.size(), 0);
        if (got >= 0) {
            return std::size_t(got);
        }
        if (errno == EINTR) {
            continue;
        }
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || !state_->WaitFor(POLLIN, deadline)) {
            break;
        }
    }
    return 0;
}

void TcpConnection::Close() {
    if (state_->socket < 0) {
        return;
    }
    // Closing with unread bytes would reset the connection, and a reset can make the peer drop
    // what it has received but not yet read: the end of the mail.
    ::shutdown(state_->socket, SHUT_WR);
    const Clock::time_point deadline = state_->Deadline();
    char scratch[1024];
    while (state_->Usable()) {
        const ssize_t got = ::recv(state_->socket, scratch, sizeof(scratch), 0);
        const bool wait = got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        if (got == 0 || (got < 0 && errno != EINTR && !wait) ||
            (wait && !state_->WaitFor(POLLIN, deadline))) {
            break;
        }
    }
    state_->CloseSocket();
}

void TcpConnection::Cancel() {
    state_->cancelled.store(true);
    if (state_->wake[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = ::write(state_->wake[1], &byte, 1);
    }
    std::shared_ptr<Lookup> pending;
    {
        std::lock_guard guard(state_->lookupMutex);
        pending = state_->lookup;
    }
    if (pending) {
        // Taking the lock orders the flag before the waiter's next look at it.
        { std::lock_guard guard(pending->mutex); }
        pending->finished.notify_all();
    }
}

}  // namespace tandel::platform
