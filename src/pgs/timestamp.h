// Time stamps of the 90 kHz system clock.
#pragma once

#include <cstdint>
#include <string>

namespace quillary::pgs {

// A time stamp or duration in 90 kHz ticks. Arithmetic is done in 64 bits; the stream stores
// every PTS and DTS as an unsigned 32-bit value (modulo 2^32).
using Timestamp90k = int64_t;

inline constexpr Timestamp90k kTicksPerSecond = 90000;

// "HH:MM:SS.mmm" of an unsigned 32-bit stream time stamp (milliseconds truncated).
std::string FormatTimestamp(uint32_t ticks);

} // namespace quillary::pgs
