// The 53 hatch styles of the fill brush: their names and their 8x8 one-bit patterns.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>

namespace quillary::textrender {

inline constexpr int kHatchStyleCount = 53;

// Names in value order 0-52, as the style sheet lists them.
extern const std::array<const char*, kHatchStyleCount> kHatchStyleNames;

// One pattern: 8 rows from the top, one byte each; bit 7 is the leftmost pixel and a set bit
// is foreground.
using HatchPattern = std::array<uint8_t, 8>;

// The pattern of each style, in value order.
extern const std::array<HatchPattern, kHatchStyleCount> kHatchPatterns;

// The 8x8 tile of `style` (0-52) in ARGB32 (not premultiplied) with the two ARGB colours;
// null for a style out of range. Tiled from the origin it draws the hatch.
QImage HatchTile(int style, uint32_t foreground, uint32_t background);

} // namespace quillary::textrender
