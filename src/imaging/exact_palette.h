// The exact-colour path: a 32-bit ARGB bitmap with few enough colours keeps them all.
#pragma once

#include "pgs/ergb_palette.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <optional>

namespace quillary::imaging {

// The visible colours of a bitmap in order of first appearance, then transparent black (0) when
// any pixel has alpha 0, with a lookup from colour to index.
class CExactColours {
public:
    // Scans a Format_ARGB32 bitmap in raster order. None when the bitmap has more than 255
    // visible colours (the scan stops at the first change of colour after the 255th; a later
    // colour that is already listed counts as well), or when fewer than 2 entries result.
    static std::optional<CExactColours> Collect(const QImage& argb);

    // Flag bit 0 set; the entries in the order above.
    const pgs::SColorPalette& Palette() const { return m_palette; }

    // Alpha 0 gives the first entry with alpha 0, any other value its own entry; 255 when there
    // is none.
    uint8_t IndexOf(uint32_t argb) const;

    // Maps every pixel of the bitmap the palette was collected from (or any bitmap of the same
    // colours) to a Format_Indexed8 bitmap carrying the palette. Null when allocation fails.
    QImage Map(const QImage& argb) const;

private:
    static constexpr int kSlotBits = 10;  // 1024 slots for at most 255 keys: short probes
    static constexpr uint32_t kNoKey = 0; // visible colours have alpha > 0, so never 0

    bool Insert(uint32_t argb); // false when already present
    int Find(uint32_t argb) const;
    static uint32_t Slot(uint32_t argb) { return (argb * 0x9E3779B1u) >> (32 - kSlotBits); }

    pgs::SColorPalette m_palette;
    std::array<uint32_t, 1 << kSlotBits> m_keys{};
    std::array<uint8_t, 1 << kSlotBits> m_indexes{};
    uint8_t m_transparentEntry = 255;
};

} // namespace quillary::imaging
