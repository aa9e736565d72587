// Saturate: real numbers from script text to integers without overflow (NaN gives 0). Sizes,
// scales and positions in a script are untrusted; a huge one must clamp, not wrap or trap.
#pragma once

#include <cmath>
#include <limits>

namespace quillary::layout {

template <typename Int> [[nodiscard]] Int Saturate(double value)
{
    using Limits = std::numeric_limits<Int>;
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= static_cast<double>(Limits::min())) {
        return Limits::min();
    }
    // The double nearest to the maximum may be above it; compare with >=.
    if (value >= static_cast<double>(Limits::max())) {
        return Limits::max();
    }
    return static_cast<Int>(value);
}

} // namespace quillary::layout
