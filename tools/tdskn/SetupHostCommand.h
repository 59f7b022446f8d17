// tdskn setup-host: a stand-in for the input method's installation, for trying "save and
// install" on a machine without the input method.
#pragma once

#include <string>
#include <vector>

namespace tandel::tdskn {

int runSetupHost(const std::vector<std::string>& args);

}  // namespace tandel::tdskn
