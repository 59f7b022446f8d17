#include "SkinSource.h"

#include <cstdlib>

#include "Dpi.h"
#include "SkinFileReader.h"

namespace tandel::tdskn {
namespace {

int gDpi = 96;
int commandLineDpi() {
    return gDpi;
}

}  // namespace

std::string applyDpiOption(const Arguments& a) {
    auto dpi = a.options.find("--dpi");
    if (dpi == a.options.end()) {
        return {};
    }
    gDpi = std::atoi(dpi->second.c_str());
    if (gDpi < 48 || gDpi > 480) {
        return "--dpi takes 48 to 480";
    }
    SetScreenDpiSource(&commandLineDpi);
    CDPI::Instance().Refresh();
    CDPIEditor::Instance().Refresh();
    return {};
}

std::string loadSkinSource(const Arguments& a, SkinDocument& document) {
    if (a.options.contains("--new")) {
        return {};
    }
    const std::string& path = a.positional.at(0);
    std::string why;
    std::optional<OpenedSkinFile> check = openSkinFile(path, &why);
    if (!check || !document.loadFromFile(path)) {
        return path + ": " + (why.empty() ? "cannot be opened" : why);
    }
    return {};
}

}  // namespace tandel::tdskn
