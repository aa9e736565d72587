// Histogram, box statistics, the choice and split of boxes, and box colours.
#include "imaging/histogram.h"
#include "imaging/median_cut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include <array>

namespace quillary::imaging {
namespace {

struct SCell {
    int c0, c1, c2;
    uint16_t count = 1;
};

CHistogram HistogramOf(std::initializer_list<SCell> cells)
{
    CHistogram h;
    for (const SCell& c : cells)
        h.Cells()[CHistogram::CellIndex(c.c0, c.c1, c.c2)] = c.count;
    return h;
}

TEST(CHistogram, CountsTopBitsAndSaturates)
{
    QImage image(70000, 1, QImage::Format_BGR888);
    image.fill(0);
    uint8_t* row = image.scanLine(0);
    row[0] = 0xFF; // blue 255 -> c0 31
    row[1] = 0x04; // green 4 -> c1 1
    row[2] = 0x08; // red 8 -> c2 1
    CHistogram h;
    h.Count(image);
    EXPECT_EQ(h.At(31, 1, 1), 1);
    EXPECT_EQ(h.At(0, 0, 0), 65535); // 69999 black pixels
}

TEST(CHistogram, RunCountingAgreesWithCountingPixelByPixel)
{
    std::mt19937 random(77);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        // Rows of runs of a few colours, long enough in some rounds to saturate cells.
        const int width = 1 + int(random() % (round % 4 == 0 ? 70000 : 500));
        QImage image(width, 1 + int(random() % 8), QImage::Format_BGR888);
        for (int y = 0; y < image.height(); ++y) {
            uint8_t* row = image.scanLine(y);
            uint8_t colour[3] = {0, 0, 0};
            for (int x = 0; x < width; ++x) {
                if (random() % 6 == 0) {
                    for (uint8_t& c : colour)
                        c = uint8_t(random() % 3 * 100);
                }
                std::copy(colour, colour + 3, row + 3 * x);
            }
        }
        std::vector<uint32_t> plain(32 * 64 * 32, 0);
        for (int y = 0; y < image.height(); ++y) {
            const uint8_t* row = image.constScanLine(y);
            for (int x = 0; x < width; ++x) {
                uint32_t& cell =
                    plain[CHistogram::CellOfColour(row[3 * x], row[3 * x + 1], row[3 * x + 2])];
                cell = std::min<uint32_t>(cell + 1, 65535);
            }
        }
        CHistogram h;
        h.Count(image);
        for (size_t i = 0; i < plain.size(); ++i)
            ASSERT_EQ(h.Cells()[i], plain[i]) << "cell " << i;
    }
}

TEST(UpdateBox, ShrinksToCellsAndMeasures)
{
    const CHistogram h = HistogramOf({{2, 10, 5}, {6, 10, 9}});
    SBox box{0, 31, 0, 63, 0, 31};
    UpdateBox(h, box);
    EXPECT_EQ(box, (SBox{2, 6, 10, 10, 5, 9, (4 * 16) * (4 * 16) + (4 * 8) * (4 * 8), 2}));
}

TEST(MedianCut, SplitAxis)
{
    // Cells A (0,0,0), B (d0,d1,d2), C (d0,0,0), D (0,d1,0): each axis splits them differently,
    // so the lowest cell of the new box tells the axis.
    struct Case {
        const char* name;
        int d0, d1, d2;
        int axis;
    };
    const Case cases[] = {
        {"blue 48 = green 48: green", 3, 4, 0, 1}, {"blue 48 > green 36: blue", 3, 3, 0, 0},
        {"red 48 = blue 48: blue", 3, 0, 6, 0},    {"red 56 > blue 48: red", 3, 0, 7, 2},
        {"red 48 = green 48: green", 0, 4, 6, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHistogram h = HistogramOf({{0, 0, 0}, {c.d0, c.d1, c.d2}, {c.d0, 0, 0}, {0, c.d1, 0}});
        const std::vector<SBox> boxes = MedianCut(h, 2);
        ASSERT_EQ(boxes.size(), 2u);
        const std::array<int, 3> expected = c.axis == 0   ? std::array{c.d0, 0, 0}
                                            : c.axis == 1 ? std::array{0, c.d1, 0}
                                                          : std::array{c.d0, c.d1, c.d2};
        EXPECT_EQ((std::array{boxes[1].min0, boxes[1].min1, boxes[1].min2}), expected);
    }
}

TEST(MedianCut, PicksByColourCountFirstThenByVolume)
{
    // Along green only: three close cells and two far apart ones. The first cut (at 31)
    // separates the groups; the next pick depends on whether 2 x boxes <= desired.
    const CHistogram h = HistogramOf({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 40, 0}, {0, 63, 0}});
    const auto box = [&](int min1, int max1) {
        SBox b{0, 0, min1, max1, 0, 0};
        UpdateBox(h, b);
        return b;
    };
    struct Case {
        int desired;
        std::vector<SBox> expected;
    };
    const Case cases[] = {
        // 2 boxes, 2 x 2 > 3: the far pair has the larger volume.
        {3, {box(0, 2), box(40, 40), box(63, 63)}},
        // 2 x 2 <= 4: the close group has more colours; then by volume the far pair.
        {4, {box(0, 1), box(40, 40), box(2, 2), box(63, 63)}},
        // By count, the first box winning the tie of 2 and 2 colours, until every cell has its
        // own box and nothing is left to cut.
        {255, {box(0, 0), box(40, 40), box(2, 2), box(1, 1), box(63, 63)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desired);
        EXPECT_EQ(MedianCut(h, c.desired), c.expected);
    }
}

TEST(BoxColour, WeightedMeanOfCellCentres)
{
    struct Case {
        const char* name;
        std::initializer_list<SCell> cells;
        SBgr expected;
    };
    const Case cases[] = {
        {"one cell: its centre", {{0, 0, 0, 5}}, {4, 2, 4}},
        {"top cell", {{31, 63, 31, 1}}, {252, 254, 252}},
        {"weights 1:2 -> (4 + 24 + 1) / 3", {{0, 0, 0, 1}, {1, 0, 0, 2}}, {9, 2, 4}},
        {"weights 1:1 -> (4 + 12 + 1) / 2", {{0, 0, 0, 1}, {1, 1, 1, 1}}, {8, 4, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CHistogram h = HistogramOf(c.cells);
        SBox box{0, 31, 0, 63, 0, 31};
        UpdateBox(h, box);
        EXPECT_EQ(BoxColour(h, box), c.expected);
    }
}

} // namespace
} // namespace quillary::imaging
