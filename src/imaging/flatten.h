// Flattening a 32-bit ARGB bitmap to 24 bits for the quantizer.
#pragma once

#include <QImage>

#include <cstdint>

namespace quillary::imaging {

// One colour byte `c` of a pixel with alpha `alpha` after flattening: with a = alpha / 255, the
// truncation of c·a + (255 − c)·(1 − a) in double precision. Opaque pixels keep their colour; a
// fully transparent one becomes its inverse, so partly transparent pixels of one colour become a
// distinct colour for every alpha.
uint8_t FlattenChannel(uint8_t c, uint8_t alpha);

// Format_ARGB32 in, Format_BGR888 (blue, green, red) out. Null when allocation fails or the
// source is not Format_ARGB32.
QImage FlattenToRgb24(const QImage& argb);

} // namespace quillary::imaging
