// A blocking TCP client connection, as far as the skin upload needs one: resolve a host, connect,
// send, receive, close. Every wait is bounded by a timeout, and another thread can cancel the
// connection at any moment so that no caller is ever left waiting on the network. The sockets of
// the system stay behind this class; each system has its own implementation file.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tandel::platform {

class TcpConnection {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{30000};

    TcpConnection();
    // Closes at once, without waiting for the peer.
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // The longest any single wait (name resolution, connecting, sending, receiving) may take.
    void SetTimeout(std::chrono::milliseconds timeout);

    // Resolves host, a name or a numeric IPv4 or IPv6 address, and connects to the first of its
    // addresses that accepts. False when the host is unknown, nothing accepts, the connection
    // is already open or cancelled, or a wait times out. Port 0 is refused.
    bool Connect(const std::string& host, std::uint16_t port);

    // Sends all of data. Returns the number of bytes the connection took: less than data.size()
    // when it broke, timed out or was cancelled on the way.
    std::size_t Send(std::string_view data);

    // Waits for bytes and takes up to buffer.size() of them. 0 when nothing arrived in time,
    // the peer closed, or the connection failed or was cancelled.
    std::size_t Receive(std::span<char> buffer);

    // Ends the connection in good order: says that nothing more will be sent, discards what the
    // peer still sends until it closes (within one timeout), then closes.
    void Close();

    // Safe from any thread: ends the wait in progress and makes every later call fail at once.
    // The connection stays open until Close or destruction.
    void Cancel();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tandel::platform
