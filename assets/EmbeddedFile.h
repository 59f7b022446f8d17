// A file built into the program.
#pragma once

#include <cstddef>

namespace tandel {

struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

}  // namespace tandel
