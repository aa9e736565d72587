// The graphics layer under the colour reduction: decoding image files, creating bitmaps of the
// engine's pixel formats, reading single pixels and drawing one image into a rectangle of another.
#pragma once

#include "pgs/ergb_palette.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

namespace quillary::imaging {

// The pixel formats the engine works in and their QImage formats:
//   kArgb32    QImage::Format_ARGB32, not premultiplied; bytes blue, green, red, alpha in memory.
//   kRgb24     QImage::Format_BGR888; bytes blue, green, red in memory, so byte 0 of a pixel is
//              blue, which is channel 0 of the quantizer.
//   kIndexed8  QImage::Format_Indexed8 with the palette as colour table.
//   kIndexed1  QImage::Format_Mono (high bit first) with its colour table; Format_MonoLSB
//              counts as 1-bit indexed too, but new 1-bit bitmaps are Format_Mono.
// Qt has no 4-bit format; 4-bit files decode to kIndexed8 with their (short) colour table.
enum class EPixelFormat { kIndexed1, kIndexed8, kRgb24, kArgb32, kOther };

EPixelFormat PixelFormatOf(const QImage& image);
QImage::Format QtFormatOf(EPixelFormat format);

// A new bitmap of the given size and format, uninitialised (indexed ones get an empty colour
// table). Null when the size is not positive, the format is kOther or allocation fails.
QImage CreateBitmap(int width, int height, EPixelFormat format);

// Decodes a BMP, JPEG, PNG or GIF file (any format Qt's readers know). Files that Qt decodes as
// indexed keep their colour table and stay indexed (8-bit, or 1-bit as Format_Mono); other
// images become kArgb32 when they carry alpha and kRgb24 when they don't. Qt decodes GIF files
// to true colour, so they arrive as kRgb24 or kArgb32. Null on failure.
QImage LoadBitmap(const QString& path);

// The colour table of an indexed bitmap as a colour palette. Flag bit 0 is set when any entry
// is not opaque, since a QImage colour table carries no flags of its own.
pgs::SColorPalette ColorPaletteOf(const QImage& image);
void SetColorPalette(QImage& image, const pgs::SColorPalette& palette);

// One pixel as a 32-bit ARGB value (alpha in bits 24-31). Meant for a handful of reads, such as
// the four corners; bulk access goes through scan lines. 0 outside the image.
uint32_t PixelArgb(const QImage& image, int x, int y);

enum class EInterpolation { kNearest, kSmooth };

// Draws `source` scaled into `target` (source-over), with nearest-neighbour or smooth
// interpolation. `target` must be a paintable format (not indexed). False when it is not.
bool DrawImage(QImage& target, const QRect& targetRect, const QImage& source,
               EInterpolation interpolation);

} // namespace quillary::imaging
