// Median cut over the quantizer's histogram: boxes of cells, split until there are enough.
#pragma once

#include "imaging/histogram.h"

#include <cstdint>
#include <vector>

namespace quillary::imaging {

// A box of histogram cells, inclusive bounds per axis (0 blue, 1 green, 2 red).
struct SBox {
    int min0 = 0, max0 = 0;
    int min1 = 0, max1 = 0;
    int min2 = 0, max2 = 0;
    int64_t volume = 0;      // squared diagonal in scaled colour units
    int64_t colourCount = 0; // non-empty cells

    friend bool operator==(const SBox&, const SBox&) = default;
};

// Shrinks the box on each axis to the smallest range that still holds a non-empty cell, then sets
// volume = (Δ0·8·2)² + (Δ1·4·3)² + (Δ2·8·1)², with Δk = max − min in cells of axis k, and the count
// of non-empty cells. A box without any non-empty cell is left as it is, with volume and count 0.
void UpdateBox(const CHistogram& histogram, SBox& box);

// Cuts the whole colour space into at most `desiredColours` boxes:
//  1. start with one box over all cells, updated;
//  2. while boxes < desired: while 2·boxes <= desired pick the first box with the largest colour
//     count among boxes of volume > 0, afterwards the first box with the largest volume; stop
//     when the largest value is 0;
//  3. split it on its longest scaled axis (lengths Δ0·16, Δ1·12, Δ2·8; green wins ties, then
//     blue) at m = (min + max) / 2: the box keeps min..m, a new box appended at the end gets
//     m+1..max; update both.
std::vector<SBox> MedianCut(const CHistogram& histogram, int desiredColours = 255);

// The count-weighted mean of the box's cell centres (c0·8+4, c1·4+2, c2·8+4), rounded in
// integers per channel as (sum + total/2) / total.
SBgr BoxColour(const CHistogram& histogram, const SBox& box);

// The colour map: the colour of every box, in box order.
std::vector<SBgr> ColourMap(const CHistogram& histogram, const std::vector<SBox>& boxes);

} // namespace quillary::imaging
