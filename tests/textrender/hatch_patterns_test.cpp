// The 53 hatch patterns: distinct from one another however they are shifted, two-coloured,
// and shaped as their names say.
#include "textrender/hatch_patterns.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <string>

namespace quillary::textrender {
namespace {

bool Bit(const HatchPattern& p, int x, int y)
{
    return (p[size_t(((y % 8) + 8) % 8)] & (0x80u >> (((x % 8) + 8) % 8))) != 0;
}

// The pattern moved by (dx, dy), wrapping around the tile.
HatchPattern Shifted(const HatchPattern& p, int dx, int dy)
{
    HatchPattern out{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (Bit(p, x - dx, y - dy)) {
                out[size_t(y)] |= uint8_t(0x80u >> x);
            }
        }
    }
    return out;
}

int Count(const HatchPattern& p)
{
    int n = 0;
    for (const uint8_t row : p) {
        n += std::popcount(row);
    }
    return n;
}

int StyleOf(const std::string& name)
{
    for (int i = 0; i < kHatchStyleCount; ++i) {
        if (name == kHatchStyleNames[size_t(i)]) {
            return i;
        }
    }
    ADD_FAILURE() << "no style " << name;
    return 0;
}

TEST(HatchPatterns, NamesInValueOrder)
{
    EXPECT_STREQ(kHatchStyleNames[0], "Horizontal");
    EXPECT_STREQ(kHatchStyleNames[4], "Cross");
    EXPECT_STREQ(kHatchStyleNames[6], "05Percent");
    EXPECT_STREQ(kHatchStyleNames[18], "LightDownwardDiagonal");
    EXPECT_STREQ(kHatchStyleNames[36], "ZigZag");
    EXPECT_STREQ(kHatchStyleNames[52], "SolidDiamond");
}

// Tiled patterns look alike when one is a shifted copy of the other, so no two styles may be.
TEST(HatchPatterns, DistinctUnderEveryShiftAndTwoColoured)
{
    for (int a = 0; a < kHatchStyleCount; ++a) {
        SCOPED_TRACE(kHatchStyleNames[size_t(a)]);
        const int count = Count(kHatchPatterns[size_t(a)]);
        EXPECT_GT(count, 0);
        EXPECT_LT(count, 64);
        for (int b = a + 1; b < kHatchStyleCount; ++b) {
            for (int dy = 0; dy < 8; ++dy) {
                for (int dx = 0; dx < 8; ++dx) {
                    ASSERT_NE(Shifted(kHatchPatterns[size_t(a)], dx, dy), kHatchPatterns[size_t(b)])
                        << "looks like " << kHatchStyleNames[size_t(b)];
                }
            }
        }
    }
}

TEST(HatchPatterns, PercentagesCoverTheirShareEvenly)
{
    const int percents[] = {5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};
    const HatchPattern* lighter = nullptr;
    for (const int percent : percents) {
        const std::string name = (percent < 10 ? "0" : "") + std::to_string(percent) + "Percent";
        SCOPED_TRACE(name);
        const HatchPattern& p = kHatchPatterns[size_t(StyleOf(name))];
        EXPECT_LE(std::abs(Count(p) * 100 - percent * 64), 100); // within one pixel
        // Evenly: every 4x4 quarter of the tile holds a quarter of the pixels, give or take one.
        for (int q = 0; q < 4; ++q) {
            int n = 0;
            for (int y = 0; y < 4; ++y) {
                for (int x = 0; x < 4; ++x) {
                    n += Bit(p, (q % 2) * 4 + x, (q / 2) * 4 + y) ? 1 : 0;
                }
            }
            EXPECT_LE(std::abs(n * 4 - Count(p)), 4) << "quarter " << q;
        }
        if (lighter != nullptr) { // a darker shade keeps the dots of the lighter one
            for (size_t y = 0; y < 8; ++y) {
                EXPECT_EQ((*lighter)[y] & p[y], (*lighter)[y]);
            }
        }
        lighter = &p;
    }
}

// Line patterns: unchanged when moved along their lines by one pixel, with the named spacing
// (the smallest shift across the lines that maps the pattern onto itself) and line width.
TEST(HatchPatterns, LinesRunAsNamed)
{
    struct Case {
        const char* name;
        int alongX, alongY;   // one step along the lines
        int acrossX, acrossY; // one step across them
        int spacing;
        int width; // pixels of a line, counted across it
    };
    const Case cases[] = {
        {"Horizontal", 1, 0, 0, 1, 8, 1},
        {"LightHorizontal", 1, 0, 0, 1, 4, 1},
        {"NarrowHorizontal", 1, 0, 0, 1, 2, 1},
        {"DarkHorizontal", 1, 0, 0, 1, 4, 2},
        {"Vertical", 0, 1, 1, 0, 8, 1},
        {"LightVertical", 0, 1, 1, 0, 4, 1},
        {"NarrowVertical", 0, 1, 1, 0, 2, 1},
        {"DarkVertical", 0, 1, 1, 0, 4, 2},
        {"ForwardDiagonal", 1, 1, 1, 0, 8, 1},
        {"LightDownwardDiagonal", 1, 1, 1, 0, 4, 1},
        {"DarkDownwardDiagonal", 1, 1, 1, 0, 4, 2},
        {"WideDownwardDiagonal", 1, 1, 1, 0, 8, 3},
        {"BackwardDiagonal", -1, 1, 1, 0, 8, 1},
        {"LightUpwardDiagonal", -1, 1, 1, 0, 4, 1},
        {"DarkUpwardDiagonal", -1, 1, 1, 0, 4, 2},
        {"WideUpwardDiagonal", -1, 1, 1, 0, 8, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HatchPattern& p = kHatchPatterns[size_t(StyleOf(c.name))];
        EXPECT_EQ(Shifted(p, c.alongX, c.alongY), p);
        int spacing = 1;
        while (Shifted(p, c.acrossX * spacing, c.acrossY * spacing) != p) {
            ++spacing;
        }
        EXPECT_EQ(spacing, c.spacing);
        int width = 0;
        for (int i = 0; i < c.spacing; ++i) {
            width += Bit(p, c.acrossX * i, c.acrossY * i) ? 1 : 0;
        }
        EXPECT_EQ(width, c.width);
    }
}

// Dashed lines: along a line, as many pixels on as off.
TEST(HatchPatterns, DashesAreHalfOn)
{
    struct Case {
        const char* name;
        int stepX, stepY;
    };
    const Case cases[] = {
        {"DashedDownwardDiagonal", 1, 1},
        {"DashedUpwardDiagonal", -1, 1},
        {"DashedHorizontal", 1, 0},
        {"DashedVertical", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HatchPattern& p = kHatchPatterns[size_t(StyleOf(c.name))];
        EXPECT_NE(Shifted(p, c.stepX, c.stepY), p); // not a solid line
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (!Bit(p, x, y)) {
                    continue;
                }
                int on = 0;
                for (int i = 0; i < 8; ++i) {
                    on += Bit(p, x + c.stepX * i, y + c.stepY * i) ? 1 : 0;
                }
                EXPECT_EQ(on, 4) << x << "," << y;
            }
        }
    }
}

TEST(HatchPatterns, GridsAndCheckerBoards)
{
    const HatchPattern& cross = kHatchPatterns[size_t(StyleOf("Cross"))];
    const HatchPattern& small = kHatchPatterns[size_t(StyleOf("SmallGrid"))];
    EXPECT_EQ(Count(cross), 15);
    EXPECT_EQ(Shifted(small, 4, 0), small);
    EXPECT_EQ(Shifted(small, 0, 4), small);
    for (const auto& [name, square] :
         {std::pair{"SmallCheckerBoard", 2}, std::pair{"LargeCheckerBoard", 4}}) {
        SCOPED_TRACE(name);
        const HatchPattern& p = kHatchPatterns[size_t(StyleOf(name))];
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                EXPECT_EQ(Bit(p, x, y), ((x / square + y / square) % 2) == 0) << x << "," << y;
            }
        }
    }
}

TEST(HatchPatterns, TileOutOfRangeIsNull)
{
    EXPECT_TRUE(HatchTile(-1, 0xFFFFFFFF, 0xFF000000).isNull());
    EXPECT_TRUE(HatchTile(kHatchStyleCount, 0xFFFFFFFF, 0xFF000000).isNull());
}

} // namespace
} // namespace quillary::textrender
