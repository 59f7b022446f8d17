// Feeds arbitrary bytes to the picture loader (every format, with its animation frames
// composed), then draws what loaded into a small canvas.
#include <cstdint>

#include "RUZizod.h"

using namespace tandel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<RUZizodGdi> image = CreateImageFromMemory(data, std::int64_t(size));
    if (!image) {
        return 0;
    }
    static Canvas canvas = *Canvas::create(64, 64);
    image->Draw(canvas, {0, 0, 64, 64}, -1, 0);
    image->NextFrame();
    return 0;
}
