// CHistogram: pass 1 of the quantizer.
#include "imaging/histogram.h"

#include <algorithm>

namespace quillary::imaging {

void CHistogram::Clear()
{
    std::fill(m_cells.begin(), m_cells.end(), uint16_t{0});
}

void CHistogram::Count(const QImage& rgb24)
{
    uint16_t* cells = m_cells.data();
    const int width = rgb24.width();
    for (int y = 0; y < rgb24.height(); ++y) {
        const uint8_t* in = rgb24.constScanLine(y); // blue, green, red
        for (int x = 0; x < width; ++x, in += 3) {
            uint16_t& cell = cells[CellOfColour(in[0], in[1], in[2])];
            cell = static_cast<uint16_t>(cell + (cell != 0xFFFF));
        }
    }
}

} // namespace quillary::imaging
