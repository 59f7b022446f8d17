// The small INI files of the platform layer: the registry stand-in and the user profile file.
// Sections "[name]", entries "name=value", comment lines starting with ";" or "#". Names and
// values are trimmed; names compare without regard to the case of A-Z, as the registry and
// the profile routines compare them, and the first of equal names counts.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tandel::platform {

struct IniEntry {
    std::u16string name;
    std::u16string value;
};

struct IniSection {
    std::u16string name;
    std::vector<IniEntry> entries;

    const IniEntry* Find(std::u16string_view entryName) const;
};

class IniFile {
public:
    // UTF-8 text, with or without a byte order mark, lines ended by LF or CR LF.
    static IniFile Parse(std::string_view text);
    // Nothing when the file cannot be read or is larger than limit bytes.
    static std::optional<IniFile> Load(const std::filesystem::path& path,
                                       std::size_t limit = std::size_t(1) << 20);

    const IniSection* Find(std::u16string_view sectionName) const;

private:
    std::vector<IniSection> sections_;
};

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);

// The text with entries set in the first section called sectionName and every other line kept
// as it is: an entry already there (its first line) is rewritten in place, the others are added
// after the section's last entry, and a missing section is added at the end. Nothing when an
// entry would not read back as given: an empty name, a name holding "=" or starting like a
// comment or section, a line break, or blanks at either end.
std::optional<std::string> SetIniEntries(std::string_view text, std::u16string_view sectionName,
                                         std::span<const IniEntry> entries);

}  // namespace tandel::platform
