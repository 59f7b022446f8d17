// The registry on Linux: an INI file with one section per key, named by the key's path below
// HKEY_LOCAL_MACHINE. "Name=text" is a string (REG_SZ); "Name=dword:0000002a" a number
// (REG_DWORD); "Name=hex:01,02" binary data and "Name=hex(2):41,00,00,00" data of the value
// type in parentheses, as .reg files write them. A value written as dword or hex that is not
// well formed is left out. The file is $TANDEL_REGISTRY, else Tandel/registry.ini in the XDG
// configuration folder; it is read each time a key is opened.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "IniFile.h"
#include "Registry.h"
#include "Xdg.h"

namespace tandel {
namespace {

using platform::EqualIgnoringCase;

struct RegistryValue {
    std::u16string name;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
};

class IniRegistryKey final : public IRegistryKey {
public:
    explicit IniRegistryKey(std::vector<RegistryValue> values) : values_(std::move(values)) {}

    std::uint32_t QueryValue(std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* size) const override {
        if (data != nullptr && size == nullptr) {
            return kErrorInvalidParameter;
        }
        auto value = std::find_if(values_.begin(), values_.end(), [&](const RegistryValue& v) {
            return EqualIgnoringCase(v.name, name);
        });
        if (value == values_.end()) {
            return kErrorFileNotFound;
        }
        if (type != nullptr) {
            *type = value->type;
        }
        if (size == nullptr) {
            return kErrorSuccess;
        }
        const auto needed = std::uint32_t(value->data.size());
        if (data != nullptr && *size < needed) {
            *size = needed;
            return kErrorMoreData;
        }
        if (data != nullptr) {
            std::copy(value->data.begin(), value->data.end(), data);
        }
        *size = needed;
        return kErrorSuccess;
    }

private:
    std::vector<RegistryValue> values_;
};

// 1 to maxDigits hexadecimal digits and nothing else.
std::optional<std::uint32_t> ParseHex(std::u16string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (char16_t c : digits) {
        std::uint32_t digit = c >= u'0' && c <= u'9'   ? std::uint32_t(c - u'0')
                              : c >= u'a' && c <= u'f' ? std::uint32_t(c - u'a' + 10)
                              : c >= u'A' && c <= u'F' ? std::uint32_t(c - u'A' + 10)
                                                       : 16;
        if (digit == 16) {
            return std::nullopt;
        }
        number = number << 4 | digit;
    }
    return number;
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Bytes as .reg files list them: one or two hexadecimal digits each, separated by commas.
std::optional<std::vector<std::uint8_t>> ParseBytes(std::u16string_view list) {
    std::vector<std::uint8_t> bytes;
    if (TrimBlanks(list).empty()) {
        return bytes;
    }
    for (;;) {
        std::size_t comma = list.find(u',');
        std::optional<std::uint32_t> byte = ParseHex(TrimBlanks(list.substr(0, comma)), 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(std::uint8_t(*byte));
        if (comma == std::u16string_view::npos) {
            return bytes;
        }
        list.remove_prefix(comma + 1);
    }
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::optional<RegistryValue> ParseValue(const platform::IniEntry& entry) {
    RegistryValue value{entry.name, kRegString, {}};
    std::u16string_view text = entry.value;
    if (StartsWithIgnoringCase(text, u"dword:")) {
        std::optional<std::uint32_t> number = ParseHex(text.substr(6), 8);
        if (!number) {
            return std::nullopt;
        }
        value.type = kRegDword;
        for (int shift = 0; shift < 32; shift += 8) {
            value.data.push_back(std::uint8_t(*number >> shift));
        }
        return value;
    }
    if (StartsWithIgnoringCase(text, u"hex:") || StartsWithIgnoringCase(text, u"hex(")) {
        std::size_t colon = text.find(u':');
        if (colon == std::u16string_view::npos) {
            return std::nullopt;
        }
        std::u16string_view kind = text.substr(3, colon - 3);  // empty or "(<type>)"
        std::optional<std::uint32_t> type = kRegBinary;
        if (!kind.empty()) {
            type =
                kind.back() == u')' ? ParseHex(kind.substr(1, kind.size() - 2), 8) : std::nullopt;
        }
        std::optional<std::vector<std::uint8_t>> bytes = ParseBytes(text.substr(colon + 1));
        if (!type || !bytes) {
            return std::nullopt;
        }
        value.type = *type;
        value.data = std::move(*bytes);
        return value;
    }
    for (char16_t unit : text) {
        value.data.push_back(std::uint8_t(unit));
        value.data.push_back(std::uint8_t(unit >> 8));
    }
    value.data.insert(value.data.end(), 2, 0);
    return value;
}

}  // namespace

namespace platform {

std::optional<std::filesystem::path> RegistryFile() {
    const char* chosen = std::getenv("TANDEL_REGISTRY");
    if (chosen != nullptr && chosen[0] != 0) {
        return std::filesystem::path(chosen);
    }
    std::optional<std::filesystem::path> config = XdgBaseFolder("XDG_CONFIG_HOME", ".config");
    if (!config) {
        return std::nullopt;
    }
    return *config / "Tandel" / "registry.ini";
}

}  // namespace platform

std::uint32_t OpenMachineKey(std::u16string_view path, std::unique_ptr<IRegistryKey>* key) {
    if (key == nullptr) {
        return kErrorInvalidParameter;
    }
    std::optional<std::filesystem::path> file = platform::RegistryFile();
    std::optional<platform::IniFile> registry =
        file ? platform::IniFile::Load(*file) : std::nullopt;
    const platform::IniSection* section = registry ? registry->Find(path) : nullptr;
    if (section == nullptr) {
        return kErrorFileNotFound;
    }
    std::vector<RegistryValue> values;
    for (const platform::IniEntry& entry : section->entries) {
        if (std::optional<RegistryValue> value = ParseValue(entry)) {
            values.push_back(std::move(*value));
        }
    }
    *key = std::make_unique<IniRegistryKey>(std::move(values));
    return kErrorSuccess;
}

}  // namespace tandel
