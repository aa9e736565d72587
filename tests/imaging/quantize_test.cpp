// Colour reduction: the exact-colour path, flattening, the quantizing path's alpha and corner
// rules, the shared canvas of QuantizeBitmaps, and a golden image worked through by hand.
#include "imaging/bitmap.h"
#include "imaging/exact_palette.h"
#include "imaging/flatten.h"
#include "imaging/quantize.h"

#include "test_images.h"

#include <gtest/gtest.h>

namespace quillary::imaging {
namespace {

using test::Indexes;
constexpr uint32_t kHasAlpha = pgs::SColorPalette::kHasAlpha;

// `count` distinct opaque colours, far enough apart that no two share a histogram cell
// (blue and red step by 8 cells, green by 4).
std::vector<uint32_t> DistinctColours(int count)
{
    std::vector<uint32_t> colours;
    for (int i = 0; i < count; ++i) {
        const int blue = (i % 32) * 8, red = ((i / 32) % 32) * 8, green = (i / 1024) * 4;
        colours.push_back(0xFF000000u | uint32_t(red << 16) | uint32_t(green << 8) |
                          uint32_t(blue));
    }
    return colours;
}

TEST(QuantizeBitmap, ExactPath)
{
    constexpr uint32_t kT = 0x00123456; // alpha 0: only "transparent", its colour is dropped
    constexpr uint32_t kA = 0xFF0000FF, kB = 0x80FF0000, kC = 0x01ABCDEF;
    struct Case {
        const char* name;
        int width, height;
        std::vector<uint32_t> pixels;
        std::vector<uint32_t> palette;
        std::vector<int> indexes;
        int transparentIndex;
    };
    const Case cases[] = {
        {"first appearance order, transparent black last; top-left transparent",
         3,
         2,
         {kT, kA, kB, kA, kT, kC},
         {kA, kB, kC, 0},
         {3, 0, 1, 0, 3, 2},
         3},
        {"opaque: no transparent entry; diagonal pair (1,2) picks the top-right",
         2,
         2,
         {kA, kB, kB, kA},
         {kA, kB},
         {0, 1, 1, 0},
         1},
        // In one row the bottom corners are the top ones: the pair (1,3) picks the top-right.
        {"alpha 1-4 keep their colours",
         4,
         1,
         {0x01102030, 0x02102030, 0x03102030, 0x04102030},
         {0x01102030, 0x02102030, 0x03102030, 0x04102030},
         {0, 1, 2, 3},
         3},
        {"one colour and transparent make two entries", 2, 1, {kA, kT}, {kA, 0}, {0, 1}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage source = test::Argb(c.width, c.height, c.pixels);
        QImage indexed;
        uint8_t transparent = 0xEE;
        const auto palette = QuantizeBitmap(source, &indexed, &transparent);
        ASSERT_TRUE(palette);
        EXPECT_EQ(*palette, (pgs::SColorPalette{kHasAlpha, c.palette}));
        EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
        EXPECT_EQ(indexed.colorTable(), QList<QRgb>(c.palette.begin(), c.palette.end()));
        EXPECT_EQ(Indexes(indexed), c.indexes);
        EXPECT_EQ(transparent, c.transparentIndex);
    }
}

TEST(CExactColours, AbandonRules)
{
    const std::vector<uint32_t> colours = DistinctColours(256);
    const std::vector<uint32_t> first255(colours.begin(), colours.begin() + 255);
    const auto then = [&](std::initializer_list<uint32_t> more) {
        std::vector<uint32_t> pixels = first255;
        pixels.insert(pixels.end(), more);
        return pixels;
    };
    struct Case {
        const char* name;
        std::vector<uint32_t> pixels;
        int entries; // 0: abandoned
    };
    const Case cases[] = {
        {"255 colours", first255, 255},
        {"255 colours, the last one repeated", then({colours[254], colours[254]}), 255},
        {"255 colours, then transparent: 256 entries", then({0, 0x00FFFFFF}), 256},
        {"255 colours, then an already listed one", then({colours[0]}), 0},
        {"255 colours, then a new one", then({colours[255]}), 0},
        {"one colour", {colours[7], colours[7]}, 0},
        {"fully transparent", {0, 0x00FFFFFF, 0x00000001}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto exact = CExactColours::Collect(test::Argb(int(c.pixels.size()), 1, c.pixels));
        EXPECT_EQ(exact ? int(exact->Palette().entries.size()) : 0, c.entries);
    }
}

TEST(QuantizeBitmap, FullPaletteLosesItsTransparentEntryInTheStreamPalette)
{
    // 255 colours and transparent pixels: 256 entries with transparent black at 255, which the
    // stream's palette (at most 255 entries) leaves out.
    std::vector<uint32_t> pixels = DistinctColours(255);
    pixels.push_back(0);
    uint8_t transparent = 0;
    const auto palette = QuantizeBitmap(test::Argb(256, 1, pixels), nullptr, &transparent);
    ASSERT_TRUE(palette);
    ASSERT_EQ(palette->entries.size(), 256u);
    EXPECT_EQ(palette->entries[255], 0u);
    pgs::CErgbPalette ergb;
    EXPECT_EQ(ergb.SetFromColorPalette(&*palette, transparent, 0.0), 255);
    // Colour 254: blue (254 % 32) * 8, red (254 / 32) * 8.
    EXPECT_EQ(ergb.entries.back(), (pgs::ERGBQUAD{254, 0xF0, 0, 0x38, 0xFF}));
}

TEST(QuantizeBitmap, WithoutOutputGivesTheSamePaletteAndIndex)
{
    struct Case {
        const char* name;
        QImage source;
    };
    std::vector<uint32_t> many = DistinctColours(300);
    many.resize(400, 0x02808080);
    const Case cases[] = {
        {"exact", test::Argb(2, 2, {0xFF000001, 0, 0xFF000002, 0xFF000001})},
        {"quantized with alpha", test::Argb(20, 20, many)},
        {"24-bit", test::Rgb24(3, 1, {0x102030, 0x405060, 0x102030})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage indexed;
        uint8_t withOutput = 0, withoutOutput = 0;
        const auto palette = QuantizeBitmap(c.source, &indexed, &withOutput);
        ASSERT_TRUE(palette);
        EXPECT_EQ(QuantizeBitmap(c.source, nullptr, &withoutOutput), palette);
        EXPECT_EQ(withoutOutput, withOutput);
    }
}

TEST(QuantizeBitmap, FullyTransparentMapsEverythingToTheTransparentIndex)
{
    // The exact path lists only transparent black and gives up; the quantizer sees the
    // flattened (inverted) colours, but every pixel has alpha 0.
    const QImage source =
        test::Argb(3, 2, {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0});
    QImage indexed;
    uint8_t transparent = 0;
    const auto palette = QuantizeBitmap(source, &indexed, &transparent);
    ASSERT_TRUE(palette);
    // White inverts to black (cell 0,0,0), black to white (cell 31,63,31): two boxes, neither
    // used, so both stay transparent; transparent black follows.
    EXPECT_EQ(*palette, (pgs::SColorPalette{kHasAlpha, {0x00040204, 0x00FCFEFC, 0}}));
    EXPECT_EQ(transparent, 2);
    EXPECT_EQ(Indexes(indexed), std::vector<int>(6, 2));
}

TEST(QuantizeBitmap, LowAlphaInTheQuantizingPath)
{
    // 300 distinct opaque colours force the quantizer; the last row tries each alpha.
    const std::vector<uint32_t> colours = DistinctColours(300);
    struct Case {
        uint8_t alpha;
        bool transparent;
    };
    const Case cases[] = {{0, true}, {1, true},  {2, true},    {3, true},
                          {4, true}, {5, false}, {128, false}, {255, false}};
    std::vector<uint32_t> pixels = colours;
    for (const Case& c : cases)
        pixels.push_back((uint32_t(c.alpha) << 24) | 0x00808080);
    pixels.resize(20 * 16, 0xFF000000);
    const QImage source = test::Argb(20, 16, pixels);

    QImage indexed;
    uint8_t transparent = 0;
    const auto palette = QuantizeBitmap(source, &indexed, &transparent);
    ASSERT_TRUE(palette);
    ASSERT_EQ(transparent, palette->entries.size() - 1);
    EXPECT_EQ(palette->entries.back(), 0u);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(int(cases[i].alpha));
        const size_t at = colours.size() + i;
        const int index = indexed.pixelIndex(int(at % 20), int(at / 20));
        EXPECT_EQ(index == transparent, cases[i].transparent);
        if (!cases[i].transparent) { // its entry's alpha comes from a visible pixel
            EXPECT_NE(qAlpha(palette->entries[size_t(index)]), 0);
        }
    }
}

TEST(QuantizeBitmap, EntryAlphaComesFromTheFirstPixelInRasterOrder)
{
    // 300 colours fill rows 0-14. Row 15 runs right to left and holds one grey (flattening to
    // the same colour) at either end: alpha 100 at the left, met last, and 200 at the right.
    std::vector<uint32_t> pixels = DistinctColours(300);
    std::vector<uint32_t> greyRow(20, 0xFF000000);
    greyRow[0] = 0x64808080;
    greyRow[19] = 0xC8808080;
    pixels.insert(pixels.end(), greyRow.begin(), greyRow.end());
    const QImage source = test::Argb(20, 16, pixels);
    QImage indexed;
    const auto palette = QuantizeBitmap(source, &indexed, nullptr);
    ASSERT_TRUE(palette);
    const int grey = indexed.pixelIndex(0, 15);
    ASSERT_EQ(indexed.pixelIndex(19, 15), grey) << "both greys should share an entry";
    EXPECT_EQ(qAlpha(palette->entries[size_t(grey)]), 100);
}

TEST(QuantizeBitmap, TransparentIndexOfOpaqueImagesFollowsTheCorners)
{
    constexpr uint32_t kA = 0x000000, kB = 0xFFFFFF, kC = 0xFF0000, kD = 0x00FF00, kM = 0x0000FF;
    struct Case {
        const char* name;
        uint32_t topLeft, topRight, bottomLeft, bottomRight;
        QPoint background;
    };
    const Case cases[] = {
        {"four different corners: top-left", kA, kB, kC, kD, {0, 0}},
        {"equal right corners: top-right", kA, kB, kC, kB, {2, 0}},
        {"equal bottom corners: bottom-left", kA, kB, kC, kC, {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage source =
            test::Rgb24(3, 2, {c.topLeft, kM, c.topRight, c.bottomLeft, kM, c.bottomRight});
        QImage indexed;
        uint8_t transparent = 0;
        const auto palette = QuantizeBitmap(source, &indexed, &transparent);
        ASSERT_TRUE(palette);
        EXPECT_EQ(transparent, indexed.pixelIndex(c.background));
        for (size_t i = 0; i < palette->entries.size(); ++i)
            EXPECT_EQ(qAlpha(palette->entries[i]), i == transparent ? 0 : 255) << i;
    }
}

TEST(QuantizeBitmap, IndexedSourcesKeepTheirPalette)
{
    const QString dir = QString(QUILLARY_TEST_DATA_DIR) + "/imaging/";
    const QImage mono = LoadBitmap(dir + "mono_two_colours.bmp");
    const QImage sources[] = {LoadBitmap(dir + "indexed_four_colours.png"), mono,
                              mono.convertToFormat(QImage::Format_MonoLSB)};
    for (const QImage& source : sources) {
        SCOPED_TRACE(source.format());
        ASSERT_FALSE(source.isNull());
        QImage indexed;
        uint8_t transparent = 0;
        const auto palette = QuantizeBitmap(source, &indexed, &transparent);
        ASSERT_TRUE(palette);
        EXPECT_EQ(*palette, ColorPaletteOf(source));
        ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x)
                EXPECT_EQ(indexed.pixelIndex(x, y), source.pixelIndex(x, y));
        }
        // In both files the last pair of equal corners starts at the top-right.
        EXPECT_EQ(transparent, source.pixelIndex(source.width() - 1, 0));
    }
}

TEST(QuantizeBitmap, OtherFormatsAreDrawnOntoBlack)
{
    // Premultiplied: opaque red, half-transparent white, transparent; over black these are red,
    // grey 128 and black, with no alpha left.
    QImage premultiplied(3, 1, QImage::Format_ARGB32_Premultiplied);
    premultiplied.setPixel(0, 0, qPremultiply(0xFFFF0000));
    premultiplied.setPixel(1, 0, qPremultiply(0x80FFFFFF));
    premultiplied.setPixel(2, 0, 0);
    const QImage drawn = test::Rgb24(3, 1, {0xFF0000, 0x808080, 0x000000});
    QImage fromOther, fromDrawn;
    uint8_t otherTransparent = 0, drawnTransparent = 1;
    const auto other = QuantizeBitmap(premultiplied, &fromOther, &otherTransparent);
    const auto expected = QuantizeBitmap(drawn, &fromDrawn, &drawnTransparent);
    ASSERT_TRUE(other);
    EXPECT_EQ(other, expected);
    EXPECT_EQ(Indexes(fromOther), Indexes(fromDrawn));
    EXPECT_EQ(otherTransparent, drawnTransparent);
}

TEST(QuantizeBitmap, EmptySourcesGiveNothing)
{
    for (const QImage& source :
         {QImage(), QImage(0, 4, QImage::Format_ARGB32), QImage(4, 0, QImage::Format_BGR888)}) {
        EXPECT_FALSE(QuantizeBitmap(source, nullptr, nullptr));
        EXPECT_TRUE(ToIndexedBitmap(source).isNull());
    }
}

TEST(QuantizeBitmap, GoldenBlueSteps)
{
    // Blue 8 8 7 / 8 7 7, green and red 0. Blue 7 and 8 fall in cells 0 and 1, so the median
    // cut ends with box 0 = cell (0,0,0) and box 1 = cell (1,0,0): colours (b,g,r) (4,2,4) and
    // (12,2,4); a value maps to 1 exactly when blue (with error) is >= 8. Green and red errors
    // are negative and clamp at 0. Blue, in sixteenths:
    //   row 0 ->: 8 -> 1, e -4; (-28+8)>>4 = -2: 6 -> 0, e 2; (14+8)>>4 = 1: 8 -> 1, e -4;
    //             slots for row 1 by column: -14, -6, -18
    //   row 1 <-: (-18+8)>>4 = -1: 6 -> 0, e 2; (14-6+8)>>4 = 1: 8 -> 1, e -4;
    //             (-28-14+8)>>4 = -3: 5 -> 0.
    // Corners: top-left = bottom-left, then top-right = bottom-right: the top-right (index 1)
    // is the background, whose entry becomes transparent.
    const QImage source =
        LoadBitmap(QString(QUILLARY_TEST_DATA_DIR) + "/imaging/golden_blue_steps_3x2.png");
    ASSERT_EQ(PixelFormatOf(source), EPixelFormat::kRgb24);
    QImage indexed;
    uint8_t transparent = 0;
    const auto palette = QuantizeBitmap(source, &indexed, &transparent);
    ASSERT_TRUE(palette);
    EXPECT_EQ(*palette, (pgs::SColorPalette{kHasAlpha, {0xFF040204, 0x0004020C}}));
    EXPECT_EQ(Indexes(indexed), (std::vector<int>{1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(transparent, 1);
}

TEST(QuantizeBitmaps, SideBySideCanvasWithAMissingSource)
{
    // A (2x2) and B (1x4) around an absent source: a 3x4 transparent canvas with A at (0,1) and
    // B at (2,0). The exact path lists colours in the canvas's raster order, which shows where
    // each source went.
    const QImage a = test::Argb(2, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
    const QImage b = test::Argb(1, 4, {0xFF0000B0, 0xFF0000B1, 0xFF0000B2, 0xFF0000B3});
    const QImage* sources[] = {&a, nullptr, &b};
    QImage out[3];
    uint8_t transparent = 0;
    const auto palette = QuantizeBitmaps(sources, out, &transparent);
    ASSERT_TRUE(palette);
    EXPECT_EQ(*palette, (pgs::SColorPalette{kHasAlpha,
                                            {0xFF0000B0, 0xFF000001, 0xFF000002, 0xFF0000B1,
                                             0xFF000003, 0xFF000004, 0xFF0000B2, 0xFF0000B3, 0}}));
    EXPECT_EQ(transparent, 8); // the canvas's transparent top-left
    EXPECT_EQ(Indexes(out[0]), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_TRUE(out[1].isNull());
    EXPECT_EQ(Indexes(out[2]), (std::vector<int>{0, 3, 6, 7}));
    for (const QImage* o : {&out[0], &out[2]})
        EXPECT_EQ(o->colorTable(), QList<QRgb>(palette->entries.begin(), palette->entries.end()));
}

TEST(QuantizeBitmaps, Rgb24CanvasIsFilledWithTheFirstTopLeftColour)
{
    // 2x1 [X Y] and 1x3 [P Q R]: the canvas is 3x3 with X at (0,1). A fill with X adds no
    // colour, so the quantizer finds exactly five.
    const QImage first = test::Rgb24(2, 1, {0x102030, 0x405060});
    const QImage second = test::Rgb24(1, 3, {0x800000, 0x008000, 0x000080});
    const QImage* sources[] = {&first, &second};
    QImage out[2];
    uint8_t transparent = 0;
    const auto palette = QuantizeBitmaps(sources, out, &transparent);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->entries.size(), 5u);
    EXPECT_EQ(out[0].size(), QSize(2, 1));
    EXPECT_EQ(out[1].size(), QSize(1, 3));
    // Corners X, P, X, R: the pair (0,2) makes the top-left, filled with X, the background.
    EXPECT_EQ(transparent, out[0].pixelIndex(0, 0));
}

TEST(QuantizeBitmaps, NothingPresent)
{
    const QImage a = test::Argb(1, 1, {0xFF112233});
    const QImage* none[] = {nullptr, nullptr};
    const QImage* one[] = {&a};
    QImage out[2];
    EXPECT_FALSE(QuantizeBitmaps(none, out, nullptr));
    EXPECT_FALSE(QuantizeBitmaps(std::span<const QImage* const>(), {}, nullptr));
    EXPECT_FALSE(QuantizeBitmaps(std::span(none, 1), std::span(out, 1), nullptr));
    EXPECT_FALSE(QuantizeBitmaps(one, out, nullptr)) << "one source, two slots";
}

TEST(ToIndexedBitmap, ConvertsAllButIndexed8)
{
    const QImage indexed8 =
        LoadBitmap(QString(QUILLARY_TEST_DATA_DIR) + "/imaging/indexed_four_colours.png");
    EXPECT_TRUE(ToIndexedBitmap(indexed8).isNull());
    const QImage argb = test::Argb(2, 1, {0xFF112233, 0});
    const QImage out = ToIndexedBitmap(argb);
    ASSERT_EQ(out.format(), QImage::Format_Indexed8);
    EXPECT_EQ(out.colorTable(), (QList<QRgb>{0xFF112233, 0}));
    EXPECT_EQ(Indexes(out), (std::vector<int>{0, 1}));
}

TEST(Flatten, ChannelValues)
{
    struct Case {
        uint8_t c, alpha, flat;
    };
    const Case cases[] = {{200, 255, 200}, {200, 0, 55},  {0, 0, 255}, {255, 0, 0},
                          {10, 128, 127},  {200, 64, 91}, {30, 1, 224}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.c) << " @ " << int(c.alpha));
        EXPECT_EQ(FlattenChannel(c.c, c.alpha), c.flat);
    }
    const QImage flat = FlattenToRgb24(test::Argb(1, 1, {0x40C80A1E})); // r 200, g 10, b 30
    ASSERT_EQ(flat.format(), QImage::Format_BGR888);
    const uint8_t* p = flat.constScanLine(0);
    EXPECT_EQ(p[0], FlattenChannel(30, 0x40));
    EXPECT_EQ(p[1], FlattenChannel(10, 0x40));
    EXPECT_EQ(p[2], FlattenChannel(200, 0x40));
}

} // namespace
} // namespace quillary::imaging
