#include "MailJob.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ScriptedSmtpServer.h"
#include "TestFiles.h"
#include "TextCodec.h"

namespace tandel {
namespace {

using namespace std::chrono_literals;
using testing::ScriptedSmtpServer;
using Clock = std::chrono::steady_clock;

const std::string kSender = utf16ToGbk(u"水墨 : 张三");
const std::string kSubject = "zhang@example.com";

const std::string kLogin =
    "HELO []\r\n"
    "AUTH LOGIN\r\n"
    "dXBsb2Fk\r\n"
    "c2VjcmV0\r\n"
    "MAIL FROM:<skins@maker.test>\r\n"
    "RCPT TO:<skins@maker.test>\r\n"
    "DATA\r\n";

std::string headers(const std::string& fileName) {
    return "From:\"" + kSender +
           "\"<skins@maker.test>\r\n"
           "To:\"orlan\"<skins@maker.test>\r\n"
           "Subject:zhang@example.com\r\n"
           "Mime-Version: 1.0\r\n"
           "Content-Type: multipart/mixed;   boundary=\"DADO\"\r\n"
           "\r\n"
           "--DADO\r\n"
           "Content-Type: text/plain;\r\n"
           "  charset=\"gb2312\"\r\n"
           "\r\n"
           "\r\n"
           "\r\n"
           "--DADO\r\n"
           "Content-Type: application/octet-stream;\r\n"
           "  name=\"" +
           fileName +
           "\"\r\n"
           "Content-Transfer-Encoding: base64\r\n"
           "Content-Disposition: attachment;\r\n"
           "  filename=\"" +
           fileName + "\"\r\n\r\n";
}

const std::string kEnd = "--DADO--\r\n.\r\nQUIT\r\n";

class MailJobTest : public ::testing::Test {
protected:
    UploadServer server(std::uint16_t port) const {
        return {"127.0.0.1", port, "skins@maker.test", "dXBsb2Fk", "c2VjcmV0"};
    }
    std::filesystem::path file(std::vector<std::uint8_t> bytes,
                               const std::u16string& name = u"skin.tdskn") {
        const std::filesystem::path path = folder.path() / std::filesystem::path(name);
        testing::writeFile(path, bytes);
        return path;
    }
    // Sends the file to the server with a short wait for replies.
    bool send(ScriptedSmtpServer& smtp, const std::filesystem::path& path,
              std::chrono::milliseconds timeout = 300ms) {
        CMailJob job(server(smtp.Port()), kSender, kSubject);
        job.SetTimeout(timeout);
        job.SetProgress([this](std::uint64_t done, std::uint64_t total) {
            progress.emplace_back(done, total);
        });
        job.AddAttachment(path);
        return job.SendMail();
    }

