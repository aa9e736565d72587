// FlattenToRgb24: a table of every (alpha, colour byte) pair keeps the per-pixel work to lookups.
#include "imaging/flatten.h"

#include <array>

namespace quillary::imaging {

namespace {

using FlattenTable = std::array<std::array<uint8_t, 256>, 256>; // [alpha][c]

const FlattenTable& Table()
{
    static const FlattenTable table = [] {
        FlattenTable t{};
        for (int alpha = 0; alpha < 256; ++alpha) {
            for (int c = 0; c < 256; ++c)
                t[alpha][c] = FlattenChannel(static_cast<uint8_t>(c), static_cast<uint8_t>(alpha));
        }
        return t;
    }();
    return table;
}

} // namespace

uint8_t FlattenChannel(uint8_t c, uint8_t alpha)
{
    if (alpha == 255)
        return c;
    const double a = alpha / 255.0;
    return static_cast<uint8_t>(c * a + (255 - c) * (1.0 - a));
}

QImage FlattenToRgb24(const QImage& argb)
{
    if (argb.format() != QImage::Format_ARGB32)
        return {};
    QImage rgb(argb.size(), QImage::Format_BGR888);
    if (rgb.isNull())
        return {};
    const FlattenTable& table = Table();
    const int width = argb.width();
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        uint8_t* out = rgb.scanLine(y); // blue, green, red
        for (int x = 0; x < width; ++x, out += 3) {
            const uint32_t value = in[x];
            const auto& row = table[value >> 24];
            out[0] = row[value & 0xFF];
            out[1] = row[(value >> 8) & 0xFF];
            out[2] = row[(value >> 16) & 0xFF];
        }
    }
    return rgb;
}

} // namespace quillary::imaging
