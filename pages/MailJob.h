// The mail that carries an uploaded skin to the maker, and the SMTP exchange that sends it: a
// login with AUTH LOGIN, then one MIME multipart message from the maker's mailbox to itself
// with a text part and each attachment in Base64 lines of 4000 characters.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UploadSettings.h"

namespace tandel {

namespace platform {
class TcpConnection;
}

class CMailJob {
public:
    // After each line of an attachment: its bytes sent so far and its size.
    using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

    // The sender's display name and the subject are bytes as they go into the header, in the
    // system code page.
    CMailJob(UploadServer server, std::string senderName, std::string subject);
    ~CMailJob();
    CMailJob(const CMailJob&) = delete;
    CMailJob& operator=(const CMailJob&) = delete;

    // The longest wait for the server at each step; 30 seconds unless set.
    void SetTimeout(std::chrono::milliseconds timeout);
    void SetProgress(Progress progress) { progress_ = std::move(progress); }
    // A path already on the list is not added again.
    void AddAttachment(const std::filesystem::path& path);

    // The whole exchange. False when anything on the way fails: settings missing, no
    // connection, a server that does not answer within the timeout, a refused login, a line
    // the connection did not take whole, an attachment that cannot be read or is empty, a text
    // too long for its line, or Cancel.
    bool SendMail();

    // Safe from any thread, also before or after SendMail: the exchange stops at once and
    // SendMail returns false.
    void Cancel();

private:
    bool exchange();
    bool sendLine(std::string_view line);
    // The code of the server's next complete reply (continuation lines skipped), or nothing
    // when none came in time, the connection ended or a line broke the reply limit.
    std::optional<std::string> readReply();
    bool command(std::string_view line, std::string_view expectedCode);
    bool sendAttachment(const std::filesystem::path& path);

    UploadServer server_;
    std::string senderName_;
    std::string subject_;
    std::vector<std::filesystem::path> attachments_;
    Progress progress_;
    std::unique_ptr<platform::TcpConnection> connection_;
    std::string replies_;  // received and not yet taken as a reply
    std::atomic<bool> keepGoing_{true};
};

}  // namespace tandel
