// CreateBrush: which brushes are made, and what the gradient, hatch and texture brushes paint.
#include "textrender/brush.h"

#include "test_support.h"
#include "textrender/hatch_patterns.h"

#include <QColor>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

namespace quillary::textrender {
namespace {

TEST(CreateBrush, WhichBrushesAreMade)
{
    struct Case {
        const char* name;
        std::function<void(CTextTmp&)> setup;
        std::optional<Qt::BrushStyle> style; // none: no brush
    };
    const auto withTexture = [](const QString& path) {
        return [path](CTextTmp& t) {
            CSilentMessageSink silent;
            t.brushType = EBrushType::kTexture;
            ASSERT_TRUE(t.SetTextureImage(path, silent));
        };
    };
    const Case cases[] = {
        {"solid", [](CTextTmp&) {}, Qt::SolidPattern},
        {"hatch", [](CTextTmp& t) { t.brushType = EBrushType::kHatch; }, Qt::TexturePattern},
        {"last hatch style",
         [](CTextTmp& t) {
             t.brushType = EBrushType::kHatch;
             t.hatchStyle = 52;
         },
         Qt::TexturePattern},
        {"hatch style 53",
         [](CTextTmp& t) {
             t.brushType = EBrushType::kHatch;
             t.hatchStyle = 53;
         },
         std::nullopt},
        {"gradient", [](CTextTmp& t) { t.brushType = EBrushType::kLinearGradient; },
         Qt::LinearGradientPattern},
        {"gradient mode 4",
         [](CTextTmp& t) {
             t.brushType = EBrushType::kLinearGradient;
             t.lgMode = ELgMode(4);
         },
         std::nullopt},
        {"gradient of zero width",
         [](CTextTmp& t) {
             t.brushType = EBrushType::kLinearGradient;
             t.lgRect = {10, 0, 10, 50};
         },
         std::nullopt},
        {"gradient of negative height",
         [](CTextTmp& t) {
             t.brushType = EBrushType::kLinearGradient;
             t.lgMode = ELgMode::kHorizontal; // the height matters in every direction
             t.lgRect = {0, 50, 50, 0};
         },
         std::nullopt},
        {"texture", withTexture(DataFile("texture_anchor_3x2.png")), Qt::TexturePattern},
        {"texture without a path", [](CTextTmp& t) { t.brushType = EBrushType::kTexture; },
         std::nullopt},
        {"brush type 4", [](CTextTmp& t) { t.brushType = EBrushType(4); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTextTmp tmp;
        c.setup(tmp);
        const std::optional<QBrush> brush = CreateBrush(tmp);
        ASSERT_EQ(brush.has_value(), c.style.has_value());
        if (brush) {
            EXPECT_EQ(brush->style(), *c.style);
        }
    }
}

TEST(CreateBrush, SolidPaintsTheTextColour)
{
    CTextTmp tmp;
    tmp.textColor = 0xFF20A040;
    const QImage image = PaintBrush(*CreateBrush(tmp), {4, 4}, {0, 0, 4, 4});
    EXPECT_EQ(image.pixel(3, 2), 0xFF20A040u);
}

// The colour a tiled gradient should have at a pixel centre, from the position t along the
// ramp in units of the rectangle; none near the ramp's jumps, where sampling may go either way.
std::optional<QColor> ExpectedGradient(const SLgRect& r, ELgMode mode, QColor a, QColor b, int x,
                                       int y)
{
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double u = (px - r.left) / double(r.Width());
    const double v = (py - r.top) / double(r.Height());
    double t = 0;
    switch (mode) {
    case ELgMode::kHorizontal:
        t = u;
        break;
    case ELgMode::kVertical:
        t = v;
        break;
    case ELgMode::kForwardDiagonal:
        t = (u + v) / 2;
        break;
    case ELgMode::kBackwardDiagonal:
        t = (1 - u + v) / 2;
        break;
    }
    t -= std::floor(t);
    if (t < 0.04 || t > 0.96) {
        return std::nullopt;
    }
    const auto mix = [t](int p, int q) { return int(std::lround(p + (q - p) * t)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

TEST(CreateBrush, TiledLinearGradientInFourDirections)
{
    struct Case {
        ELgMode mode;
        SLgRect rect;
    };
    const Case cases[] = {
        {ELgMode::kHorizontal, {10, 5, 50, 35}},
        {ELgMode::kVertical, {10, 5, 50, 35}},
        {ELgMode::kForwardDiagonal, {-7, 3, 53, 33}}, // not square: 60 x 30
        {ELgMode::kBackwardDiagonal, {-7, 3, 53, 33}},
    };
    const QColor start(0xFF, 0x20, 0x00);
    const QColor end(0x00, 0x40, 0xFF);
    for (const Case& c : cases) {
        SCOPED_TRACE(kLgModeNames[size_t(c.mode)]);
        CTextTmp tmp;
        tmp.brushType = EBrushType::kLinearGradient;
        tmp.lgMode = c.mode;
        tmp.lgRect = c.rect;
        tmp.textColor = start.rgba();
        tmp.textColor2 = end.rgba();
        const QImage image = PaintBrush(*CreateBrush(tmp), {150, 100}, {0, 0, 150, 100});
        int worst = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const auto expected = ExpectedGradient(c.rect, c.mode, start, end, x, y);
                if (!expected) {
                    continue;
                }
                const QColor got = image.pixelColor(x, y);
                worst = std::max({worst, std::abs(got.red() - expected->red()),
                                  std::abs(got.green() - expected->green()),
                                  std::abs(got.blue() - expected->blue())});
            }
        }
        EXPECT_LE(worst, 4);
    }
}

// "LgMode" 1 over 0, 0, 50, 50: the colour changes from top to bottom and repeats every 50
// pixels.
TEST(CreateBrush, VerticalGradientRepeatsEvery50Pixels)
{
    CTextTmp tmp;
    tmp.brushType = EBrushType::kLinearGradient;
    tmp.lgMode = ELgMode::kVertical;
    tmp.textColor = 0xFF000000;
    tmp.textColor2 = 0xFFFFFFFF;
    const QImage image = PaintBrush(*CreateBrush(tmp), {120, 160}, {0, 0, 120, 160});
    for (int y = 0; y < image.height(); ++y) {
        const QRgb left = image.pixel(0, y);
        for (int x = 1; x < image.width(); ++x) {
            ASSERT_EQ(image.pixel(x, y), left) << x << "," << y;
        }
        if (y >= 50) { // the same colour, but for rounding
            ASSERT_NEAR(qRed(image.pixel(0, y)), qRed(image.pixel(0, y - 50)), 1) << y;
        }
        if (y % 50 != 0) {
            ASSERT_GT(qRed(image.pixel(0, y)), qRed(image.pixel(0, y - 1))) << y;
        }
    }
    EXPECT_LT(qRed(image.pixel(0, 0)), 8);
    EXPECT_GT(qRed(image.pixel(0, 49)), 247);
    EXPECT_NEAR(qRed(image.pixel(0, 25)), 128, 6);
}

TEST(CreateBrush, HatchTilesFromTheOriginInBothColours)
{
    const uint32_t fg = 0xFFE01020;
    const uint32_t bg = 0xFF102030;
    for (int style = 0; style < kHatchStyleCount; ++style) {
        SCOPED_TRACE(kHatchStyleNames[size_t(style)]);
        CTextTmp tmp;
        tmp.brushType = EBrushType::kHatch;
        tmp.hatchStyle = uint8_t(style);
        tmp.textColor = fg;
        tmp.textColor2 = bg;
        // The filled area starts off the tile grid; the pattern still counts from (0, 0).
        const QImage image = PaintBrush(*CreateBrush(tmp), {21, 19}, {3, 5, 18, 14});
        const HatchPattern& pattern = kHatchPatterns[size_t(style)];
        for (int y = 5; y < 19; ++y) {
            for (int x = 3; x < 21; ++x) {
                const bool set = (pattern[size_t(y % 8)] & (0x80 >> (x % 8))) != 0;
                ASSERT_EQ(image.pixel(x, y), set ? fg : bg) << x << "," << y;
            }
        }
    }
}

TEST(CreateBrush, HatchKeepsTranslucentColours)
{
    const QBrush brush = HatchBrush(12, 0x80FF0000, 0x00000000); // 50Percent
    const QImage image = PaintBrush(brush, {2, 1}, {0, 0, 2, 1});
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0x80);
    EXPECT_EQ(qRed(image.pixel(0, 0)), 0xFF);
    EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
}

TEST(CreateBrush, TextureTilesFromTheBitmapOrigin)
{
    CTextTmp tmp;
    CSilentMessageSink silent;
    tmp.brushType = EBrushType::kTexture;
    ASSERT_TRUE(tmp.SetTextureImage(DataFile("texture_anchor_3x2.png"), silent));
    const QImage texture(DataFile("texture_anchor_3x2.png"));
    const QImage image = PaintBrush(*CreateBrush(tmp), {11, 7}, {2, 1, 9, 6});
    for (int y = 1; y < 7; ++y) {
        for (int x = 2; x < 11; ++x) {
            ASSERT_EQ(image.pixel(x, y), texture.pixel(x % 3, y % 2)) << x << "," << y;
        }
    }
}

TEST(CreateBrush, TextureFileGoneMakesNoBrush)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("texture.png");
    ASSERT_TRUE(QFile::copy(DataFile("texture_anchor_3x2.png"), path));
    CTextTmp tmp;
    CSilentMessageSink silent;
    tmp.brushType = EBrushType::kTexture;
    ASSERT_TRUE(tmp.SetTextureImage(path, silent));
    ASSERT_TRUE(CreateBrush(tmp).has_value());
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(CreateBrush(tmp).has_value());
    EXPECT_EQ(tmp.TextureImage(), path);
}

} // namespace
} // namespace quillary::textrender
