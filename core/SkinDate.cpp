#include "SkinDate.h"

#include <ctime>

namespace tandel {

std::string makeDateString() {
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);  // only the UI thread asks
    if (local == nullptr) {
        return {};
    }
    return std::to_string(local->tm_year + 1900) + "-" + std::to_string(local->tm_mon + 1) + "-" +
           std::to_string(local->tm_mday);
}

}  // namespace tandel
