// The stream's palette model: ERGBQUAD entries, the colour palette of an indexed bitmap, and
// CErgbPalette, which turns the latter into the former.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillary::pgs {

// One palette entry as the palette segment needs it; `index` is the value pixels carry.
struct ERGBQUAD {
    uint8_t index = 0;
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t alpha = 0;

    friend bool operator==(const ERGBQUAD&, const ERGBQUAD&) = default;
};

// The colour table of an indexed bitmap: 32-bit ARGB values (alpha in bits 24-31, red 16-23,
// green 8-15, blue 0-7, as QRgb) and flags. Flag bit 0 set means the alphas are meaningful.
struct SColorPalette {
    static constexpr uint32_t kHasAlpha = 1;

    uint32_t flags = 0;
    std::vector<uint32_t> entries;

    friend bool operator==(const SColorPalette&, const SColorPalette&) = default;
};

// The palette of one epoch's objects. `id` becomes the palette id of the palette segment.
class CErgbPalette {
public:
    void Clear() { entries.clear(); }

    // Replaces the entries with the first 255 entries of `palette` (an entry count of 256 loses
    // its last entry) and returns how many were taken: 0 when `palette` is null or empty.
    // Without flag bit 0, entry `transparentIndex` gets the alpha `transparentAlpha` (0..1,
    // clamped) and all other entries are opaque.
    int SetFromColorPalette(const SColorPalette* palette, uint8_t transparentIndexIn,
                            double transparentAlpha);

    std::string name;
    int32_t id = 0;
    uint8_t transparentIndex = 255;
    std::vector<ERGBQUAD> entries;
};

} // namespace quillary::pgs
