// tdskn layout: what the engine measured for one window of a skin.
#pragma once

#include <string>
#include <vector>

namespace tandel::tdskn {

int runLayout(const std::vector<std::string>& args);

}  // namespace tandel::tdskn
