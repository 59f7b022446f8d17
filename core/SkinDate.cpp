#include "SkinDate.h"

#include <ctime>

namespace tandel {

std::string makeDateString() {
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);  // only the UI thread asks
    if (local == nullptr) {
        return {};
    }
    return formatSkinDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
}

std::string formatSkinDate(int year, int month, int day) {
    return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
}

}  // namespace tandel
