#include "CommandLine.h"

#include <algorithm>
#include <iostream>

namespace tandel::tdskn {
namespace {

const std::map<std::string, std::string> kCommandHelp = {
    {"new",
     "Usage: tdskn new OUT.tdskn [--name N] [--author A] [--email E] [--description D] [--force]\n"
     "\n"
     "Writes a new skin with every default of the editor, the way a save does: the author\n"
     "information is checked as the skin information page checks it, then the date, revision,\n"
     "signature and skin id are stamped. Name and author default to \"澜石输入法\" and "
     "\"Author\";\n"
     "the e-mail may be left out. An existing OUT is replaced only with --force.\n"},
    {"info",
     "Usage: tdskn info FILE [--json]\n"
     "\n"
     "Shows the header fields, whether the signature verifies, the top directory, each section\n"
     "with its header and elements, and each picture (slot, size in bytes, format).\n"},
    {"verify",
     "Usage: tdskn verify FILE\n"
     "\n"
     "Exits with 0 when the editor can open FILE. Otherwise prints one line saying which check\n"
     "failed and where, and exits with 1.\n"},
    {"extract",
     "Usage: tdskn extract FILE DIR\n"
     "\n"
     "Writes every picture of FILE as DIR/<slot>.<png|jpg|bmp|gif>, creating DIR if needed.\n"},
    {"probe",
     "Usage: tdskn probe IMAGE [--json]\n"
     "\n"
     "Shows what a picture file holds: format, width, height, frame count, loop count, and\n"
     "each frame's offset, size, delay in milliseconds, disposal and blend.\n"},
    {"render",
     "Usage: tdskn render [SKIN.tdskn | --new | --installed SKINID] -o OUT.png [--scene 0..6]\n"
     "                    [--background white|green|black|red] [--dpi N]\n"
     "\n"
     "Draws the skin with the input method's engine, as the editor's preview shows it: the\n"
     "status bar and the four input windows (horizontal and vertical, combined and split)\n"
     "with the ordinary typing scene. --scene shows a scene of the editor's check instead:\n"
     "0 the windows, 1 the status bar in every state, 2 long input, 3 three candidates,\n"
     "4 nine candidates, 5 and 6 a turned page. --installed shows what the input method shows\n"
     "for an installed skin id (its built-in skin when there is none). --dpi draws for a\n"
     "screen of that many dots per inch (default 96).\n"},
    {"layout",
     "Usage: tdskn layout [SKIN.tdskn | --new] --kind 0..3 | --status [--scenario NAME]\n"
     "                    [--dpi N] [--json]\n"
     "\n"
     "Loads the skin into the input method's engine as one window kind (0 horizontal,\n"
     "1 vertical, 2 horizontal split, 3 vertical split) or as the status bar, lays it out for a\n"
     "scenario (INPUT_INFO, INPUT_INFO0, INPUT_INFO3, INPUT_INFO9 or INPUT_INFO_LONG; default\n"
     "INPUT_INFO) and shows what it measured: the layout context, the window's rects of parts\n"
     "1 and 2, the caret offset, the outer margins, and every control of the tree with its id,\n"
     "type, rect and state.\n"},
    {"setup-host",
     "Usage: tdskn setup-host DIR\n"
     "\n"
     "Makes the skin editor and the engine find an input method installed in DIR, for trying\n"
     "保存并安装 without the input method: copies the configuration tool TandelConfig (found\n"
     "next to tdskn) into DIR/2.6.0.1603 and sets InstallDir (DIR made absolute) and\n"
     "Version=2.6.0.1603 in the key [Software\\Tandel] of the registry file ($TANDEL_REGISTRY,\n"
     "else $XDG_CONFIG_HOME/Tandel/registry.ini), keeping everything else in it. Skins installed\n"
     "then go to the user data folder; tdskn render --installed SKINID shows them.\n"},
    {"decode",
     "Usage: tdskn decode IMAGE OUT.png [--frames DIR]\n"
     "\n"
     "Writes the decoded picture as an RGBA PNG (straight alpha). With --frames, also writes\n"
     "every composed frame of an animation as DIR/frame_<k>.png, as the engine shows them.\n"},
};

}  // namespace

Arguments parseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
            if (i + 1 == args.size()) {
                parsed.error = a + " needs a value";
                return parsed;
            }
            parsed.options[a] = args[++i];
        } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
            parsed.options[a] = "";
        } else if (a.size() > 1 && a[0] == '-') {
            parsed.error = "unknown option " + a;
            return parsed;
        } else {
            parsed.positional.push_back(a);
        }
    }
    return parsed;
}

bool hasCommand(const std::string& command) {
    return kCommandHelp.contains(command);
}

const std::string& commandHelp(const std::string& command) {
    return kCommandHelp.at(command);
}

int fail(const std::string& message) {
    std::cerr << "tdskn: " << message << "\n";
    return 1;
}

int usageError(const std::string& command, const std::string& message) {
    std::cerr << "tdskn " << command << ": " << message << "\n\n" << commandHelp(command);
    return 2;
}

}  // namespace tandel::tdskn
