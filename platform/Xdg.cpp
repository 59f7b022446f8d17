#include "Xdg.h"

#include <cstdlib>
#include <string>

namespace tandel::platform {

std::optional<std::filesystem::path> XdgBaseFolder(const char* variable,
                                                   const std::filesystem::path& belowHome) {
    auto absolute = [](const char* name) -> std::optional<std::filesystem::path> {
        const char* value = std::getenv(name);
        if (value == nullptr || value[0] != '/') {
            return std::nullopt;
        }
        std::string folder = value;
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return folder;
    };
    if (std::optional<std::filesystem::path> folder = absolute(variable)) {
        return folder;
    }
    if (std::optional<std::filesystem::path> home = absolute("HOME")) {
        return *home / belowHome;
    }
    return std::nullopt;
}

}  // namespace tandel::platform
