// tdskn: the skin file tool for authors and scripts. It writes new skins, shows what a skin
// file holds, checks whether the editor can open it and takes its pictures out.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FileBytes.h"
#include "ImageCommands.h"
#include "LayoutCommand.h"
#include "PictureSniff.h"
#include "RenderCommand.h"
#include "SetupHostCommand.h"
#include "SkinDocument.h"
#include "SkinFileReader.h"
#include "SkinFileWriter.h"
#include "SkinInfo.h"
#include "SkinReport.h"
#include "SkinSignature.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace tandel;
using tandel::tdskn::Arguments;
using tandel::tdskn::commandHelp;
using tandel::tdskn::fail;
using tandel::tdskn::hasCommand;
using tandel::tdskn::parseArguments;
using tandel::tdskn::Report;
using tandel::tdskn::usageError;

namespace {

constexpr const char* kUsage =
    "tdskn: the 澜石输入法 skin file tool\n"
    "\n"
    "Usage:\n"
    "  tdskn new OUT.tdskn [--name N] [--author A] [--email E] [--description D] [--force]\n"
    "  tdskn info FILE [--json]\n"
    "  tdskn verify FILE\n"
    "  tdskn extract FILE DIR\n"
    "  tdskn probe IMAGE [--json]\n"
    "  tdskn decode IMAGE OUT.png [--frames DIR]\n"
    "  tdskn render [SKIN.tdskn | --new | --installed SKINID] -o OUT.png [--scene 0..6]\n"
    "               [--background white|green|black|red] [--dpi N]\n"
    "  tdskn layout [SKIN.tdskn | --new] --kind 0..3 | --status [--scenario NAME] [--dpi N]\n"
    "               [--json]\n"
    "  tdskn setup-host DIR\n"
    "  tdskn COMMAND --help\n";

std::optional<std::vector<std::uint8_t>> readSkinBytes(const fs::path& path, std::string& why) {
    std::optional<std::vector<std::uint8_t>> bytes =
        readFileBytes(path, kSkinHeaderSize + 2 * kMaxPayloadSize);
    if (!bytes) {
        why = "cannot read " + path.string() + " (missing, unreadable or far too large)";
    }
    return bytes;
}

int runNew(const std::vector<std::string>& args) {
    Arguments a =
        parseArguments(args, {"--name", "--author", "--email", "--description"}, {"--force"});
    if (!a.error.empty()) {
        return usageError("new", a.error);
    }
    if (a.positional.size() != 1) {
        return usageError("new", "expected one output file");
    }
    fs::path out = a.positional[0];
    std::error_code error;
    if (fs::exists(out, error) && !a.options.contains("--force")) {
        return fail(out.string() + " exists; add --force to replace it");
    }
    auto option = [&](const char* name, const char16_t* fallback) {
        auto it = a.options.find(name);
        return it != a.options.end() ? utf8ToUtf16(it->second) : std::u16string(fallback);
    };
    SkinInfoFields fields{option("--name", u"澜石输入法"), option("--author", u"Author"),
                          option("--email", u""), option("--description", u"")};
    SkinDocument document;
    std::string problem = applySkinInfo(document.header, fields, EmailRule::OptionalWhenEmpty);
    if (!problem.empty()) {
        return fail(problem);
    }
    storeDigest(document.header.skinId, makeSkinId(fields.name, fields.author));
    if (!document.saveToFile(out)) {
        return fail("cannot write " + out.string());
    }
    std::cout << "wrote " << out.string() << "\n";
    return 0;
}

int runInfo(const std::vector<std::string>& args) {
    Arguments a = parseArguments(args, {}, {"--json"});
    if (!a.error.empty()) {
        return usageError("info", a.error);
    }
    if (a.positional.size() != 1) {
        return usageError("info", "expected one skin file");
    }
    std::string why;
    std::optional<std::vector<std::uint8_t>> bytes = readSkinBytes(a.positional[0], why);
    SkinFileContents contents;
    if (!bytes || !parseSkinFileHeader(*bytes, contents.header, &why)) {
        return fail(a.positional[0] + ": " + why);
    }
    Report report;
    report.add("file", a.positional[0]);
    report.add("fileSize", std::int64_t(bytes->size()));
    report.add("header", tdskn::describeHeader(contents.header));
    report.add("signatureVerifies", verifySignature(contents.header));
    std::string headerProblem;
    report.add("editorAccepts", checkSkinHeader(contents.header, &headerProblem));
    bool payloadRead = inflateSkinPayload(*bytes, contents, &why);
    if (payloadRead) {
        Report payload = tdskn::describePayload(contents);
        report.add("payload", std::move(payload));
    } else {
        report.add("payloadProblem", why);
    }
    if (a.options.contains("--json")) {
        report.printJson(std::cout);
        std::cout << "\n";
    } else {
        report.printText(std::cout);
    }
    return payloadRead ? 0 : fail(a.positional[0] + ": " + why);
}

int runVerify(const std::vector<std::string>& args) {
    Arguments a = parseArguments(args, {}, {});
    if (!a.error.empty()) {
        return usageError("verify", a.error);
    }
    if (a.positional.size() != 1) {
        return usageError("verify", "expected one skin file");
    }
    std::string why;
    std::optional<std::vector<std::uint8_t>> bytes = readSkinBytes(a.positional[0], why);
    if (!bytes || !openSkinFile(*bytes, &why)) {
        return fail(a.positional[0] + ": " + why);
    }
    std::cout << a.positional[0] << ": the editor can open this skin\n";
    return 0;
}

int runExtract(const std::vector<std::string>& args) {
    Arguments a = parseArguments(args, {}, {});
    if (!a.error.empty()) {
        return usageError("extract", a.error);
    }
    if (a.positional.size() != 2) {
        return usageError("extract", "expected a skin file and a folder");
    }
    fs::path input = a.positional[0];
    fs::path folder = a.positional[1];
    std::string why;
    std::optional<std::vector<std::uint8_t>> bytes = readSkinBytes(input, why);
    SkinFileContents contents;
    if (!bytes || !parseSkinFileHeader(*bytes, contents.header, &why) ||
        !inflateSkinPayload(*bytes, contents, &why)) {
        return fail(input.string() + ": " + why);
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return fail("cannot create " + folder.string() + ": " + error.message());
    }
    int written = 0;
    for (int slot = kFirstPictureSlot; slot < kSlotCount; ++slot) {
        if (!contents.present[slot]) {
            continue;
        }
        std::span<const std::uint8_t> picture = contents.item(slot);
        fs::path out =
            folder / (std::to_string(slot) + "." + pictureExtension(pictureFormat(picture)));
        if (fs::equivalent(out, input, error)) {
            return fail("refusing to write over the input file " + input.string());
        }
        if (!replaceFile(out, picture)) {
            return fail("cannot write " + out.string());
        }
        ++written;
    }
    std::cout << "wrote " << written << " pictures to " << folder.string() << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    std::string command = args[0];
    args.erase(args.begin());
    if (!hasCommand(command)) {
        std::cerr << "tdskn: unknown command " << command << "\n\n" << kUsage;
        return 2;
    }
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::cout << commandHelp(command);
        return 0;
    }
    if (command == "new") {
        return runNew(args);
    }
    if (command == "info") {
        return runInfo(args);
    }
    if (command == "verify") {
        return runVerify(args);
    }
    if (command == "probe") {
        return tdskn::runProbe(args);
    }
    if (command == "decode") {
        return tdskn::runDecode(args);
    }
    if (command == "render") {
        return tdskn::runRender(args);
    }
    if (command == "layout") {
        return tdskn::runLayout(args);
    }
    if (command == "setup-host") {
        return tdskn::runSetupHost(args);
    }
    return runExtract(args);
}
