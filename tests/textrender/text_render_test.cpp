// The text renderer: page building, the measuring and size rules, row and column layout, the
// drawing against the plain QPainter way, and golden pictures.
#include "textrender/text_page.h"
#include "textrender/text_render.h"

#include "image_compare.h"
#include "reference_render.h"
#include "test_support.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

namespace quillary::textrender {
namespace {

// The default template (bold, outline 4, shadow 3 at (2, 2), centred rows) in the test font at
// a smaller size.
CTextTmp TestTemplate()
{
    CTextTmp tmp;
    tmp.fontName = TestFontFamily();
    tmp.fontSize = 32;
    return tmp;
}

CTextTmp WithoutShadow(CTextTmp tmp)
{
    tmp.enableShadow = false;
    return tmp;
}

std::vector<STextRow> PlainRows(std::initializer_list<const char*> texts)
{
    std::vector<STextRow> rows;
    for (const char* text : texts) {
        rows.push_back({STextRun{text}});
    }
    return rows;
}

bool SameImage(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && a.format() == b.format() &&
           std::memcmp(a.constBits(), b.constBits(), size_t(a.sizeInBytes())) == 0;
}

// The first pixel row at or below `from` that holds any non-transparent pixel, or -1.
int FirstInkRow(const QImage& image, int from)
{
    for (int y = std::max(from, 0); y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                return y;
            }
        }
    }
    return -1;
}

// The rightmost column with ink between rows y0 and y1, or -1.
int LastInkColumn(const QImage& image, int y0, int y1)
{
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = std::max(y0, 0); y < std::min(y1, image.height()); ++y) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                return x;
            }
        }
    }
    return -1;
}

TEST(TextRender, ResultIsStraightArgb)
{
    const QImage image = RenderEntry(PlainRows({"Hello"}), TestTemplate(), 0);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_ARGB32);
}

TEST(TextRender, RowSpacingAddsToPageHeightAndMovesLaterRows)
{
    const CTextTmp tmp = WithoutShadow(TestTemplate());
    const auto rows = PlainRows({"Upper row", "lower"});
    const QImage base = RenderEntry(rows, tmp, 0);
    for (const int spacing : {0, 10, 25}) {
        SCOPED_TRACE(spacing);
        CTextPage page = BuildPage(rows, tmp, spacing, CGlyphCache::Shared());
        ASSERT_EQ(page.lines.size(), 2u);
        const QSize size = MeasurePage(page, tmp.outlineThickness);
        const CTextLine& first = page.lines[0];
        const CTextLine& second = page.lines[1];
        EXPECT_DOUBLE_EQ(page.height, first.height + second.height + spacing);
        EXPECT_EQ(size.height(), int(first.height + second.height + spacing + 0.5));

        // The second row's origin is `spacing` below the first row's bottom edge.
        const CGlyphPath path = LayoutPage(page, 0, 0);
        const SPageRun& run = second.runs[0];
        const size_t firstGlyphOfSecondRow = page.lines[0].runs[0].shape->glyphs.size();
        EXPECT_DOUBLE_EQ(path.glyphs[firstGlyphOfSecondRow].pos.y(),
                         first.height + spacing + (second.height - run.height) +
                             run.shape->glyphs[0].pos.y());

        // The bitmap: the same second row, `spacing` pixels lower.
        const QImage image = RenderEntry(rows, tmp, spacing);
        ASSERT_EQ(image.height(), base.height() + spacing);
        const int secondRowTop = int(first.height) + 1;
        EXPECT_EQ(FirstInkRow(image, secondRowTop + spacing),
                  FirstInkRow(base, secondRowTop) + spacing);
        for (int y = secondRowTop; y < base.height(); ++y) {
            ASSERT_EQ(std::memcmp(base.constScanLine(y), image.constScanLine(y + spacing),
                                  size_t(base.bytesPerLine())),
                      0)
                << "row " << y;
        }
    }
}

