#include "Corpus.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tandel::testing {

std::filesystem::path corpusFolder() {
    return TANDEL_CORPUS_DIR;
}

std::vector<CorpusEntry> corpusEntries(const std::string& prefix) {
    std::ifstream in(corpusFolder() / "INDEX.tsv");
    if (!in) {
        throw std::runtime_error("cannot read the corpus index");
    }
    std::vector<CorpusEntry> entries;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream columns(line);
        std::string field;
        while (std::getline(columns, field, '\t')) {
            fields.push_back(field);
        }
        fields.resize(7);
        if (fields[0].rfind(prefix, 0) != 0) {
            continue;
        }
        auto number = [](const std::string& text) -> std::optional<int> {
            if (text.empty()) {
                return std::nullopt;
            }
            return std::stoi(text);
        };
        CorpusEntry e;
        e.path = fields[0];
        e.expect = fields[1];
        e.width = number(fields[2]).value_or(0);
        e.height = number(fields[3]).value_or(0);
        e.frames = number(fields[4]);
        e.loop = number(fields[5]);
        e.note = fields[6];
        entries.push_back(e);
    }
    return entries;
}

}  // namespace tandel::testing
