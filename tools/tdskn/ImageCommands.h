// tdskn's picture commands: what a picture file holds, and its decoded pixels and frames.
#pragma once

#include <string>
#include <vector>

namespace tandel::tdskn {

int runProbe(const std::vector<std::string>& args);
int runDecode(const std::vector<std::string>& args);

}  // namespace tandel::tdskn