// One effect's size is taken whole: the text's T, or the shadow's S moved by its offset.
// Every run adds its effect's pen width, so more runs widen T faster than S.
TEST(TextRender, SizeRuleTakesTextOrShadowSizeWhole)
{
    struct Case {
        const char* name;
        std::vector<STextRow> rows;
        bool shadow;
        bool shadowSizeWins;
    };
    const std::vector<Case> cases = {
        {"one run without shadow", {{{"Hello"}}}, false, false},
        {"one run: the shadow is 1 px larger", {{{"Hello"}}}, true, true},
        {"two runs: as wide, the shadow taller", {{{"Hel"}, {"lo", 700}}}, true, true},
        {"three runs: the text wider", {{{"He"}, {"l", 700}, {"lo"}}}, true, false},
        {"two rows of three runs", {{{"He"}, {"l", 700}, {"lo"}}, {{"x"}}}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTextTmp tmp = TestTemplate();
        tmp.enableShadow = c.shadow;
        CTextPage page = BuildPage(c.rows, tmp, 0, CGlyphCache::Shared());
        const QSize text = MeasurePage(page, tmp.outlineThickness);
        const QSize shadow = MeasurePage(page, tmp.shadowThickness) +
                             QSize(tmp.shadowOffset.x(), tmp.shadowOffset.y());
        const QImage image = RenderEntry(c.rows, tmp, 0);
        EXPECT_EQ(image.size(), c.shadowSizeWins ? shadow : text);
        if (c.rows.size() == 1 && c.rows[0].size() == 1 && c.shadow) {
            EXPECT_EQ(shadow, text + QSize(1, 1));
        }
    }
}

TEST(TextRender, WhiteSpaceBetweenRunsOfDifferentStylesIsKept)
{
    const CTextTmp tmp = WithoutShadow(TestTemplate());
    auto width = [&](std::vector<STextRow> rows) {
        CTextPage page = BuildPage(rows, tmp, 0, CGlyphCache::Shared());
        return MeasurePage(page, 0).width();
    };
    const int joined = width({{STextRun{"leave"}, STextRun{"tonight", 400, true}}});
    const int spaced = width({{STextRun{"leave "}, STextRun{"tonight", 400, true}}});
    // The space between the words keeps its width, about a quarter of the em of 32.
    EXPECT_GE(spaced - joined, 8);
    // A space that ends a row adds nothing: rows are centred on their text.
    EXPECT_EQ(width({{STextRun{"leave "}}}), width({{STextRun{"leave"}}}));
}

TEST(TextRender, ShadowThicknessZeroTurnsTheShadowOff)
{
    CTextTmp tmp = TestTemplate();
    tmp.shadowThickness = 0;
    const auto rows = PlainRows({"Hello"});
    EXPECT_TRUE(SameImage(RenderEntry(rows, tmp, 0), RenderEntry(rows, WithoutShadow(tmp), 0)));
}

TEST(TextRender, OnlyWeight700IsBold)
{
    const CTextTmp tmp = TestTemplate();
    const QImage regular = RenderEntry({{STextRun{"Weight", 400}}}, tmp, 0);
    const QImage bold = RenderEntry({{STextRun{"Weight", 700}}}, tmp, 0);
    ASSERT_FALSE(SameImage(regular, bold));
    EXPECT_GT(bold.width(), regular.width());
    struct Case {
        int weight;
        bool bold;
    };
    for (const Case c : {Case{100, false}, Case{600, false}, Case{700, true}, Case{900, false}}) {
        SCOPED_TRACE(c.weight);
        const QImage image = RenderEntry({{STextRun{"Weight", c.weight}}}, tmp, 0);
        EXPECT_TRUE(SameImage(image, c.bold ? bold : regular));
    }
}

TEST(TextRender, LineAlignmentPlacesShorterRows)
{
    struct Case {
        ELineAlignment alignment;
        double share; // of the free width left of the row
    };
    const auto rows = PlainRows({"A much longer first row", "short"});
    for (const Case c : {Case{ELineAlignment::kNear, 0.0}, Case{ELineAlignment::kCenter, 0.5},
                         Case{ELineAlignment::kFar, 1.0}}) {
        SCOPED_TRACE(int(c.alignment));
        CTextTmp tmp = WithoutShadow(TestTemplate());
        tmp.lineAlignment = c.alignment;
        CTextPage page = BuildPage(rows, tmp, 0, CGlyphCache::Shared());
        MeasurePage(page, tmp.outlineThickness);
        const CGlyphPath path = LayoutPage(page, 0, 0);
        const CTextLine& second = page.lines[1];
        const size_t firstGlyphOfSecondRow = page.lines[0].runs[0].shape->glyphs.size();
        EXPECT_DOUBLE_EQ(path.glyphs[firstGlyphOfSecondRow].pos.x(),
                         (page.width - second.width) * c.share +
                             second.runs[0].shape->glyphs[0].pos.x());
        if (c.alignment == ELineAlignment::kFar) {
            // Both rows' ink ends at the page's right edge (less the outer pen half).
            const QImage image = RenderEntry(rows, tmp, 0);
            const int firstBottom = int(page.lines[0].height);
            const int firstEnd = LastInkColumn(image, 0, firstBottom);
            const int secondEnd = LastInkColumn(image, firstBottom + 1, image.height());
            EXPECT_NEAR(secondEnd, firstEnd, 1);
        }
    }
}

TEST(TextRender, NothingToDrawGivesNoBitmap)
{
    struct Case {
        const char* name;
        std::vector<STextRow> rows;
        bool drawn;
    };
    const std::vector<Case> cases = {
        {"no rows", {}, false},
        {"a row without runs", {{}}, false},
        {"rows of empty words", {{{""}, {""}}, {{""}}}, false},
        {"an empty word beside a word", {{{""}, {"A"}}}, true},
        {"a row of empty words above a row", {{{""}}, {{"A"}}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(!RenderEntry(c.rows, TestTemplate(), 10).isNull(), c.drawn);
    }
    // The row of empty words is dropped, with the spacing it would have brought.
    EXPECT_TRUE(SameImage(RenderEntry({{{""}}, {{"A"}}}, TestTemplate(), 10),
                          RenderEntry({{{"A"}}}, TestTemplate(), 10)));
}

TEST(TextRender, FontSizeIsTheIntegerPartInPixels)
{
    struct Case {
        float fontSize;
        bool drawn;
    };
    const auto rows = PlainRows({"Size"});
    CTextTmp tmp = TestTemplate();
    tmp.fontSize = 32.0f;
    const QImage whole = RenderEntry(rows, tmp, 0);
    for (const Case c : {Case{32.9f, true}, Case{0.5f, false}, Case{-3.0f, false},
                         Case{std::numeric_limits<float>::quiet_NaN(), false}}) {
        SCOPED_TRACE(c.fontSize);
        tmp.fontSize = c.fontSize;
        const QImage image = RenderEntry(rows, tmp, 0);
        EXPECT_EQ(!image.isNull(), c.drawn);
        if (c.drawn) {
            EXPECT_TRUE(SameImage(image, whole));
        }
    }
}

TEST(TextRender, WhiteSpaceRunHasTheLineHeightAndThePenWidth)
{
    const CTextTmp tmp = TestTemplate();
    CTextPage page = BuildPage({{STextRun{" "}}}, tmp, 0, CGlyphCache::Shared());
    ASSERT_EQ(page.lines.size(), 1u);
    EXPECT_FALSE(page.lines[0].runs[0].shape->hasPoints);
    MeasurePage(page, 4);
    EXPECT_DOUBLE_EQ(page.width, 4);
    EXPECT_DOUBLE_EQ(page.height, page.lines[0].runs[0].shape->lineSpacing + 4);
}

TEST(TextRender, VerticalPagesStackRowsAsColumns)
{
    struct Case {
        bool leftToRight;
    };
    const auto rows = PlainRows({"AB", "C"});
    for (const Case c : {Case{true}, Case{false}}) {
        SCOPED_TRACE(c.leftToRight);
        CTextTmp tmp = WithoutShadow(TestTemplate());
        tmp.fontName = "@" + TestFontFamily();
        tmp.leftToRight = c.leftToRight;
        CTextPage page = BuildPage(rows, tmp, 6, CGlyphCache::Shared());
        ASSERT_TRUE(page.vertical);
        const QSize size = MeasurePage(page, tmp.outlineThickness);
        const CTextLine& first = page.lines[0];
        const CTextLine& second = page.lines[1];
        EXPECT_DOUBLE_EQ(page.width, first.width + second.width + 6);
        EXPECT_DOUBLE_EQ(page.height, std::max(first.height, second.height));
        EXPECT_DOUBLE_EQ(first.height, first.runs[0].height);

        const CGlyphPath path = LayoutPage(page, 0, 0);
        ASSERT_EQ(path.glyphs.size(), 3u);
        // "A" above "B" in one column; "C" in the other, on the reading order's side.
        EXPECT_NEAR(path.glyphs[0].pos.x(), path.glyphs[1].pos.x(), 2.0); // centred by advance
        EXPECT_LT(path.glyphs[0].pos.y(), path.glyphs[1].pos.y());
        if (c.leftToRight) {
            EXPECT_GT(path.glyphs[0].pos.x(), path.glyphs[2].pos.x());
        } else {
            EXPECT_LT(path.glyphs[0].pos.x(), path.glyphs[2].pos.x());
        }
        // Every glyph's outline lies within the page.
        for (const SPlacedGlyph& glyph : path.glyphs) {
            const QRectF bounds = CGlyphCache::Shared()
                                      .GlyphShape(glyph.fontId, glyph.glyph, -1)
                                      ->bounds.translated(glyph.pos);
            EXPECT_GE(bounds.left(), 0);
            EXPECT_LE(bounds.right(), size.width());
            EXPECT_GE(bounds.top(), 0);
            EXPECT_LE(bounds.bottom(), size.height());
        }
        const QImage image = RenderEntry(rows, tmp, 6);
        EXPECT_EQ(image.size(), size);
    }
}

TEST(TextRender, NegativeShadowOffsetIsCutOff)
{
    CTextTmp tmp = TestTemplate();
    tmp.shadowOffset = {-6, -6};
    tmp.shadowColor = 0xFFFF0000;
    const auto rows = PlainRows({"Hello"});
    const QImage withShadow = RenderEntry(rows, tmp, 0);
    const QImage without = RenderEntry(rows, WithoutShadow(tmp), 0);
    // The shadow's size moved by (-6, -6) is smaller: the text's size is taken.
    EXPECT_EQ(withShadow.size(), without.size());
    EXPECT_FALSE(SameImage(withShadow, without));
    // The shadow's red rim shows left of and above the text.
    bool red = false;
    for (int y = 0; y < withShadow.height() && !red; ++y) {
        for (int x = 0; x < withShadow.width() && !red; ++x) {
            const QRgb pixel = withShadow.pixel(x, y);
            red = qAlpha(pixel) == 255 && qRed(pixel) > 200 && qGreen(pixel) < 50;
        }
    }
    EXPECT_TRUE(red);
}

TEST(TextRender, BrushIsAnchoredAtTheBitmapOrigin)
{
    CTextTmp tmp = WithoutShadow(TestTemplate());
    tmp.fontSize = 60;
    tmp.brushType = EBrushType::kHatch;
    tmp.hatchStyle = 4; // Cross
    tmp.textColor = 0xFFFF0000;
    tmp.textColor2 = 0xFF0000FF;
    const QImage image = RenderEntry({{STextRun{QString(QChar(0x2588))}}}, tmp, 0);
    ASSERT_FALSE(image.isNull());
    const std::optional<QBrush> brush = CreateBrush(tmp);
    ASSERT_TRUE(brush);
    const QImage pattern = PaintBrush(*brush, image.size(), image.rect());
    // The middle of the full block is filled without anti-aliasing.
    const QRect middle(image.width() / 2 - 8, image.height() / 2 - 8, 16, 16);
    for (int y = middle.top(); y <= middle.bottom(); ++y) {
        for (int x = middle.left(); x <= middle.right(); ++x) {
            ASSERT_EQ(image.pixel(x, y), pattern.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(TextRender, UnderlineAndStrikeOutAddBars)
{
    const CTextTmp tmp = WithoutShadow(TestTemplate());
    CTextPage page =
        BuildPage({{STextRun{"ab", 400, false, true, true}}}, tmp, 0, CGlyphCache::Shared());
    const SShapedRun& shape = *page.lines[0].runs[0].shape;
    ASSERT_EQ(shape.bars.size(), 2u);
    const double baseline = shape.glyphs[0].pos.y();
    EXPECT_GT(shape.bars[0].center().y(), baseline); // underline below the baseline
    EXPECT_LT(shape.bars[1].center().y(), baseline); // strike-out above it
    EXPECT_GE(shape.bounds.bottom(), shape.bars[0].bottom());
}

// The renderer against the whole path stroked and filled by QPainter. They differ only at
// edges, because glyphs are placed to a quarter pixel (with 1/64 the two agree within 5 of 255
// at any pixel).
TEST(TextRender, MatchesPlainPainterDrawing)
{
    struct Case {
        const char* name;
        std::vector<STextRow> rows;
        void (*setup)(CTextTmp&);
    };
    const std::vector<Case> cases = {
        {"default template", PlainRows({"The quick brown fox", "jumps over it."}),
         [](CTextTmp&) {}},
        {"italic, thick outline, no shadow",
         {{STextRun{"Italic words", 400, true}}},
         [](CTextTmp& t) {
             t.outlineThickness = 9;
             t.outlineColor = 0xFF2040C0;
             t.enableShadow = false;
         }},
        {"underline and strike-out",
         {{STextRun{"bars", 400, false, true, true}}},
         [](CTextTmp&) {}},
        {"red rim, far, spacing", PlainRows({"Rim of the shadow", "far"}),
         [](CTextTmp& t) {
             t.shadowColor = 0xFFC00000;
             t.shadowThickness = 6;
             t.shadowOffset = {4, 3};
             t.lineAlignment = ELineAlignment::kFar;
         }},
        {"gradient", PlainRows({"Gradient fill"}),
         [](CTextTmp& t) {
             t.brushType = EBrushType::kLinearGradient;
             t.textColor = 0xFFFF0000;
             t.textColor2 = 0xFF0000FF;
             t.lgMode = ELgMode::kForwardDiagonal;
         }},
        {"translucent colours", PlainRows({"Translucent"}),
         [](CTextTmp& t) {
             t.textColor = 0x80FFFF00;
             t.outlineColor = 0xC0000000;
         }},
        {"vertical", PlainRows({"AB", "CD"}), [](CTextTmp& t) { t.fontName = "@" + t.fontName; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTextTmp tmp = TestTemplate();
        c.setup(tmp);
        const QImage fast = RenderEntry(c.rows, tmp, 8);
        const QImage plain = ReferenceRenderEntry(c.rows, tmp, 8);
        ASSERT_FALSE(fast.isNull());
        ASSERT_EQ(fast.size(), plain.size());
        const SImageDiff diff = CompareImages(fast, plain);
        if (!qEnvironmentVariableIsEmpty("QUILLARY_DUMP_RENDERS")) {
            SaveComparisonSheet(fast, plain,
                                QString("/tmp/render_diff_%1.png").arg(&c - cases.data()));
            std::printf("%s: mean %.3f max %d large %.4f\n", c.name, diff.mean, diff.max,
                        diff.largeShare);
        }
        EXPECT_LE(diff.mean, 1.5);
        EXPECT_LE(diff.largeShare, 0.005);
    }
}

TEST(TextRender, GoldenPictures)
{
    struct Case {
        const char* name;
        std::vector<STextRow> rows;
        void (*setup)(CTextTmp&);
    };
    const std::vector<Case> cases = {
        {"golden_default_two_rows",
         {{STextRun{"Bold ", 700}, STextRun{"italic", 700, true}}, {STextRun{"regular"}}},
         [](CTextTmp&) {}},
        {"golden_hatch_cross", PlainRows({"Hatch"}),
         [](CTextTmp& t) {
             t.brushType = EBrushType::kHatch;
             t.textColor2 = 0xFF008000;
         }},
        {"golden_vertical_columns", PlainRows({"AB", "C"}),
         [](CTextTmp& t) { t.fontName = "@" + t.fontName; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTextTmp tmp = TestTemplate();
        tmp.fontSize = 24;
        c.setup(tmp);
        const QImage image = RenderEntry(c.rows, tmp, 4);
        ASSERT_FALSE(image.isNull());
        ExpectMatchesGolden(image, c.name);
    }
}

} // namespace
} // namespace quillary::textrender
