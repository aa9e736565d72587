// Properties of the colour reduction on random bitmaps.
#include "imaging/exact_palette.h"
#include "imaging/quantize.h"

#include "test_images.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace quillary::imaging {
namespace {

// Random bitmaps of random sizes; `colours` > 0 draws the visible pixels from that many random
// colours, otherwise every pixel is random. About one pixel in eight has an alpha below 5.
QImage RandomArgb(std::mt19937& rng, int colours)
{
    std::uniform_int_distribution<int> side(1, 48);
    std::uniform_int_distribution<uint32_t> any;
    std::uniform_int_distribution<int> pick(0, 15);
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(any(rng) | 0x01000000u); // visible: alpha >= 1
    std::uniform_int_distribution<size_t> entry(0, palette.empty() ? 0 : palette.size() - 1);
    QImage image(side(rng), side(rng), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int p = pick(rng);
            uint32_t value = palette.empty() ? any(rng) : palette[entry(rng)];
            if (p == 0)
                value &= 0x00FFFFFF; // fully transparent, any colour
            else if (p == 1 && palette.empty())
                value = (value & 0x00FFFFFF) | (uint32_t(p + pick(rng) % 4) << 24); // alpha 1-4
            row[x] = value;
        }
    }
    return image;
}

TEST(QuantizeProperties, IndexesAndTransparencyOnRandomBitmaps)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 60; ++round) {
        const QImage source = RandomArgb(rng, round % 3 == 0 ? 0 : 1 + round * 4);
        SCOPED_TRACE(testing::Message()
                     << "round " << round << ", " << source.width() << "x" << source.height());
        QImage indexed;
        uint8_t transparent = 0;
        const auto palette = QuantizeBitmap(source, &indexed, &transparent);
        ASSERT_TRUE(palette);
        ASSERT_LE(palette->entries.size(), 256u);
        ASSERT_LT(transparent, palette->entries.size());
        const bool quantized = !CExactColours::Collect(source);
        if (quantized) {
            EXPECT_EQ(palette->entries.back(), 0u);
            EXPECT_EQ(transparent, palette->entries.size() - 1);
        }
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                const int index = indexed.pixelIndex(x, y);
                ASSERT_LT(size_t(index), palette->entries.size());
                const int alpha = qAlpha(source.pixel(x, y));
                if (alpha == 0) {
                    EXPECT_EQ(palette->entries[size_t(index)], 0u) << x << "," << y;
                }
                if (quantized) { // alpha 1-4 as well
                    EXPECT_EQ(index == transparent, alpha < 5) << x << "," << y;
                }
            }
        }
    }
}

TEST(QuantizeProperties, FewColoursRoundTripExactly)
{
    std::mt19937 rng(77);
    for (const int colours : {1, 2, 17, 100, 254, 255}) {
        for (int round = 0; round < 4; ++round) {
            const QImage source = RandomArgb(rng, colours);
            SCOPED_TRACE(testing::Message()
                         << colours << " colours, " << source.width() << "x" << source.height());
            QImage indexed;
            const auto palette = QuantizeBitmap(source, &indexed, nullptr);
            ASSERT_TRUE(palette);
            std::set<uint32_t> visible;
            bool anyTransparent = false;
            for (int y = 0; y < source.height(); ++y) {
                for (int x = 0; x < source.width(); ++x) {
                    const uint32_t pixel = source.pixel(x, y);
                    if (qAlpha(pixel) == 0)
                        anyTransparent = true;
                    else
                        visible.insert(pixel);
                }
            }
            const size_t entries = visible.size() + (anyTransparent ? 1 : 0);
            if (entries < 2)
                continue; // a single colour goes to the quantizer
            ASSERT_EQ(palette->entries.size(), entries);
            for (int y = 0; y < source.height(); ++y) {
                for (int x = 0; x < source.width(); ++x) {
                    const uint32_t pixel = source.pixel(x, y);
                    const uint32_t entry = palette->entries[size_t(indexed.pixelIndex(x, y))];
                    EXPECT_EQ(entry, qAlpha(pixel) == 0 ? 0u : pixel) << x << "," << y;
                }
            }
        }
    }
}

} // namespace
} // namespace quillary::imaging
