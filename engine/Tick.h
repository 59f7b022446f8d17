// The millisecond tick the animations are timed by.
#pragma once

#include <cstdint>

namespace tandel {

using TickSource = std::uint32_t (*)();

// Milliseconds since an arbitrary start, wrapping like a 32-bit tick count.
std::uint32_t TickCount();
// Replaces the clock (tests); null restores the steady clock.
void SetTickSource(TickSource source);

}  // namespace tandel
