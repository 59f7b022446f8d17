#include "Environment.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <memory>

#include "System.h"

namespace tandel {
namespace {

constexpr std::u16string_view kProductKey = u"Software\\Tandel";
constexpr std::u16string_view kTextServiceKey =
    u"SOFTWARE\\Microsoft\\CTF\\TIP\\{3F2A9C41-7B1E-4D6A-9E85-2C4B7A1D0E93}\\LanguageProfile\\"
    u"0x00000804\\{8D4E2B17-5C9A-4F3E-B261-7A0C9E5D4F18}";
constexpr std::size_t kProfileNameLimit = 9;

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}

bool ReadProductValue(std::u16string_view name, char16_t* buffer, std::uint32_t* count) {
    if (buffer == nullptr || count == nullptr) {
        return false;
    }
    std::unique_ptr<IRegistryKey> key;
    if (OpenMachineKey(kProductKey, &key) != kErrorSuccess) {
        return false;
    }
    return ReadRegistryString(*key, name, buffer, count) == kErrorSuccess;
}

// Stores text with its terminator when it fits into a path buffer.
bool StorePath(char16_t* path, std::u16string_view text) {
    if (text.size() >= kMaxPath) {
        return false;
    }
    std::copy(text.begin(), text.end(), path);
    path[text.size()] = 0;
    return true;
}

}  // namespace

std::uint32_t ReadRegistryString(const IRegistryKey& key, std::u16string_view valueName,
                                 char16_t* buffer, std::uint32_t* count) {
    if (count == nullptr) {
        return kErrorInvalidParameter;
    }
    const std::uint32_t capacity = *count;
    std::uint32_t type = kRegNone;
    constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t size = capacity > kLargest / 2 ? kLargest - 1 : capacity * 2;
    std::uint32_t error =
        key.QueryValue(valueName, &type, reinterpret_cast<std::uint8_t*>(buffer), &size);
    if (error == kErrorMoreData) {
        *count = size / 2 + size % 2;
    }
    if (error != kErrorSuccess) {
        return error;
    }
    const std::uint32_t units = size / 2;
    *count = units;
    if (type != kRegString && type != kRegExpandString) {
        if (buffer != nullptr && capacity > 0) {
            buffer[0] = 0;
        }
        return kErrorInvalidData;
    }
    // The registry hands out what the installer stored, which need not end in a terminator.
    if (buffer == nullptr || (units > 0 && buffer[units - 1] == 0)) {
        return kErrorSuccess;
    }
    *count = units + 1;
    if (units >= capacity) {
        if (capacity > 0) {
            buffer[0] = 0;
        }
        return kErrorMoreData;
    }
    buffer[units] = 0;
    return kErrorSuccess;
}

bool ReadInstallDir(char16_t* buffer, std::uint32_t* count) {
    return ReadProductValue(u"InstallDir", buffer, count);
}

bool ReadInstalledVersion(char16_t* buffer, std::uint32_t* count) {
    return ReadProductValue(u"Version", buffer, count);
}

bool GetUserDataDir(char16_t* path, bool rootOnly) {
    if (path == nullptr) {
        return false;
    }
    std::optional<std::u16string> parent = platform::UserDataParent();
    if (!parent) {
        return false;
    }
    const std::u16string root = *parent + kPathSeparator + u"Tandel";
    if (!StorePath(path, root)) {
        return false;
    }
    if (rootOnly) {
        return true;
    }
    const std::u16string users = root + kPathSeparator + u"Users";
    std::u16string name = platform::ReadProfileString(
        users + kPathSeparator + u"Tandel-users-info.ini", u"current", u"cur");
    if (name.size() > kProfileNameLimit) {
        name.resize(IsHighSurrogate(name[kProfileNameLimit - 1]) ? kProfileNameLimit - 1
                                                                 : kProfileNameLimit);
    }
    return name.empty() || StorePath(path, users + kPathSeparator + name);
}

std::u16string PackageFolderToLocalLow(std::u16string_view folder) {
    std::size_t at = folder.find(u"Local\\Packages");
    if (at == std::u16string_view::npos) {
        return std::u16string(folder);
    }
    return std::u16string(folder.substr(0, at)) + u"LocalLow";
}

int ClassifyOs(std::uint32_t major, std::uint32_t minor, std::uint32_t servicePack) {
    switch (major) {
        case 4: return minor == 0 ? 1 : minor == 10 ? 2 : 3;
        case 5:
            if (minor == 0) {
                return 4;
            }
            if (minor == 1) {
                return servicePack >= 1 && servicePack <= 3 ? int(5 + servicePack) : 5;
            }
            return 9;
        case 6:
            switch (minor) {
                case 0: return servicePack == 1 ? 11 : servicePack == 2 ? 12 : 10;
                case 1: return servicePack == 1 ? 14 : 13;
                case 2: return 15;
                case 3: return 16;
                case 4: return 17;
                default: return 18;
            }
        case 10: return minor == 0 ? 17 : 18;
        default: return major >= 11 ? 18 : 0;
    }
}

bool IsTextServiceReady() {
    return IsTextServiceReadyFor(GetOsClass());
}

bool IsTextServiceReadyFor(int osClass) {
    if (osClass >= 15) {
        return true;
    }
    std::unique_ptr<IRegistryKey> key;
    if (OpenMachineKey(kTextServiceKey, &key) != kErrorSuccess) {
        return false;
    }
    char16_t layout[40] = {};
    std::uint32_t count = std::uint32_t(std::size(layout));
    ReadRegistryString(*key, u"SubstituteLayout", layout, &count);
    return layout[0] != 0;
}

}  // namespace tandel
