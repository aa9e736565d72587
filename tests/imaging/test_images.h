// Small bitmaps for the imaging tests, written out pixel by pixel.
#pragma once

#include <QImage>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace quillary::imaging::test {

// A Format_ARGB32 bitmap from ARGB values in raster order.
inline QImage Argb(int width, int height, const std::vector<uint32_t>& pixels)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, pixels[size_t(y * width + x)]);
    }
    return image;
}

// A Format_BGR888 bitmap from RGB values (0xRRGGBB) in raster order.
inline QImage Rgb24(int width, int height, const std::vector<uint32_t>& pixels)
{
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = pixels[size_t(y * width + x)];
            row[3 * x + 0] = uint8_t(rgb);
            row[3 * x + 1] = uint8_t(rgb >> 8);
            row[3 * x + 2] = uint8_t(rgb >> 16);
        }
    }
    return image;
}

// The indexes of a Format_Indexed8 bitmap in raster order.
inline std::vector<int> Indexes(const QImage& indexed)
{
    std::vector<int> out;
    for (int y = 0; y < indexed.height(); ++y) {
        for (int x = 0; x < indexed.width(); ++x)
            out.push_back(indexed.constScanLine(y)[x]);
    }
    return out;
}

} // namespace quillary::imaging::test
