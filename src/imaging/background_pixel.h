// The background pixel: the corner whose index a reduction reports as the transparent one.
#pragma once

#include <QImage>
#include <QPoint>

namespace quillary::imaging {

// Corners 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right, read as ARGB. A transparent
// top-left corner is the background. Otherwise every pair of equal corners, visited in the order
// (0,1) (0,2) (0,3) (1,2) (1,3) (2,3), moves the background to the pair's first corner, so the
// last equal pair wins; with no equal pair it stays at the top-left.
QPoint BackgroundPixel(const QImage& image);

} // namespace quillary::imaging
