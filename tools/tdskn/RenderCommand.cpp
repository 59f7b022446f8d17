#include "RenderCommand.h"

#include <cstring>
#include <iostream>
#include <map>

#include "Codecs.h"
#include "CommandLine.h"
#include "Dpi.h"
#include "PreviewRenderer.h"
#include "SkinFileWriter.h"
#include "SkinSource.h"
#include "StatusScenes.h"

namespace tandel::tdskn {
namespace {

// The status items a new skin shows, for the built-in status bar of an installed look.
constexpr std::int32_t kDefaultStatusItems = 0x1 | 0x2 | 0x4 | 0x400;

// The composition surface's top-left part as an opaque PNG.
bool writePreview(const std::string& path, const Canvas& composition, int width, int height) {
    width = std::min(width, composition.width());
    height = std::min(height, composition.height());
    Bitmap picture = composition.pixels().cropped(0, 0, width, height);
    picture.setHasAlpha(false);
    std::optional<std::vector<std::uint8_t>> png = encodePng(picture);
    return png && replaceFile(path, *png);
}

}  // namespace

int runRender(const std::vector<std::string>& args) {
    Arguments a =
        parseArguments(args, {"-o", "--installed", "--scene", "--background", "--dpi"}, {"--new"});
    if (!a.error.empty()) {
        return usageError("render", a.error);
    }
    const bool fromNew = a.options.contains("--new");
    const bool installed = a.options.contains("--installed");
    const int sources = int(a.positional.size()) + int(fromNew) + int(installed);
    if (sources != 1 || a.positional.size() > 1) {
        return usageError("render", "give one skin: a file, --new or --installed SKINID");
    }
    if (!a.options.contains("-o")) {
        return usageError("render", "-o OUT.png is missing");
    }
    PreviewState state;
    if (auto scene = a.options.find("--scene"); scene != a.options.end()) {
        if (scene->second.size() != 1 || scene->second[0] < '0' || scene->second[0] > '6') {
            return usageError("render", "--scene takes 0 to 6");
        }
        state.tab = kTabCheck;
        state.scene = scene->second[0] - '0';
    }
    if (auto background = a.options.find("--background"); background != a.options.end()) {
        static const std::map<std::string, int> kBackgrounds = {
            {"white", 0}, {"green", 1}, {"black", 2}, {"red", 3}};
        auto found = kBackgrounds.find(background->second);
        if (found == kBackgrounds.end()) {
            return usageError("render", "--background takes white, green, black or red");
        }
        state.background = found->second;
    }
    if (std::string problem = applyDpiOption(a); !problem.empty()) {
        return usageError("render", problem);
    }
    if (installed && state.tab == kTabCheck && state.scene == 1) {
        return fail("the status bar scene draws the skin document: give a skin file or --new");
    }

    SkinDocument document;
    PreviewRenderer renderer(1024, 2048);
    if (installed) {
        SkinSettings settings{};
        const std::string& id = a.options["--installed"];
        std::memcpy(settings.skinId, id.data(), std::min(id.size(), sizeof settings.skinId));
        settings.themeColour = kDefaultThemeColour;
        settings.statusItemMask = kDefaultStatusItems;
        renderer.LoadInstalled(settings);
    } else {
        if (std::string problem = loadSkinSource(a, document); !problem.empty()) {
            return fail(problem);
        }
        renderer.Load(document);
        renderer.RebuildSkins(document, false, state);
    }

    StatusPictureCache pictures;
    pictures.reload(document);
    const double scale = CDPIEditor::Instance().enabled ? CDPIEditor::Instance().scale : 1.0;
    auto statusScenes = [&](Canvas& layer) {
        return DrawStatusScenes(document, pictures, layer, scale);
    };
    const bool statusScene = state.tab == kTabCheck && state.scene == 1;
    Size content;
    Size extent;
    for (int pass = 0; pass < 2; ++pass) {
        Canvas& surface = renderer.Composition();
        content = renderer.Render(state, surface.width(), surface.height(), statusScenes);
        // The status scene is blended from the layer's origin to (80, 20), its rows from x = 200.
        extent = statusScene ? Size{80 + 200 + int(content.cx * scale) + 80, 20 + content.cy}
                             : Size{80 + content.cx + 80, content.cy};
        if (!renderer.GrowFor(extent)) {
            break;
        }
    }
    if (!writePreview(a.options["-o"], renderer.Composition(), extent.cx, extent.cy)) {
        return fail("cannot write " + a.options["-o"]);
    }
    std::cout << "wrote " << a.options["-o"] << " (" << extent.cx << " x " << extent.cy << ")\n";
    return 0;
}

}  // namespace tandel::tdskn
