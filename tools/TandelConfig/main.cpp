// TandelConfig: the input method's configuration tool as far as the skin editor uses it. The
// editor's "保存并安装" starts it with -installSkin and the saved file, and reads nothing back;
// what it prints is for a person who runs it by hand.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "Environment.h"
#include "FileBytes.h"
#include "SkinFileReader.h"
#include "SkinFileWriter.h"
#include "SkinParser.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace tandel;

namespace {

constexpr const char* kHelp =
    "Usage: TandelConfig -installSkin SKIN.tdskn\n"
    "\n"
    "Installs a skin for the current user, as the 澜石输入法 configuration tool does: checks\n"
    "that the input method can load SKIN.tdskn, then copies it as <skin id>.tdskn into the\n"
    "folder Skin of the user data folder ($XDG_DATA_HOME/Tandel, else\n"
    "~/.local/share/Tandel), where the input method looks for installed skins. The skin\n"
    "editor starts it for 保存并安装; `tdskn setup-host DIR` puts it where the editor finds\n"
    "it.\n";

int fail(const std::string& message) {
    std::cerr << "TandelConfig: " << message << "\n";
    return 1;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int installSkin(const fs::path& source) {
    std::optional<std::vector<std::uint8_t>> file =
        readFileBytes(source, kSkinHeaderSize + 2 * kMaxPayloadSize);
    if (!file) {
        return fail("cannot read " + source.string() + " (missing, unreadable or far too large)");
    }
    ParseContext context;
    SkinFileHeader header;
    std::string why;
    if (!loadFileBytes(context, *file, &why) || !parseSkinFileHeader(*file, header, &why)) {
        return fail(source.string() + ": the input method cannot load this skin: " + why);
    }
    // The installed copy is named after the skin id, so only one that makes a plain file name
    // is taken.
    const std::string_view id(header.skinId, sizeof header.skinId);
    if (!std::all_of(id.begin(), id.end(), isHexDigit)) {
        return fail(source.string() +
                    ": the skin id (file offset 16) is not 32 hexadecimal characters");
    }

    // The input method looks in the current profile's folder, which is the root without one.
    char16_t userFolder[kMaxPath] = {};
    if (!GetUserDataDir(userFolder, false)) {
        return fail("the user data folder is unknown: set XDG_DATA_HOME or HOME");
    }
    const fs::path folder = fs::path(std::u16string(userFolder)) / "Skin";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return fail("cannot create " + folder.string() + ": " + error.message());
    }
    const fs::path target = folder / (std::string(id) + ".tdskn");
    if (!replaceFile(target, *file)) {
        return fail("cannot write " + target.string());
    }
    std::cout << "installed the skin " << utf16ToUtf8(fixedText(header.name)) << " as "
              << target.string() << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kHelp;
        return 0;
    }
    if (args.size() != 2 || args[0] != "-installSkin") {
        std::cerr << "TandelConfig: expected -installSkin SKIN.tdskn (see TandelConfig --help)\n";
        return 2;
    }
    return installSkin(fs::path(args[1]));
}
