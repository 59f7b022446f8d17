// The environment services on Linux. The user data root lies in the XDG data folder, where a
// Windows system has the user's LocalLow folder; the system counts as the newest release.
#include <system_error>

#include "Environment.h"
#include "IniFile.h"
#include "System.h"
#include "TextCodec.h"
#include "Xdg.h"

namespace tandel {
namespace platform {

std::optional<std::u16string> UserDataParent() {
    std::optional<std::filesystem::path> folder =
        XdgBaseFolder("XDG_DATA_HOME", std::filesystem::path(".local") / "share");
    if (!folder) {
        return std::nullopt;
    }
    return utf8ToUtf16(folder->native());
}

std::u16string ReadProfileString(std::u16string_view path, std::u16string_view section,
                                 std::u16string_view key) {
    std::optional<IniFile> file = IniFile::Load(std::filesystem::path(utf16ToUtf8(path)));
    const IniSection* found = file ? file->Find(section) : nullptr;
    const IniEntry* entry = found ? found->Find(key) : nullptr;
    return entry ? entry->value : std::u16string();
}

}  // namespace platform

int GetOsClass() {
    return 18;
}

bool FileExists(const char16_t* path) {
    if (path == nullptr || path[0] == 0) {
        return false;
    }
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(utf16ToUtf8(path)), error);
}

}  // namespace tandel
