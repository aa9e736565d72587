// The inverse colour map: histogram cells to the nearest colour of the colour map, filled lazily.
#pragma once

#include "imaging/histogram.h"

#include <cstdint>
#include <vector>

namespace quillary::imaging {

// Distance between two colours as the quantizer measures it: (2·Δblue)² + (3·Δgreen)² + (Δred)².
inline int ColourDistance(int blue0, int green0, int red0, const SBgr& c)
{
    const int d0 = (blue0 - c.blue) * 2;
    const int d1 = (green0 - c.green) * 3;
    const int d2 = red0 - c.red;
    return d0 * d0 + d1 * d1 + d2 * d2;
}

// Uses the cells of a histogram as a cache: cell value = colour index + 1, 0 = not yet known.
// Cells are filled one block of 4 x 8 x 4 cells at a time, so only the colours an image meets
// cost a search.
class CInverseColormap {
public:
    // Clears the histogram; it must outlive this object. At most 255 colours.
    CInverseColormap(CHistogram& cache, const std::vector<SBgr>& colours);

    // The index of the colour nearest to the centre of the cell of (blue, green, red).
    uint8_t Lookup(int blue, int green, int red)
    {
        uint16_t& cell = m_cells[CHistogram::CellOfColour(blue, green, red)];
        if (cell == 0)
            FillBlock(blue >> CHistogram::kShift0, green >> CHistogram::kShift1,
                      red >> CHistogram::kShift2);
        return static_cast<uint8_t>(cell - 1);
    }

    // Fills the block holding cell (c0, c1, c2): every cell gets the colour nearest to its centre
    // (c0·8+4, c1·4+2, c2·8+4), the lowest index winning ties. Only colours whose least possible
    // distance to the block does not exceed the smallest greatest possible distance of any
    // colour can be nearest, so the search runs over those alone.
    void FillBlock(int c0, int c1, int c2);

private:
    uint16_t* m_cells;
    const std::vector<SBgr>& m_colours;
    std::vector<uint8_t> m_candidates; // scratch, reserved once
};

// The same answer without blocks or pruning: the reference for the lazily filled map.
uint8_t NearestColourOfCell(const std::vector<SBgr>& colours, int c0, int c1, int c2);

} // namespace quillary::imaging
