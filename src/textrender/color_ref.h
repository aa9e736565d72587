// Colour values as the settings store and the colour pickers hold them (0x00BBGGRR) and as the
// template and the renderers hold them (ARGB, alpha in the top byte).
#pragma once

#include <cstdint>

namespace quillary::textrender {

// 0x00BBGGRR -> opaque 0xFFRRGGBB; the top byte of `colorRef` is ignored.
constexpr uint32_t ArgbFromColorRef(uint32_t colorRef)
{
    return 0xFF000000u | (colorRef & 0xFFu) << 16 | ((colorRef >> 8) & 0xFFu) << 8 |
           ((colorRef >> 16) & 0xFFu);
}

// 0xAARRGGBB -> 0x00BBGGRR; alpha is dropped.
constexpr uint32_t ColorRefFromArgb(uint32_t argb)
{
    return (argb & 0xFFu) << 16 | ((argb >> 8) & 0xFFu) << 8 | ((argb >> 16) & 0xFFu);
}

} // namespace quillary::textrender
