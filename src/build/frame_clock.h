// Conversions between milliseconds, frames and 90 kHz ticks at a frame rate.
#pragma once

#include "pgs/timestamp.h"

#include <cstdint>

namespace quillary::build {

// The frame that `ms` falls on: truncation of ms x rate / 1000 + 0.5, the time read as an
// unsigned 32-bit value.
inline int64_t FrameOfMs(uint32_t ms, double rate)
{
    return static_cast<int64_t>(double(ms) * rate / 1000.0 + 0.5);
}

// The 90 kHz time of frame `n`: truncation of (n / rate) x 90 x 1000 + 0.5, in that order.
inline pgs::Timestamp90k TicksOfFrame(int64_t n, double rate)
{
    return static_cast<pgs::Timestamp90k>(double(n) / rate * 90.0 * 1000.0 + 0.5);
}

} // namespace quillary::build
