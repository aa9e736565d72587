// Median cut: box statistics, the choice and split of boxes, and the colour of a box.
#include "imaging/median_cut.h"

namespace quillary::imaging {

namespace {

// True when any cell of the box restricted to axis-0 coordinate c0 (or c1, c2) is non-empty.
bool PlaneHasCells0(const CHistogram& h, const SBox& b, int c0)
{
    for (int c1 = b.min1; c1 <= b.max1; ++c1) {
        const uint16_t* cell = h.Cells() + CHistogram::CellIndex(c0, c1, b.min2);
        for (int c2 = b.min2; c2 <= b.max2; ++c2, ++cell) {
            if (*cell != 0)
                return true;
        }
    }
    return false;
}

bool PlaneHasCells1(const CHistogram& h, const SBox& b, int c1)
{
    for (int c0 = b.min0; c0 <= b.max0; ++c0) {
        const uint16_t* cell = h.Cells() + CHistogram::CellIndex(c0, c1, b.min2);
        for (int c2 = b.min2; c2 <= b.max2; ++c2, ++cell) {
            if (*cell != 0)
                return true;
        }
    }
    return false;
}

bool PlaneHasCells2(const CHistogram& h, const SBox& b, int c2)
{
    for (int c0 = b.min0; c0 <= b.max0; ++c0) {
        for (int c1 = b.min1; c1 <= b.max1; ++c1) {
            if (h.At(c0, c1, c2) != 0)
                return true;
        }
    }
    return false;
}

// The first box with the largest colour count among boxes of volume > 0, or -1.
int BiggestColourCount(const std::vector<SBox>& boxes)
{
    int best = -1;
    int64_t most = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].volume > 0 && boxes[i].colourCount > most) {
            most = boxes[i].colourCount;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// The first box with the largest volume, or -1.
int BiggestVolume(const std::vector<SBox>& boxes)
{
    int best = -1;
    int64_t most = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].volume > most) {
            most = boxes[i].volume;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace

void UpdateBox(const CHistogram& histogram, SBox& box)
{
    SBox b = box;
    // Each bound moves inwards to the first non-empty plane; if the low bound finds none the box
    // is empty and stays as it came.
    while (b.min0 <= b.max0 && !PlaneHasCells0(histogram, b, b.min0))
        ++b.min0;
    if (b.min0 > b.max0) {
        box.volume = 0;
        box.colourCount = 0;
        return;
    }
    while (!PlaneHasCells0(histogram, b, b.max0))
        --b.max0;
    while (!PlaneHasCells1(histogram, b, b.min1))
        ++b.min1;
    while (!PlaneHasCells1(histogram, b, b.max1))
        --b.max1;
    while (!PlaneHasCells2(histogram, b, b.min2))
        ++b.min2;
    while (!PlaneHasCells2(histogram, b, b.max2))
        --b.max2;

    const int64_t d0 = int64_t(b.max0 - b.min0) * 8 * 2;
    const int64_t d1 = int64_t(b.max1 - b.min1) * 4 * 3;
    const int64_t d2 = int64_t(b.max2 - b.min2) * 8 * 1;
    b.volume = d0 * d0 + d1 * d1 + d2 * d2;

    int64_t count = 0;
    for (int c0 = b.min0; c0 <= b.max0; ++c0) {
        for (int c1 = b.min1; c1 <= b.max1; ++c1) {
            const uint16_t* cell = histogram.Cells() + CHistogram::CellIndex(c0, c1, b.min2);
            for (int c2 = b.min2; c2 <= b.max2; ++c2, ++cell)
                count += (*cell != 0);
        }
    }
    b.colourCount = count;
    box = b;
}

std::vector<SBox> MedianCut(const CHistogram& histogram, int desiredColours)
{
    std::vector<SBox> boxes;
    boxes.reserve(size_t(desiredColours > 0 ? desiredColours : 1));
    SBox whole;
    whole.max0 = CHistogram::kCells0 - 1;
    whole.max1 = CHistogram::kCells1 - 1;
    whole.max2 = CHistogram::kCells2 - 1;
    UpdateBox(histogram, whole);
    boxes.push_back(whole);

    while (static_cast<int>(boxes.size()) < desiredColours) {
        const int picked = 2 * static_cast<int>(boxes.size()) <= desiredColours
                               ? BiggestColourCount(boxes)
                               : BiggestVolume(boxes);
        if (picked < 0)
            break;
        SBox& old = boxes[size_t(picked)];
        const int length0 = (old.max0 - old.min0) * 16;
        const int length1 = (old.max1 - old.min1) * 12;
        const int length2 = (old.max2 - old.min2) * 8;
        int axis = 1;
        int longest = length1;
        if (length0 > longest) {
            axis = 0;
            longest = length0;
        }
        if (length2 > longest)
            axis = 2;

        SBox added = old;
        switch (axis) {
        case 0: {
            const int m = (old.min0 + old.max0) / 2;
            old.max0 = m;
            added.min0 = m + 1;
            break;
        }
        case 1: {
            const int m = (old.min1 + old.max1) / 2;
            old.max1 = m;
            added.min1 = m + 1;
            break;
        }
        default: {
            const int m = (old.min2 + old.max2) / 2;
            old.max2 = m;
            added.min2 = m + 1;
            break;
        }
        }
        UpdateBox(histogram, old);
        UpdateBox(histogram, added);
        boxes.push_back(added); // after the updates: push_back may move `old`
    }
    return boxes;
}

SBgr BoxColour(const CHistogram& histogram, const SBox& box)
{
    int64_t total = 0, sum0 = 0, sum1 = 0, sum2 = 0;
    for (int c0 = box.min0; c0 <= box.max0; ++c0) {
        for (int c1 = box.min1; c1 <= box.max1; ++c1) {
            const uint16_t* cell = histogram.Cells() + CHistogram::CellIndex(c0, c1, box.min2);
            for (int c2 = box.min2; c2 <= box.max2; ++c2, ++cell) {
                const int64_t count = *cell;
                if (count == 0)
                    continue;
                total += count;
                sum0 += count * (c0 * 8 + 4);
                sum1 += count * (c1 * 4 + 2);
                sum2 += count * (c2 * 8 + 4);
            }
        }
    }
    if (total == 0)
        return {};
    return {static_cast<uint8_t>((sum0 + total / 2) / total),
            static_cast<uint8_t>((sum1 + total / 2) / total),
            static_cast<uint8_t>((sum2 + total / 2) / total)};
}

std::vector<SBgr> ColourMap(const CHistogram& histogram, const std::vector<SBox>& boxes)
{
    std::vector<SBgr> colours;
    colours.reserve(boxes.size());
    for (const SBox& box : boxes)
        colours.push_back(BoxColour(histogram, box));
    return colours;
}

} // namespace quillary::imaging
