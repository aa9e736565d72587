// CInverseColormap: block fills with a pruned nearest-colour search.
#include "imaging/inverse_colormap.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

namespace quillary::imaging {

namespace {

constexpr int kBlock0 = 4; // cells per block along each axis
constexpr int kBlock1 = 8;
constexpr int kBlock2 = 4;

// Least and greatest squared scaled distance from x to any of the values lo..hi.
struct SAxisRange {
    int least;
    int greatest;
};

SAxisRange AxisRange(int x, int lo, int hi, int scale)
{
    const int nearest = x < lo ? lo - x : (x > hi ? x - hi : 0);
    const int farthest = std::max(std::abs(x - lo), std::abs(x - hi));
    return {nearest * scale * nearest * scale, farthest * scale * farthest * scale};
}

} // namespace

CInverseColormap::CInverseColormap(CHistogram& cache, const std::vector<SBgr>& colours)
    : m_cells(cache.Cells()), m_colours(colours)
{
    cache.Clear();
    m_candidates.reserve(colours.size());
}

void CInverseColormap::FillBlock(int c0, int c1, int c2)
{
    const int base0 = c0 & ~(kBlock0 - 1);
    const int base1 = c1 & ~(kBlock1 - 1);
    const int base2 = c2 & ~(kBlock2 - 1);
    // Cell centres of the block span lo..hi on each axis.
    const int lo0 = base0 * 8 + 4, hi0 = lo0 + (kBlock0 - 1) * 8;
    const int lo1 = base1 * 4 + 2, hi1 = lo1 + (kBlock1 - 1) * 4;
    const int lo2 = base2 * 8 + 4, hi2 = lo2 + (kBlock2 - 1) * 8;

    // 1. Prune: the nearest colour of any cell is no farther than the smallest greatest
    //    distance, so colours whose least distance exceeds it can be dropped.
    int smallestGreatest = INT_MAX;
    std::array<int, 256> least{};
    for (size_t i = 0; i < m_colours.size(); ++i) {
        const SBgr& c = m_colours[i];
        const SAxisRange r0 = AxisRange(c.blue, lo0, hi0, 2);
        const SAxisRange r1 = AxisRange(c.green, lo1, hi1, 3);
        const SAxisRange r2 = AxisRange(c.red, lo2, hi2, 1);
        least[i] = r0.least + r1.least + r2.least;
        smallestGreatest = std::min(smallestGreatest, r0.greatest + r1.greatest + r2.greatest);
    }
    m_candidates.clear();
    for (size_t i = 0; i < m_colours.size(); ++i) {
        if (least[i] <= smallestGreatest)
            m_candidates.push_back(static_cast<uint8_t>(i));
    }

    // 2. Nearest candidate per cell, in index order with a strict comparison so that the lowest
    //    index wins ties. Distances split into one term per axis.
    std::array<int, kBlock0 * kBlock1 * kBlock2> bestDistance;
    std::array<uint8_t, kBlock0 * kBlock1 * kBlock2> bestIndex{};
    bestDistance.fill(INT_MAX);
    for (const uint8_t index : m_candidates) {
        const SBgr& c = m_colours[index];
        std::array<int, kBlock0> d0;
        std::array<int, kBlock1> d1;
        std::array<int, kBlock2> d2;
        for (int i = 0; i < kBlock0; ++i)
            d0[size_t(i)] = (lo0 + i * 8 - c.blue) * 2 * (lo0 + i * 8 - c.blue) * 2;
        for (int j = 0; j < kBlock1; ++j)
            d1[size_t(j)] = (lo1 + j * 4 - c.green) * 3 * (lo1 + j * 4 - c.green) * 3;
        for (int k = 0; k < kBlock2; ++k)
            d2[size_t(k)] = (lo2 + k * 8 - c.red) * (lo2 + k * 8 - c.red);
        size_t cell = 0;
        for (int i = 0; i < kBlock0; ++i) {
            for (int j = 0; j < kBlock1; ++j) {
                const int d01 = d0[size_t(i)] + d1[size_t(j)];
                for (int k = 0; k < kBlock2; ++k, ++cell) {
                    const int d = d01 + d2[size_t(k)];
                    if (d < bestDistance[cell]) {
                        bestDistance[cell] = d;
                        bestIndex[cell] = index;
                    }
                }
            }
        }
    }

    size_t cell = 0;
    for (int i = 0; i < kBlock0; ++i) {
        for (int j = 0; j < kBlock1; ++j) {
            uint16_t* out = m_cells + CHistogram::CellIndex(base0 + i, base1 + j, base2);
            for (int k = 0; k < kBlock2; ++k, ++cell)
                out[k] = static_cast<uint16_t>(bestIndex[cell] + 1);
        }
    }
}

uint8_t NearestColourOfCell(const std::vector<SBgr>& colours, int c0, int c1, int c2)
{
    int best = INT_MAX;
    uint8_t bestIndex = 0;
    for (size_t i = 0; i < colours.size(); ++i) {
        const int d = ColourDistance(c0 * 8 + 4, c1 * 4 + 2, c2 * 8 + 4, colours[i]);
        if (d < best) {
            best = d;
            bestIndex = static_cast<uint8_t>(i);
        }
    }
    return bestIndex;
}

} // namespace quillary::imaging
