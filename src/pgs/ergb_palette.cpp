// CErgbPalette: conversion from an indexed bitmap's colour table.
#include "pgs/ergb_palette.h"

#include <algorithm>

namespace quillary::pgs {

int CErgbPalette::SetFromColorPalette(const SColorPalette* palette, uint8_t transparentIndexIn,
                                      double transparentAlpha)
{
    Clear();
    if (palette == nullptr || palette->entries.empty())
        return 0;

    const double clamped = std::clamp(transparentAlpha, 0.0, 1.0);
    const auto keyAlpha = static_cast<uint8_t>(clamped * 255.0 + 0.5);
    transparentIndex = transparentIndexIn;

    const bool hasAlpha = (palette->flags & SColorPalette::kHasAlpha) != 0;
    const size_t count = std::min<size_t>(palette->entries.size(), 255);
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t argb = palette->entries[i];
        ERGBQUAD q;
        q.index = static_cast<uint8_t>(i);
        q.red = static_cast<uint8_t>(argb >> 16);
        q.green = static_cast<uint8_t>(argb >> 8);
        q.blue = static_cast<uint8_t>(argb);
        if (hasAlpha)
            q.alpha = static_cast<uint8_t>(argb >> 24);
        else
            q.alpha = (i == transparentIndexIn) ? keyAlpha : 255;
        entries.push_back(q);
    }
    return static_cast<int>(count);
}

} // namespace quillary::pgs
