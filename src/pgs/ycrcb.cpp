// RgbToYCrCb.
#include "pgs/ycrcb.h"

#include <algorithm>

namespace quillary::pgs {

SYCrCb RgbToYCrCb(uint8_t red, uint8_t green, uint8_t blue)
{
    const double r = red;
    const double g = green;
    const double b = blue;
    // The grouping of the sums is part of the result: keep it.
    const double y = ((0.257 * r + 0.504 * g) + 0.098 * b) + 16.0;
    const double cr = ((0.439 * r - 0.368 * g) - 0.071 * b) + 128.0;
    const double cb = (0.439 * b - (0.148 * r + 0.291 * g)) + 128.0;
    return {static_cast<uint8_t>(std::clamp(y, 16.0, 235.0)),
            static_cast<uint8_t>(std::clamp(cr, 16.0, 240.0)),
            static_cast<uint8_t>(std::clamp(cb, 16.0, 240.0))};
}

} // namespace quillary::pgs
