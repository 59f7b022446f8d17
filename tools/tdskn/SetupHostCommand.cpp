#include "SetupHostCommand.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <span>
#include <system_error>

#include "CommandLine.h"
#include "Environment.h"
#include "FileBytes.h"
#include "IniFile.h"
#include "InputSkin.h"
#include "SkinFileWriter.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

namespace tandel::tdskn {
namespace {

constexpr std::u16string_view kProductKey = u"Software\\Tandel";
constexpr const char* kConfigTool = "TandelConfig";
// The platform layer reads no larger registry file.
constexpr std::size_t kRegistryLimit = std::size_t(1) << 20;

// cmake --install puts TandelConfig beside tdskn; the build tree has it in a sibling folder.
std::optional<fs::path> findConfigTool(std::string& why) {
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (error) {
        why = "cannot tell where tdskn is: " + error.message();
        return std::nullopt;
    }
    const fs::path candidates[] = {folder / kConfigTool,
                                   folder.parent_path() / kConfigTool / kConfigTool};
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    why = std::string("cannot find ") + kConfigTool + " next to tdskn (looked for " +
          candidates[0].string() + " and " + candidates[1].string() + ")";
    return std::nullopt;
}

// The registry file's text with the product key's values set, everything else kept.
std::optional<std::string> updatedRegistry(const fs::path& file, const std::u16string& installDir,
                                           std::string& why) {
    std::string text;
    std::error_code error;
    if (fs::exists(file, error)) {
        std::optional<std::vector<std::uint8_t>> bytes =
            fs::is_regular_file(file, error) ? readFileBytes(file, kRegistryLimit) : std::nullopt;
        if (!bytes) {
            why = "cannot read the registry file " + file.string();
            return std::nullopt;
        }
        text.assign(bytes->begin(), bytes->end());
    }
    const platform::IniEntry entries[] = {{u"InstallDir", installDir},
                                          {u"Version", kVersionFolder}};
    std::optional<std::string> updated = platform::SetIniEntries(text, kProductKey, entries);
    if (!updated) {
        why = "the registry file cannot hold the folder " + utf16ToUtf8(installDir) +
              " (a line break or blanks at its end)";
    }
    return updated;
}

// Replaces the tool by renaming a complete copy over it, so a running copy is never written
// into.
bool copyTool(const fs::path& tool, const fs::path& target) {
    std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(tool);
    std::error_code error;
    const fs::perms permissions = fs::status(tool, error).permissions();
    if (!bytes || error || !replaceFile(target, *bytes)) {
        return false;
    }
    fs::permissions(target, permissions, error);
    return !error;
}

}  // namespace

int runSetupHost(const std::vector<std::string>& args) {
    Arguments a = parseArguments(args, {}, {});
    if (!a.error.empty()) {
        return usageError("setup-host", a.error);
    }
    if (a.positional.size() != 1) {
        return usageError("setup-host", "expected one folder");
    }
    std::error_code error;
    fs::path folder = fs::absolute(a.positional[0], error).lexically_normal();
    if (error) {
        return fail("cannot make " + a.positional[0] + " absolute: " + error.message());
    }
    if (!folder.has_filename() && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    const std::u16string installDir = utf8ToUtf16(folder.native());
    // The editor and the engine read the install folder into a buffer of kMaxPath units.
    if (installDir.size() >= kMaxPath) {
        return fail("the folder " + folder.string() + " is longer than the input method takes (" +
                    std::to_string(kMaxPath - 1) + " characters)");
    }
    std::optional<fs::path> registry = platform::RegistryFile();
    if (!registry) {
        return fail("the registry file is unknown: set TANDEL_REGISTRY, XDG_CONFIG_HOME or HOME");
    }
    std::string why;
    std::optional<fs::path> tool = findConfigTool(why);
    if (!tool) {
        return fail(why);
    }
    std::optional<std::string> text = updatedRegistry(*registry, installDir, why);
    if (!text) {
        return fail(why);
    }

    const fs::path programs = folder / kVersionFolder;
    fs::create_directories(programs, error);
    if (error) {
        return fail("cannot create " + programs.string() + ": " + error.message());
    }
    const fs::path installed = programs / kConfigTool;
    if (!copyTool(*tool, installed)) {
        return fail("cannot copy " + tool->string() + " to " + installed.string());
    }
    std::cout << "installed " << installed.string() << "\n";

    if (registry->has_parent_path()) {
        fs::create_directories(registry->parent_path(), error);
    }
    if (error ||
        !replaceFile(*registry, std::span(reinterpret_cast<const std::uint8_t*>(text->data()),
                                          text->size()))) {
        return fail("cannot write the registry file " + registry->string());
    }
    std::cout << "wrote " << registry->string() << ": [" << utf16ToUtf8(kProductKey)
              << "] InstallDir=" << folder.string() << " Version=" << utf16ToUtf8(kVersionFolder)
              << "\n";
    return 0;
}

}  // namespace tandel::tdskn
