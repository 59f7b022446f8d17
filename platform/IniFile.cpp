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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where a line's text ends and its line break begins.
std::size_t TextEnd(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r')) {
        --end;
    }
    return end;
}

bool ReadsBack(const IniEntry& entry) {
    auto plain = [](std::u16string_view text) {
        return text.find_first_of(u"\r\n") == std::u16string_view::npos &&
               (text.empty() || (text.front() != u' ' && text.front() != u'\t' &&
                                 text.back() != u' ' && text.back() != u'\t'));
    };
    return !entry.name.empty() && entry.name.find(u'=') == std::u16string::npos &&
           entry.name.find_first_of(u"[;#") != 0 && plain(entry.name) && plain(entry.value);
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

std::optional<std::string> SetIniEntries(std::string_view text, std::u16string_view sectionName,
                                         std::span<const IniEntry> entries) {
    if (!std::all_of(entries.begin(), entries.end(), ReadsBack)) {
        return std::nullopt;
    }
    const std::string_view lineBreak = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    auto entryLine = [&](const IniEntry& entry) {
        return utf16ToUtf8(entry.name) + "=" + utf16ToUtf8(entry.value);
    };
    std::vector<bool> written(entries.size());
    enum class Place { Before, Inside, After } place = Place::Before;
    std::size_t insertAt = 0;  // in out: behind the section's header or last entry
    std::string out(text.starts_with(kByteOrderMark) ? kByteOrderMark : "");
    const std::size_t textStart = out.size();
    text.remove_prefix(textStart);
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end == std::string_view::npos ? end : end + 1);
        text.remove_prefix(raw.size());
        std::string_view line = Trim(raw.substr(0, TextEnd(raw)));
        if (line.starts_with('[')) {
            std::size_t close = line.find(']');
            if (close != std::string_view::npos && place != Place::Before) {
                place = Place::After;
            } else if (close != std::string_view::npos &&
                       EqualIgnoringCase(utf8ToUtf16(Trim(line.substr(1, close - 1))),
                                         sectionName)) {
                place = Place::Inside;
                insertAt = out.size() + raw.size();
            }
            out += raw;
            continue;
        }
        std::size_t equals = line.find('=');
        if (place != Place::Inside || line.starts_with(';') || line.starts_with('#') ||
            equals == std::string_view::npos || Trim(line.substr(0, equals)).empty()) {
            out += raw;
            continue;
        }
        const std::u16string name = utf8ToUtf16(Trim(line.substr(0, equals)));
        std::size_t k = 0;
        while (k < entries.size() && (written[k] || !EqualIgnoringCase(entries[k].name, name))) {
            ++k;
        }
        if (k == entries.size()) {
            out += raw;
        } else {
            written[k] = true;
            out += entryLine(entries[k]);
            out += raw.substr(TextEnd(raw));
        }
        insertAt = out.size();
    }
    std::string added;
    if (place == Place::Before) {
        insertAt = out.size();
        added = "[" + utf16ToUtf8(sectionName) + "]" + std::string(lineBreak);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!written[i]) {
            added += entryLine(entries[i]) + std::string(lineBreak);
        }
    }
    if (!added.empty() && insertAt > textStart && out[insertAt - 1] != '\n') {
        added.insert(0, lineBreak);
    }
    out.insert(insertAt, added);
    return out;
}

}  // namespace tandel::platform
