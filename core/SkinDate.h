#pragma once

#include <string>

namespace tandel {

// Today's local date as the skin header stores it: "%d-%d-%d" of year, month and day, without
// leading zeros (2014-3-7).
std::string makeDateString();
std::string formatSkinDate(int year, int month, int day);

}  // namespace tandel
