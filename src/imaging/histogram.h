// The quantizer's 32 x 64 x 32 histogram of 16-bit counts, later reused as the inverse colour map.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace quillary::imaging {

// One colour of the quantizer's colour map, in channel order: 0 blue, 1 green, 2 red.
struct SBgr {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;

    friend bool operator==(const SBgr&, const SBgr&) = default;
};

// Cells are addressed by the top 5 bits of blue (c0), the top 6 of green (c1) and the top 5 of
// red (c2); stored as 32 planes of 64 x 32 counters (128 KiB).
class CHistogram {
public:
    static constexpr int kCells0 = 32;
    static constexpr int kCells1 = 64;
    static constexpr int kCells2 = 32;
    static constexpr int kShift0 = 3; // colour byte -> cell coordinate
    static constexpr int kShift1 = 2;
    static constexpr int kShift2 = 3;

    CHistogram() : m_cells(size_t{kCells0} * kCells1 * kCells2, 0) {}

    static size_t CellIndex(int c0, int c1, int c2)
    {
        return (size_t(c0) << 11) | (size_t(c1) << 5) | size_t(c2);
    }
    static size_t CellOfColour(int blue, int green, int red)
    {
        return CellIndex(blue >> kShift0, green >> kShift1, red >> kShift2);
    }

    void Clear();

    // Pass 1: counts every pixel of a Format_BGR888 bitmap, saturating at 65535.
    void Count(const QImage& rgb24);

    uint16_t At(int c0, int c1, int c2) const { return m_cells[CellIndex(c0, c1, c2)]; }
    uint16_t* Cells() { return m_cells.data(); }
    const uint16_t* Cells() const { return m_cells.data(); }

private:
    std::vector<uint16_t> m_cells;
};

} // namespace quillary::imaging
