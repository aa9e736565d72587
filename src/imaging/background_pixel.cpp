// BackgroundPixel.
#include "imaging/background_pixel.h"

#include "imaging/bitmap.h"

#include <array>
#include <cstdint>

namespace quillary::imaging {

QPoint BackgroundPixel(const QImage& image)
{
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    const std::array<QPoint, 4> corners = {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom),
                                           QPoint(right, bottom)};
    std::array<uint32_t, 4> argb{};
    for (size_t i = 0; i < corners.size(); ++i)
        argb[i] = PixelArgb(image, corners[i].x(), corners[i].y());

    QPoint background(0, 0);
    if ((argb[0] >> 24) == 0)
        return background;
    for (size_t first = 0; first < 3; ++first) {
        for (size_t second = first + 1; second < 4; ++second) {
            if (argb[first] == argb[second])
                background = corners[first];
        }
    }
    return background;
}

} // namespace quillary::imaging
