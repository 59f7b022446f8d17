// The public image test suites under tests/corpus and their index (INDEX.tsv): one line per
// picture with what a decoder must do with it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tandel::testing {

struct CorpusEntry {
    std::string path;    // relative to the corpus folder
    std::string expect;  // "decode", "refuse" or "either"
    int width = 0;
    int height = 0;
    std::optional<int> frames;
    std::optional<int> loop;
    std::string note;
};

std::filesystem::path corpusFolder();
// The entries whose path starts with prefix ("" for all).
std::vector<CorpusEntry> corpusEntries(const std::string& prefix = "");

}  // namespace tandel::testing
