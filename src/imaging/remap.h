// Pass 2 of the quantizer: serpentine Floyd–Steinberg mapping onto the colour map.
#pragma once

#include "imaging/histogram.h"

#include <QImage>

#include <vector>

namespace quillary::imaging {

// The error limit: errors 0..15 pass, 16..47 become 16 + (e − 16) / 2, larger ones 32;
// limit(−e) = −limit(e). Defined for −255..255.
int LimitError(int error);

// Maps the Format_BGR888 bitmap `rgb24` onto `colours` (at most 255) into `indexedOut`, a
// Format_Indexed8 bitmap of the same size. `cache` is cleared and becomes the inverse colour map.
// With `alphaSource` (the Format_ARGB32 bitmap `rgb24` was flattened from), pixels of alpha
// below 5 get index colours.size() and neither take nor spread error.
//
// Rows run top to bottom, the first left to right and each next one the other way. Errors are
// kept in sixteenths: a pixel receives 7/16 of the error of the pixel before it, and 3/16, 5/16
// and 1/16 of the errors of the pixels ahead of, above and behind it in the row above.
void RemapFloydSteinberg(const QImage& rgb24, const QImage* alphaSource,
                         const std::vector<SBgr>& colours, CHistogram& cache, QImage& indexedOut);

} // namespace quillary::imaging
