#include "SkinFileWriter.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <system_error>

namespace tandel {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool writeAll(std::FILE* f, std::span<const std::uint8_t> bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// Opens a new file for writing; fails when the file exists.
std::FILE* createNew(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// Creates a new file beside path under a name no other file has.
std::filesystem::path createTemporaryBeside(const std::filesystem::path& path, File& file) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::filesystem::path candidate = path;
        candidate += ".saving-" + std::to_string(random() % 1000000000u);
        file.reset(createNew(candidate));
        if (file) {
            return candidate;
        }
    }
    return {};
}

// The system's words for the last failed call.
std::string systemReason() {
    return std::error_code(errno, std::generic_category()).message();
}

void setReason(std::string* why, std::string reason) {
    if (why != nullptr) {
        *why = std::move(reason);
    }
}

}  // namespace

bool replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> first,
                 std::span<const std::uint8_t> second, std::string* why) {
    File file;
    std::filesystem::path temporary = createTemporaryBeside(path, file);
    if (temporary.empty()) {
        setReason(why,
                  "cannot create a file in " + path.parent_path().string() + ": " + systemReason());
        return false;
    }
    bool written =
        writeAll(file.get(), first) && writeAll(file.get(), second) && std::fflush(file.get()) == 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        setReason(why, "writing failed: " + systemReason());
        written = false;
    }
    std::error_code error;
    if (written) {
        // Keep the permissions of the file being replaced.
        std::filesystem::file_status old = std::filesystem::status(path, error);
        if (!error && std::filesystem::exists(old)) {
            std::filesystem::permissions(temporary, old.permissions(), error);
        }
        std::filesystem::rename(temporary, path, error);
        written = !error;
        if (error) {
            setReason(why, "cannot replace the file: " + error.message());
        }
    }
    if (!written) {
        std::filesystem::remove(temporary, error);
    }
    return written;
}

bool writeSkinFile(const std::filesystem::path& path, const SkinFileHeader& header,
                   std::span<const std::uint8_t> payload, std::string* why) {
    uLongf compressedSize = compressBound(uLong(payload.size()));
    std::unique_ptr<Bytef[]> compressed(new (std::nothrow) Bytef[compressedSize]);
    if (!compressed || compress2(compressed.get(), &compressedSize, payload.data(),
                                 uLong(payload.size()), Z_DEFAULT_COMPRESSION) != Z_OK) {
        setReason(why, "not enough memory to compress the skin");
        return false;
    }
    return replaceFile(path,
                       std::span(reinterpret_cast<const std::uint8_t*>(&header), sizeof header),
                       std::span<const std::uint8_t>(compressed.get(), compressedSize), why);
}

}  // namespace tandel
