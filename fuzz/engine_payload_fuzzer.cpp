// Feeds arbitrary payloads to the engine as the editor hands them over: a u16 entry count,
// then the payload. Every window kind is built, laid out with a scenario and drawn.
#include <cstdint>
#include <cstring>

#include "InputSkin.h"
#include "Scenarios.h"

using namespace tandel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    std::uint16_t entryCount;
    std::memcpy(&entryCount, data, 2);
    std::span<const std::uint8_t> payload(data + 2, size - 2);
    static Canvas canvas = *Canvas::create(200, 120);
    for (int kind : {0, 3, 4}) {
        CInputSkinImpl skin;
        skin.LoadSkin(kind, payload, entryCount, 1);
        LayoutContext context;
        context.scheme = &INPUT_INFO9();
        context.canvas = &canvas;
        skin.Layout(kRootWindow, &context);
        skin.Draw(kRootWindow, &canvas, nullptr);
        StatusContext status;
        skin.Layout(kRootStatus, &status);
        skin.Draw(kRootStatus, &canvas, nullptr);
    }
    return 0;
}
