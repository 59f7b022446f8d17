#include "Tick.h"

#include <chrono>

namespace tandel {
namespace {

std::uint32_t steadyTick() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

TickSource gTickSource = &steadyTick;

}  // namespace

std::uint32_t TickCount() {
    return gTickSource();
}

void SetTickSource(TickSource source) {
    gTickSource = source != nullptr ? source : &steadyTick;
}

}  // namespace tandel
