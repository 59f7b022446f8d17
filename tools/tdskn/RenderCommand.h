// tdskn render: the editor's preview of a skin as a PNG.
#pragma once

#include <string>
#include <vector>

namespace tandel::tdskn {

int runRender(const std::vector<std::string>& args);

}  // namespace tandel::tdskn
