// The graphics layer: decoding files into the engine's formats, creating bitmaps, drawing.
#include "imaging/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillary::imaging {
namespace {

QString DataFile(const char* name)
{
    return QString(QUILLARY_TEST_DATA_DIR) + "/imaging/" + name;
}

TEST(LoadBitmap, FormatsAndPalettes)
{
    struct Case {
        const char* file;
        EPixelFormat format;
        int width, height;
        int paletteSize; // -1: not indexed
        QPoint probe;
        uint32_t probeArgb;
    };
    const Case cases[] = {
        {"indexed_four_colours.png", EPixelFormat::kIndexed8, 8, 2, 4, {4, 1}, 0xFF0000FF},
        // Qt's GIF reader gives true colour, so GIF files lose their palette.
        {"indexed_four_colours.gif", EPixelFormat::kRgb24, 8, 2, -1, {2, 0}, 0xFF00FF00},
        {"mono_two_colours.bmp", EPixelFormat::kIndexed1, 4, 2, 2, {3, 1}, 0xFF000000},
        {"opaque_gradient.jpg", EPixelFormat::kRgb24, 8, 8, -1, {0, 0}, 0},
        {"alpha_points.png", EPixelFormat::kArgb32, 4, 1, -1, {1, 0}, 0x80FF0000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QImage image = LoadBitmap(DataFile(c.file));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(PixelFormatOf(image), c.format);
        EXPECT_EQ(image.size(), QSize(c.width, c.height));
        EXPECT_EQ(ColorPaletteOf(image).entries.size(), size_t(std::max(c.paletteSize, 0)));
        if (c.probeArgb != 0) {
            EXPECT_EQ(PixelArgb(image, c.probe.x(), c.probe.y()), c.probeArgb);
        }
    }
}

TEST(LoadBitmap, Rgb24KeepsBlueFirstInMemory)
{
    const QImage image = LoadBitmap(DataFile("golden_blue_steps_3x2.png"));
    ASSERT_EQ(PixelFormatOf(image), EPixelFormat::kRgb24);
    const uint8_t* row = image.constScanLine(0);
    EXPECT_EQ(row[0], 8); // blue
    EXPECT_EQ(row[1], 0);
    EXPECT_EQ(row[2], 0);
}

TEST(LoadBitmap, MissingOrBrokenFileFails)
{
    EXPECT_TRUE(LoadBitmap(DataFile("no_such_file.png")).isNull());
    EXPECT_TRUE(LoadBitmap(QString(QUILLARY_TEST_DATA_DIR) + "/imaging").isNull());
}

TEST(ColorPaletteOf, FlagsAlphaOnlyWhenAnEntryIsNotOpaque)
{
    QImage image(1, 1, QImage::Format_Indexed8);
    image.setColorTable({0xFF000000, 0xFFFFFFFF});
    EXPECT_EQ(ColorPaletteOf(image).flags, 0u);
    SetColorPalette(image, {0, {0xFF000000, 0x80FFFFFF}});
    EXPECT_EQ(ColorPaletteOf(image),
              (pgs::SColorPalette{pgs::SColorPalette::kHasAlpha, {0xFF000000, 0x80FFFFFF}}));
}

TEST(CreateBitmap, FormatsAndFailures)
{
    struct Case {
        int width, height;
        EPixelFormat format;
        bool made;
    };
    const Case cases[] = {
        {2, 3, EPixelFormat::kArgb32, true},   {2, 3, EPixelFormat::kRgb24, true},
        {2, 3, EPixelFormat::kIndexed8, true}, {9, 1, EPixelFormat::kIndexed1, true},
        {0, 3, EPixelFormat::kArgb32, false},  {2, -1, EPixelFormat::kRgb24, false},
        {2, 3, EPixelFormat::kOther, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << int(c.format));
        const QImage image = CreateBitmap(c.width, c.height, c.format);
        EXPECT_EQ(!image.isNull(), c.made);
        if (c.made) {
            EXPECT_EQ(PixelFormatOf(image), c.format);
        }
    }
}

TEST(DrawImage, NearestRepeatsPixelsSmoothBlends)
{
    QImage source(2, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, 0xFF000000);
    source.setPixel(1, 0, 0xFFFFFFFF);
    for (const EInterpolation mode : {EInterpolation::kNearest, EInterpolation::kSmooth}) {
        SCOPED_TRACE(int(mode));
        QImage target(8, 1, QImage::Format_ARGB32);
        target.fill(0);
        ASSERT_TRUE(DrawImage(target, target.rect(), source, mode));
        bool anyBlend = false;
        for (int x = 0; x < 8; ++x) {
            const uint32_t p = PixelArgb(target, x, 0);
            anyBlend = anyBlend || (p != 0xFF000000 && p != 0xFFFFFFFF);
        }
        EXPECT_EQ(anyBlend, mode == EInterpolation::kSmooth);
        if (mode == EInterpolation::kNearest) {
            EXPECT_EQ(PixelArgb(target, 3, 0), 0xFF000000);
            EXPECT_EQ(PixelArgb(target, 4, 0), 0xFFFFFFFF);
        }
    }
    QImage indexed(2, 2, QImage::Format_Indexed8);
    EXPECT_FALSE(DrawImage(indexed, indexed.rect(), source, EInterpolation::kNearest));
}

TEST(PixelArgb, OutsideIsZero)
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(0xFF112233);
    EXPECT_EQ(PixelArgb(image, 0, 0), 0xFF112233u);
    EXPECT_EQ(PixelArgb(image, 1, 0), 0u);
    EXPECT_EQ(PixelArgb(QImage(), 0, 0), 0u);
}

} // namespace
} // namespace quillary::imaging
