// CErgbPalette::SetFromColorPalette and RgbToYCrCb.
#include "pgs/ergb_palette.h"
#include "pgs/ycrcb.h"

#include <gtest/gtest.h>

namespace quillary::pgs {
namespace {

TEST(RgbToYCrCb, KnownColours)
{
    struct Case {
        uint8_t r, g, b;
        SYCrCb expected;
    };
    const Case cases[] = {
        {255, 0, 0, {81, 239, 90}},  {0, 255, 0, {144, 34, 53}},
        {0, 0, 255, {40, 109, 239}}, {255, 255, 255, {235, 128, 128}},
        {0, 0, 0, {16, 128, 128}},   {128, 128, 128, {125, 128, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.r) << "," << int(c.g) << "," << int(c.b));
        EXPECT_EQ(RgbToYCrCb(c.r, c.g, c.b), c.expected);
    }
}

TEST(RgbToYCrCb, EveryGreyIsNeutral)
{
    for (int v = 0; v < 256; ++v) {
        const SYCrCb ycc = RgbToYCrCb(uint8_t(v), uint8_t(v), uint8_t(v));
        EXPECT_EQ(ycc.cr, 128) << v;
        EXPECT_EQ(ycc.cb, 128) << v;
    }
}

TEST(SetFromColorPalette, TransparentAlphaIsClampedAndRounded)
{
    SColorPalette source{0, {0xFF112233, 0xFF445566}};
    struct Case {
        double alpha;
        uint8_t expected;
    };
    for (const Case c : {Case{1.7, 255}, Case{-0.2, 0}, Case{0.5, 128}, Case{0.0, 0}}) {
        SCOPED_TRACE(c.alpha);
        CErgbPalette palette;
        ASSERT_EQ(palette.SetFromColorPalette(&source, 1, c.alpha), 2);
        EXPECT_EQ(palette.entries[0].alpha, 255);
        EXPECT_EQ(palette.entries[1].alpha, c.expected);
        EXPECT_EQ(palette.transparentIndex, 1);
    }
}

TEST(SetFromColorPalette, KeepsOwnAlphasAndSplitsChannels)
{
    SColorPalette source{SColorPalette::kHasAlpha, {0x80112233, 0x00000000}};
    CErgbPalette palette;
    ASSERT_EQ(palette.SetFromColorPalette(&source, 0, 1.0), 2);
    EXPECT_EQ(palette.entries[0], (ERGBQUAD{0, 0x33, 0x22, 0x11, 0x80}));
    EXPECT_EQ(palette.entries[1], (ERGBQUAD{1, 0, 0, 0, 0}));
}

TEST(SetFromColorPalette, TakesAtMost255Entries)
{
    SColorPalette source{SColorPalette::kHasAlpha, std::vector<uint32_t>(256, 0xFFFFFFFF)};
    CErgbPalette palette;
    EXPECT_EQ(palette.SetFromColorPalette(&source, 255, 0.0), 255);
    EXPECT_EQ(palette.entries.size(), 255u);
    EXPECT_EQ(palette.entries.back().index, 254);
}

TEST(SetFromColorPalette, NullOrEmptyGivesNothing)
{
    CErgbPalette palette;
    palette.entries.push_back({});
    EXPECT_EQ(palette.SetFromColorPalette(nullptr, 0, 0.0), 0);
    EXPECT_TRUE(palette.entries.empty());
    SColorPalette empty;
    EXPECT_EQ(palette.SetFromColorPalette(&empty, 0, 0.0), 0);
}

} // namespace
} // namespace quillary::pgs
