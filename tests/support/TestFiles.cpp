#include "TestFiles.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace tandel::testing {

TemporaryFolder::TemporaryFolder() {
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = std::filesystem::temp_directory_path() /
                ("tandel-test-" + std::to_string(seed()) + std::to_string(seed()));
        if (std::filesystem::create_directory(path_)) {
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tandel::testing
