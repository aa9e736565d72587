// RGB to studio-range Y/Cr/Cb, the conversion applied to every palette entry on its way out.
#pragma once

#include <cstdint>

namespace quillary::pgs {

struct SYCrCb {
    uint8_t y = 16;
    uint8_t cr = 128;
    uint8_t cb = 128;

    friend bool operator==(const SYCrCb&, const SYCrCb&) = default;
};

// BT.601 studio-range coefficients rounded to three decimals, evaluated in double precision in a
// fixed order of operations and truncated: greys give Cr = Cb = 128, white Y 235, black Y 16.
SYCrCb RgbToYCrCb(uint8_t red, uint8_t green, uint8_t blue);

} // namespace quillary::pgs
