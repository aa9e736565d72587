// Colour reduction of one bitmap, or of several that must share one palette, to 8-bit indexes.
#pragma once

#include "pgs/ergb_palette.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <span>

namespace quillary::imaging {

// Reduces `source` to at most 256 palette entries. None when the source is empty (width or
// height 0) or an intermediate bitmap cannot be made.
//  - Indexed sources (Format_Mono, Format_Indexed8): the colour table is returned as it is and
//    the pixels are widened to one byte each.
//  - Format_ARGB32 with at most 255 visible colours: those colours in order of first appearance,
//    then transparent black when any pixel has alpha 0.
//  - Otherwise the two-pass median-cut quantizer with Floyd–Steinberg diffusion on the 24-bit
//    image (ARGB flattened first; other formats drawn onto black). With alpha, entries 0..n-1
//    are the n colours, each with the alpha of the first pixel in raster order mapped to it
//    (0 when none was), entry n is transparent black and the transparent index; pixels of alpha
//    below 5 map to it. Without alpha, all n entries are opaque except the background pixel's.
// `indexedOut`, when given, receives a Format_Indexed8 bitmap of the source's size carrying the
// palette as colour table; `transparentIndexOut`, when given, the transparent index (the index at
// the background pixel, see BackgroundPixel, except with alpha in the quantizer).
std::optional<pgs::SColorPalette> QuantizeBitmap(const QImage& source, QImage* indexedOut,
                                                 uint8_t* transparentIndexOut);

// Reduces several bitmaps to one shared palette. `sources[i]` may be null (absent); `indexedOut`
// has one slot per source, and every present source gets its indexed bitmap there. The present
// sources are laid side by side in order on one canvas, each centred vertically on the tallest
// (y = (tallest − own height) / 2), which is reduced as one bitmap and cut up again. The canvas
// is Format_ARGB32 (starting transparent) when any source is Format_ARGB32, else 24-bit and
// filled with the top-left colour of the first present source. None when no source is present or
// the slots don't match the sources.
std::optional<pgs::SColorPalette> QuantizeBitmaps(std::span<const QImage* const> sources,
                                                  std::span<QImage> indexedOut,
                                                  uint8_t* transparentIndexOut);

// A new Format_Indexed8 copy of `source` carrying its reduced palette. Null when the source
// already is Format_Indexed8 (use it as it is) or the reduction fails.
QImage ToIndexedBitmap(const QImage& source);

} // namespace quillary::imaging
