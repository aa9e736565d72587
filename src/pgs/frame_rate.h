// The four-bit frame-rate codes of the composition segment.
#pragma once

namespace quillary::pgs {

// The rate that the timing arithmetic uses for `code` (23.976 exactly, not 24000/1001), or 0 for
// a reserved or out-of-range code.
double FrameRateOfCode(int code);

// "23.976", "24", ... or "Reserved".
const char* FrameRateName(int code);

// The first code whose rate differs from `framesPerSecond` by less than 0.01, or -1.
int FrameRateCode(double framesPerSecond);

} // namespace quillary::pgs
