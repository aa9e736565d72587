// The decoder timing model: how long a display set takes to decode, and the PTS and DTS of each
// of its segments.
#pragma once

#include "pgs/ds_data.h"
#include "pgs/timestamp.h"

#include <cstdint>

namespace quillary::build {

// Ticks to fill w x h pixels of the graphics plane at 256 Mbit/s: ceil(w h 9 / 3200).
pgs::Timestamp90k PlaneTicks(int64_t width, int64_t height);
// Ticks to decode a w x h object at 128 Mbit/s: ceil(w h 9 / 1600).
pgs::Timestamp90k DecodeTicks(int64_t width, int64_t height);

// The decode duration of `displaySet`. `windows` and `objects` stand in for the display set's
// own window definition and object segments when given (a palette update waits for the
// object and window of the display set that sent them).
pgs::Timestamp90k DecodeDuration(const pgs::CDsData& displaySet, const pgs::CWds* windows = nullptr,
                                 const pgs::COdsArray* objects = nullptr);

// PTS - decode duration, clamped at 0: a wrapped 32-bit DTS would put the display set at the
// far end of the time line.
uint32_t DecodeTimestamp(pgs::Timestamp90k pts, pgs::Timestamp90k decodeDuration);

// Stamps every segment of `displaySet` from the display set's PTS and DTS: the composition
// takes both, the window definition is drawn just before the PTS, palettes load at the DTS,
// objects decode one after the other from the DTS, and the end segment comes when all is done.
void StampDisplaySet(pgs::CDsData& displaySet, uint32_t pts, uint32_t dts);

} // namespace quillary::build
