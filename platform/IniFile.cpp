#include "IniFile.h"

#include <algorithm>
#include <fstream>

#include "TextCodec.h"

namespace tandel::platform {
namespace {

char16_t FoldCase(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r";
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

const IniEntry* IniSection::Find(std::u16string_view entryName) const {
    auto it = std::find_if(entries.begin(), entries.end(), [&](const IniEntry& entry) {
        return EqualIgnoringCase(entry.name, entryName);
    });
    return it == entries.end() ? nullptr : &*it;
}

IniFile IniFile::Parse(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    IniFile file;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                file.sections_.push_back({utf8ToUtf16(Trim(line.substr(1, close - 1))), {}});
            }
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || file.sections_.empty()) {
            continue;
        }
        std::string_view name = Trim(line.substr(0, equals));
        if (!name.empty()) {
            file.sections_.back().entries.push_back(
                {utf8ToUtf16(name), utf8ToUtf16(Trim(line.substr(equals + 1)))});
        }
    }
    return file;
}

std::optional<IniFile> IniFile::Load(const std::filesystem::path& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text;
    char chunk[4096];
    while (text.size() <= limit && in.read(chunk, sizeof chunk).gcount() > 0) {
        text.append(chunk, std::size_t(in.gcount()));
    }
    if (in.bad() || text.size() > limit) {
        return std::nullopt;
    }
    return Parse(text);
}

const IniSection* IniFile::Find(std::u16string_view sectionName) const {
    auto it = std::find_if(sections_.begin(), sections_.end(), [&](const IniSection& section) {
        return EqualIgnoringCase(section.name, sectionName);
    });
    return it == sections_.end() ? nullptr : &*it;
}

}  // namespace tandel::platform
