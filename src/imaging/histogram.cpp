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
        const uint8_t* end = in + 3 * size_t(width);
        // Runs of one colour (most of a subtitle line is background) are counted at once; a
        // saturating add of n is n saturating increments.
        while (in < end) {
            const uint8_t b = in[0], g = in[1], r = in[2];
            const uint8_t* run = in + 3;
            while (run < end && run[0] == b && run[1] == g && run[2] == r)
                run += 3;
            const auto n = static_cast<uint32_t>(run - in) / 3;
            uint16_t& cell = cells[CellOfColour(b, g, r)];
            cell = static_cast<uint16_t>(std::min<uint32_t>(uint32_t(cell) + n, 0xFFFF));
            in = run;
        }
    }
}

} // namespace quillary::imaging
