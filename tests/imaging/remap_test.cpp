// Pass 2: the error limit, the lazily filled inverse colour map and serpentine diffusion, each
// against a plain version on random input.
#include "imaging/inverse_colormap.h"
#include "imaging/remap.h"

#include "test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace quillary::imaging {
namespace {

std::vector<SBgr> RandomColours(std::mt19937& rng, size_t count)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<SBgr> colours(count);
    for (SBgr& c : colours)
        c = {uint8_t(byte(rng)), uint8_t(byte(rng)), uint8_t(byte(rng))};
    return colours;
}

QImage RandomRgb24(std::mt19937& rng, int width, int height)
{
    std::uniform_int_distribution<int> byte(0, 255);
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = image.scanLine(y);
        for (int x = 0; x < 3 * width; ++x)
            row[x] = uint8_t(byte(rng));
    }
    return image;
}

// Floyd–Steinberg written the plain way: a full-size array of accumulated errors in
// sixteenths, the nearest colour searched over the whole map for every pixel.
std::vector<int> PlainFloydSteinberg(const QImage& rgb24, const std::vector<SBgr>& colours)
{
    const int w = rgb24.width(), h = rgb24.height();
    std::vector<int> acc(size_t(w * h * 3), 0);
    std::vector<int> indexes(size_t(w * h), 0);
    const auto add = [&](int x, int y, int k, int value) {
        if (x >= 0 && x < w && y < h)
            acc[size_t((y * w + x) * 3 + k)] += value;
    };
    for (int y = 0; y < h; ++y) {
        const int dir = y % 2 == 0 ? 1 : -1;
        for (int n = 0, x = dir > 0 ? 0 : w - 1; n < w; ++n, x += dir) {
            const uint8_t* pixel = rgb24.constScanLine(y) + 3 * x;
            int s[3];
            for (int k = 0; k < 3; ++k) {
                s[k] = std::clamp(
                    LimitError((acc[size_t((y * w + x) * 3 + k)] + 8) >> 4) + pixel[k], 0, 255);
            }
            const uint8_t index = NearestColourOfCell(colours, s[0] >> 3, s[1] >> 2, s[2] >> 3);
            indexes[size_t(y * w + x)] = index;
            const int e[3] = {s[0] - colours[index].blue, s[1] - colours[index].green,
                              s[2] - colours[index].red};
            for (int k = 0; k < 3; ++k) {
                add(x + dir, y, k, 7 * e[k]);
                add(x - dir, y + 1, k, 3 * e[k]);
                add(x, y + 1, k, 5 * e[k]);
                add(x + dir, y + 1, k, e[k]);
            }
        }
    }
    return indexes;
}

TEST(LimitError, Table)
{
    struct Case {
        int error, limited;
    };
    const Case cases[] = {{0, 0},   {1, 1},     {15, 15},   {16, 16},   {17, 16},
                          {18, 17}, {46, 31},   {47, 31},   {48, 32},   {255, 32},
                          {-1, -1}, {-17, -16}, {-47, -31}, {-48, -32}, {-255, -32}};
    for (const Case& c : cases)
        EXPECT_EQ(LimitError(c.error), c.limited) << c.error;
}

TEST(CInverseColormap, MatchesFullSearchOnRandomMaps)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> c0(0, 31), c1(0, 63);
    for (const size_t size : {size_t(1), size_t(2), size_t(7), size_t(40), size_t(255)}) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(testing::Message() << size << " colours, round " << round);
            std::vector<SBgr> colours = RandomColours(rng, size);
            if (round == 2 && size > 1)
                colours[1] = colours[0]; // a duplicate: the lower index must win
            CHistogram cache;
            CInverseColormap inverse(cache, colours);
            for (int i = 0; i < 3000; ++i) {
                const int a = c0(rng), b = c1(rng), c = c0(rng);
                ASSERT_EQ(inverse.Lookup(a << 3, b << 2, c << 3),
                          NearestColourOfCell(colours, a, b, c))
                    << a << "," << b << "," << c;
            }
        }
    }
}

TEST(RemapFloydSteinberg, MatchesPlainDiffusionOnRandomImages)
{
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> side(1, 23);
    std::uniform_int_distribution<int> count(1, 255);
    for (int round = 0; round < 25; ++round) {
        const QImage image = RandomRgb24(rng, side(rng), side(rng));
        const std::vector<SBgr> colours = RandomColours(rng, size_t(count(rng)));
        SCOPED_TRACE(testing::Message() << image.width() << "x" << image.height() << ", "
                                        << colours.size() << " colours");
        CHistogram cache;
        QImage indexed(image.size(), QImage::Format_Indexed8);
        RemapFloydSteinberg(image, nullptr, colours, cache, indexed);
        EXPECT_EQ(test::Indexes(indexed), PlainFloydSteinberg(image, colours));
    }
}

TEST(RemapFloydSteinberg, LowAlphaPixelsAreSkippedInTheRow)
{
    // In a single row no error comes from above, so skipping a pixel leaves the others mapped as
    // if it were not there at all.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> alphaPick(0, 9);
    for (int round = 0; round < 20; ++round) {
        const QImage row = RandomRgb24(rng, 40, 1);
        const std::vector<SBgr> colours = RandomColours(rng, 12);
        QImage argb(row.size(), QImage::Format_ARGB32);
        std::vector<int> kept;
        for (int x = 0; x < row.width(); ++x) {
            const int a = alphaPick(rng); // 0..4 skipped, 5..9 kept
            argb.setPixel(x, 0, qRgba(0, 0, 0, a));
            if (a >= 5)
                kept.push_back(x);
        }
        QImage keptRow(int(kept.size()), 1, QImage::Format_BGR888);
        for (size_t i = 0; i < kept.size(); ++i)
            std::copy_n(row.constScanLine(0) + 3 * kept[i], 3, keptRow.scanLine(0) + 3 * i);

        CHistogram cache;
        QImage indexed(row.size(), QImage::Format_Indexed8);
        RemapFloydSteinberg(row, &argb, colours, cache, indexed);
        const std::vector<int> all = test::Indexes(indexed);
        std::vector<int> expectedKept;
        if (!kept.empty()) {
            QImage keptIndexed(keptRow.size(), QImage::Format_Indexed8);
            RemapFloydSteinberg(keptRow, nullptr, colours, cache, keptIndexed);
            expectedKept = test::Indexes(keptIndexed);
        }
        std::vector<int> actualKept;
        for (int x = 0; x < row.width(); ++x) {
            if (std::find(kept.begin(), kept.end(), x) == kept.end())
                EXPECT_EQ(all[size_t(x)], 12) << x; // the transparent index: colours.size()
            else
                actualKept.push_back(all[size_t(x)]);
        }
        EXPECT_EQ(actualKept, expectedKept);
    }
}

} // namespace
} // namespace quillary::imaging
