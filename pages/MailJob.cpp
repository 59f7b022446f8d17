#include "MailJob.h"

#include <algorithm>
#include <span>

#include "Base64.h"
#include "FileBytes.h"
#include "TcpConnection.h"
#include "TextCodec.h"

namespace tandel {
namespace {

// The maker's server expects the mail in exactly this shape; a reply longer than the receive
// buffer of its other clients is no reply it sends.
constexpr std::size_t kLineLimit = 4095;
constexpr std::size_t kHeaderPartLimit = 149;
constexpr std::size_t kReplyLimit = 1024;
constexpr std::size_t kFileNameLimit = 127;
constexpr std::size_t kChunk = 3000;
constexpr std::string_view kBoundary = "DADO";
constexpr std::string_view kBodyText = "";

std::string attachmentName(const std::filesystem::path& path) {
    return utf16ToGbk(path.filename().u16string());
}

}  // namespace

CMailJob::CMailJob(UploadServer server, std::string senderName, std::string subject)
    : server_(std::move(server)),
      senderName_(std::move(senderName)),
      subject_(std::move(subject)),
      connection_(std::make_unique<platform::TcpConnection>()) {}

CMailJob::~CMailJob() = default;

void CMailJob::SetTimeout(std::chrono::milliseconds timeout) {
    connection_->SetTimeout(timeout);
}

void CMailJob::AddAttachment(const std::filesystem::path& path) {
    if (std::find(attachments_.begin(), attachments_.end(), path) == attachments_.end()) {
        attachments_.push_back(path);
    }
}

void CMailJob::Cancel() {
    keepGoing_.store(false);
    connection_->Cancel();
}

bool CMailJob::sendLine(std::string_view line) {
    return line.size() <= kLineLimit && connection_->Send(line) == line.size();
}

std::optional<std::string> CMailJob::readReply() {
    for (;;) {
        std::size_t start = 0;
        for (std::size_t end; (end = replies_.find('\n', start)) != std::string::npos;
             start = end + 1) {
            std::string_view line(replies_.data() + start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (line.size() < 3) {
                return std::nullopt;
            }
            // "250-" goes on in the next line, "250 " or a bare "250" ends the reply.
            if (line.size() == 3 || line[3] != '-') {
                std::string code(line.substr(0, 3));
                replies_.erase(0, end + 1);
                return code;
            }
        }
        replies_.erase(0, start);
        if (replies_.size() >= kReplyLimit) {
            return std::nullopt;
        }
        char buffer[kReplyLimit];
        const std::size_t got =
            connection_->Receive(std::span<char>(buffer, kReplyLimit - replies_.size()));
        if (got == 0) {
            return std::nullopt;
        }
        replies_.append(buffer, got);
    }
}

bool CMailJob::command(std::string_view line, std::string_view expectedCode) {
    if (!sendLine(line)) {
        return false;
    }
    const std::optional<std::string> code = readReply();
    return code && (expectedCode.empty() || *code == expectedCode);
}

bool CMailJob::SendMail() {
    if (exchange()) {
        return true;
    }
    // The server learns at once that the mail is given up, not when the job goes.
    connection_->Cancel();
    connection_->Close();
    return false;
}

bool CMailJob::exchange() {
    const UploadServer& s = server_;
    if (s.host.empty() || s.mailbox.empty() || s.userLine.empty() || s.passwordLine.empty() ||
        senderName_.empty() || subject_.empty()) {
        return false;
    }
    const std::string to = "To:\"orlan\"<" + s.mailbox + ">\r\n";
    const std::string subject = "Subject:" + subject_ +
                                "\r\nMime-Version: 1.0\r\nContent-Type: multipart/mixed;   "
                                "boundary=\"" +
                                std::string(kBoundary) + "\"\r\n\r\n";
    if (to.size() > kHeaderPartLimit || subject.size() > kHeaderPartLimit) {
        return false;
    }
    if (!connection_->Connect(s.host, s.port)) {
        return false;
    }
    // The greeting's code does not matter, but a server that stays silent is no server.
    if (!readReply() || !command("HELO []\r\n", "250") || !command("AUTH LOGIN\r\n", "334") ||
        !command(s.userLine + "\r\n", "334") || !command(s.passwordLine + "\r\n", "235")) {
        return false;
    }
    // A refused sender, recipient or message still counts as sent: the maker's server
    // reviews what it got.
    if (!command("MAIL FROM:<" + s.mailbox + ">\r\n", "") ||
        !command("RCPT TO:<" + s.mailbox + ">\r\n", "") || !command("DATA\r\n", "")) {
        return false;
    }
    if (!sendLine("From:\"" + senderName_ + "\"<" + s.mailbox + ">\r\n" + to + subject)) {
        return false;
    }
    if (!sendLine("--" + std::string(kBoundary) +
                  "\r\nContent-Type: text/plain;\r\n  charset=\"gb2312\"\r\n\r\n" +
                  std::string(kBodyText) + "\r\n\r\n")) {
        return false;
    }
    for (const std::filesystem::path& path : attachments_) {
        if (!sendAttachment(path)) {
            return false;
        }
    }
    // Without the end mark the server drops the message; QUIT is only good manners.
    if (!sendLine("--" + std::string(kBoundary) + "--\r\n.\r\n")) {
        return false;
    }
    sendLine("QUIT\r\n");
    connection_->Close();
    return true;
}

bool CMailJob::sendAttachment(const std::filesystem::path& path) {
    const std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(path);
    if (!bytes || bytes->empty() || !keepGoing_.load()) {
        return false;
    }
    const std::string name = attachmentName(path);
    if (name.size() > kFileNameLimit) {
        return false;
    }
    if (!sendLine("--" + std::string(kBoundary) +
                  "\r\nContent-Type: application/octet-stream;\r\n  name=\"" + name +
                  "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: "
                  "attachment;\r\n  filename=\"" +
                  name + "\"\r\n\r\n")) {
        return false;
    }
    const std::span<const std::uint8_t> all(*bytes);
    for (std::size_t done = 0; done < all.size();) {
        const std::span<const std::uint8_t> chunk =
            all.subspan(done, std::min(kChunk, all.size() - done));
        done += chunk.size();
        const bool whole = sendLine(base64Encode(chunk) + "\r\n");
        if (!keepGoing_.load()) {
            return false;
        }
        if (progress_) {
            progress_(done, all.size());
        }
        if (!whole) {
            return false;
        }
    }
    return true;
}

}  // namespace tandel