    testing::TemporaryFolder folder;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
};

TEST_F(MailJobTest, SendsTheMailByteForByte) {
    ScriptedSmtpServer smtp;
    ASSERT_TRUE(send(smtp, file({'a', 'b', 'c', 'd'}, u"水墨.tdskn")));
    EXPECT_EQ(smtp.Received(), kLogin + headers(utf16ToGbk(u"水墨.tdskn")) + "YWJjZA==\r\n" + kEnd);
    EXPECT_EQ(progress, (decltype(progress){{4, 4}}));
}

TEST_F(MailJobTest, CutsTheAttachmentIntoLinesOf3000Bytes) {
    struct Case {
        std::size_t size;
        std::vector<std::size_t> lineLengths;
        std::string lastLineEnd;
    };
    const Case cases[] = {
        {1, {4}, "==\r\n"},
        {2, {4}, "=\r\n"},
        {3, {4}, ""},
        {4, {8}, "==\r\n"},
        {2999, {4000}, "=\r\n"},
        {3000, {4000}, ""},
        {3001, {4000, 4}, "==\r\n"},
        {6001, {4000, 4000, 4}, "==\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        progress.clear();
        std::vector<std::uint8_t> bytes(c.size);
        for (std::size_t i = 0; i < c.size; ++i) {
            bytes[i] = std::uint8_t(i * 7 + 1);
        }
        ScriptedSmtpServer smtp;
        ASSERT_TRUE(send(smtp, file(bytes)));
        const std::string received = smtp.Received();
        const std::string head = kLogin + headers("skin.tdskn");
        ASSERT_EQ(received.substr(0, head.size()), head);
        ASSERT_GE(received.size(), head.size() + kEnd.size());
        ASSERT_EQ(received.substr(received.size() - kEnd.size()), kEnd);
        std::string body =
            received.substr(head.size(), received.size() - head.size() - kEnd.size());
        std::vector<std::size_t> lengths;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> expectedProgress;
        std::uint64_t done = 0;
        for (std::size_t at = 0; at < body.size();) {
            const std::size_t end = body.find("\r\n", at);
            ASSERT_NE(end, std::string::npos);
            lengths.push_back(end - at);
            done = std::min<std::uint64_t>(done + 3000, c.size);
            expectedProgress.emplace_back(done, c.size);
            at = end + 2;
        }
        EXPECT_EQ(lengths, c.lineLengths);
        EXPECT_TRUE(body.ends_with(c.lastLineEnd));
        EXPECT_EQ(progress, expectedProgress);
    }
}

TEST_F(MailJobTest, ALastZeroByteKeepsBothOfItsCharacters) {
    ScriptedSmtpServer smtp;
    ASSERT_TRUE(send(smtp, file({'a', 'b', 'c', 0})));
    EXPECT_TRUE(smtp.Received().ends_with("\r\n\r\nYWJjAA==\r\n" + kEnd));
}

TEST_F(MailJobTest, ReadsRepliesThatComeInPiecesOrOverSeveralLines) {
    ScriptedSmtpServer::Script script;
    script.trickle = true;
    script.replies[ScriptedSmtpServer::kGreeting] = "220-first\r\n220-second\r\n220 last\r\n";
    script.replies[ScriptedSmtpServer::kHelo] = "250-hello\r\n250 AUTH LOGIN\r\n";
    ScriptedSmtpServer smtp(script);
    EXPECT_TRUE(send(smtp, file({1, 2, 3}), 2s));
}

TEST_F(MailJobTest, OnlyTheLoginRepliesAreChecked) {
    using S = ScriptedSmtpServer;
    struct Case {
        S::Step step;
        std::string reply;
        bool sent;
    };
    const Case cases[] = {
        {S::kGreeting, "554 go away\r\n", true},
        {S::kHelo, "220 again\r\n", false},
        {S::kHelo, "25\r\n", false},
        {S::kAuth, "250 fine\r\n", false},
        {S::kUser, "235 early\r\n", false},
        {S::kPassword, "535 wrong password\r\n", false},
        {S::kPassword, "235", false},  // never ends its line
        {S::kMailFrom, "550 no such sender\r\n", true},
        {S::kRcptTo, "550 no such recipient\r\n", true},
        {S::kData, "554 no data\r\n", true},
        {S::kEnd, "552 too big\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        S::Script script;
        script.replies[c.step] = c.reply;
        S smtp(script);
        EXPECT_EQ(send(smtp, file({1, 2, 3})), c.sent);
    }
}

TEST_F(MailJobTest, ASilentOrVanishingServerFailsTheUploadWithinTheTimeout) {
    for (int step = ScriptedSmtpServer::kGreeting; step <= ScriptedSmtpServer::kData; ++step) {
        SCOPED_TRACE(step);
        for (bool hangUp : {false, true}) {
            ScriptedSmtpServer::Script script;
            (hangUp ? script.hangUpAt : script.silentAt) = ScriptedSmtpServer::Step(step);
            ScriptedSmtpServer smtp(script);
            const auto start = Clock::now();
            EXPECT_FALSE(send(smtp, file({1, 2, 3}), 200ms));
            EXPECT_LT(Clock::now() - start, 3s);
        }
    }
}

TEST_F(MailJobTest, FailsWithoutSettingsAFileOrAServer) {
    ScriptedSmtpServer smtp;
    const std::filesystem::path skin = file({1, 2, 3});
    for (UploadServer settings : {UploadServer{"", smtp.Port(), "skins@maker.test", "u", "p"},
                                  UploadServer{"127.0.0.1", smtp.Port(), "", "u", "p"},
                                  UploadServer{"127.0.0.1", smtp.Port(), "m@x.y", "", "p"},
                                  UploadServer{"127.0.0.1", smtp.Port(), "m@x.y", "u", ""},
                                  UploadServer{"127.0.0.1", 0, "m@x.y", "u", "p"}}) {
        CMailJob job(settings, kSender, kSubject);
        job.AddAttachment(skin);
        EXPECT_FALSE(job.SendMail()) << settings.host << ":" << settings.port;
    }
    for (const auto& [sender, subject] :
         {std::pair<std::string, std::string>{"", kSubject}, {kSender, ""}}) {
        CMailJob job(server(smtp.Port()), sender, subject);
        job.AddAttachment(skin);
        EXPECT_FALSE(job.SendMail());
    }
    // Nobody listens on the port of a server that has gone.
    std::uint16_t closedPort = 0;
    {
        ScriptedSmtpServer gone;
        closedPort = gone.Port();
    }
    CMailJob job(server(closedPort), kSender, kSubject);
    job.AddAttachment(skin);
    EXPECT_FALSE(job.SendMail());
}

TEST_F(MailJobTest, AnEmptyOrMissingAttachmentFailsTheUploadBeforeItsHeader) {
    for (const std::filesystem::path& path : {file({}), folder.path() / "missing.tdskn"}) {
        ScriptedSmtpServer smtp;
        EXPECT_FALSE(send(smtp, path));
        EXPECT_EQ(smtp.Received().find("application/octet-stream"), std::string::npos);
    }
}

TEST_F(MailJobTest, TheSameAttachmentGoesOnce) {
    ScriptedSmtpServer smtp;
    CMailJob job(server(smtp.Port()), kSender, kSubject);
    const std::filesystem::path skin = file({'a', 'b', 'c', 'd'});
    job.AddAttachment(skin);
    job.AddAttachment(skin);
    ASSERT_TRUE(job.SendMail());
    EXPECT_EQ(smtp.Received(), kLogin + headers("skin.tdskn") + "YWJjZA==\r\n" + kEnd);
}

TEST_F(MailJobTest, CancelStopsTheAttachmentAfterTheCurrentLine) {
    ScriptedSmtpServer smtp;
    CMailJob job(server(smtp.Port()), kSender, kSubject);
    int lines = 0;
    job.AddAttachment(file(std::vector<std::uint8_t>(9000, 0x5A)));
    job.SetProgress([&](std::uint64_t, std::uint64_t) {
        if (++lines == 1) {
            job.Cancel();
        }
    });
    EXPECT_FALSE(job.SendMail());
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(smtp.Received().find("--DADO--"), std::string::npos);
}

TEST_F(MailJobTest, CancelFromAnotherThreadEndsAWaitAtOnce) {
    ScriptedSmtpServer::Script script;
    script.silentAt = ScriptedSmtpServer::kAuth;
    ScriptedSmtpServer smtp(script);
    CMailJob job(server(smtp.Port()), kSender, kSubject);
    job.AddAttachment(file({1, 2, 3}));
    const auto start = Clock::now();
    std::thread canceller([&] {
        std::this_thread::sleep_for(100ms);
        job.Cancel();
    });
    EXPECT_FALSE(job.SendMail());
    canceller.join();
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_TRUE(smtp.Received().ends_with("AUTH LOGIN\r\n"));
}

}  // namespace
}  // namespace tandel
