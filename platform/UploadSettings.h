// The maker's mail service that takes uploaded skins: the SMTP server, the mailbox that both
// sends and receives the upload, and the account's two AUTH LOGIN lines. They live in the
// registry key "Software\Tandel\Upload" (README.md, "Skin upload").
#pragma once

#include <cstdint>
#include <string>

namespace tandel {

struct UploadServer {
    std::string host;
    std::uint16_t port = 25;
    std::string mailbox;
    // The user name and the password in Base64, as AUTH LOGIN sends them.
    std::string userLine;
    std::string passwordLine;
};

// Missing values stay empty (the port 25); a port that is no number from 1 to 65535 becomes 0,
// which no connection accepts.
UploadServer ReadUploadServer();

}  // namespace tandel
