#include "UploadSettings.h"

#include <charconv>
#include <memory>
#include <string_view>

#include "Environment.h"
#include "Registry.h"
#include "TextCodec.h"

namespace tandel {
namespace {

constexpr std::u16string_view kUploadKey = u"Software\\Tandel\\Upload";

std::string ReadText(const IRegistryKey& key, std::u16string_view name) {
    std::uint32_t count = 0;
    if (ReadRegistryString(key, name, nullptr, &count) != kErrorSuccess || count == 0) {
        return {};
    }
    std::u16string text(count, u'\0');
    if (ReadRegistryString(key, name, text.data(), &count) != kErrorSuccess) {
        return {};
    }
    text.resize(fixedText(std::span<const char16_t>(text.data(), count)).size());
    return utf16ToUtf8(text);
}

// A number value, or a text of decimal digits, as a hand-written file may give the port.
std::uint16_t ReadPort(const IRegistryKey& key) {
    std::uint32_t type = kRegNone;
    std::uint8_t bytes[4] = {};
    std::uint32_t size = sizeof(bytes);
    const std::uint32_t error = key.QueryValue(u"Port", &type, bytes, &size);
    if (error == kErrorFileNotFound) {
        return 25;
    }
    std::uint32_t port = 0;
    if (error == kErrorSuccess && type == kRegDword && size == 4) {
        port = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
               std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    } else {
        const std::string text = ReadText(key, u"Port");
        const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), port);
        if (problem != std::errc() || end != text.data() + text.size() || text.empty()) {
            port = 0;
        }
    }
    return port <= 65535 ? std::uint16_t(port) : 0;
}

}  // namespace

UploadServer ReadUploadServer() {
    UploadServer server;
    std::unique_ptr<IRegistryKey> key;
    if (OpenMachineKey(kUploadKey, &key) != kErrorSuccess) {
        return server;
    }
    server.host = ReadText(*key, u"Host");
    server.port = ReadPort(*key);
    server.mailbox = ReadText(*key, u"Mailbox");
    server.userLine = ReadText(*key, u"UserBase64");
    server.passwordLine = ReadText(*key, u"PasswordBase64");
    return server;
}

}  // namespace tandel
