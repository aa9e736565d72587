// The LRU map, the glyph cache and the canvas's two ways of compositing.
#include "textrender/glyph_cache.h"
#include "textrender/lru_cache.h"
#include "textrender/text_canvas.h"
#include "textrender/text_render.h"

#include "test_support.h"

#include <QPainterPath>

#include <gtest/gtest.h>

#include <cstring>

namespace quillary::textrender {
namespace {

TEST(LruCache, ForgetsTheLeastRecentlyUsedFirst)
{
    CLruCache<int, int> cache(3);
    cache.Insert(1, 10, 1);
    cache.Insert(2, 20, 1);
    cache.Insert(3, 30, 1);
    ASSERT_NE(cache.Find(1), nullptr); // 1 is now the most recent; 2 the coldest
    cache.Insert(4, 40, 1);
    EXPECT_EQ(cache.Find(2), nullptr);
    ASSERT_NE(cache.Find(1), nullptr);
    EXPECT_EQ(*cache.Find(1), 10);
    EXPECT_NE(cache.Find(3), nullptr);
    EXPECT_NE(cache.Find(4), nullptr);
    EXPECT_EQ(cache.TotalCost(), 3u);
}

TEST(LruCache, CostsAndReplacement)
{
    struct Case {
        const char* name;
        size_t budget;
        std::vector<std::pair<int, size_t>> inserts; // key, cost
        std::vector<int> kept;
        size_t total;
    };
    const std::vector<Case> cases = {
        {"within budget", 10, {{1, 4}, {2, 6}}, {1, 2}, 10},
        {"one over evicts the oldest", 10, {{1, 4}, {2, 6}, {3, 1}}, {2, 3}, 7},
        {"an entry above the budget stays alone", 5, {{1, 2}, {2, 9}}, {2}, 9},
        {"replacing a key keeps one entry", 10, {{1, 4}, {1, 5}}, {1}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLruCache<int, int> cache(c.budget);
        for (const auto& [key, cost] : c.inserts) {
            cache.Insert(key, key, cost);
        }
        EXPECT_EQ(cache.Size(), c.kept.size());
        for (const int key : c.kept) {
            EXPECT_NE(cache.Find(key), nullptr) << key;
        }
        EXPECT_EQ(cache.TotalCost(), c.total);
    }
}

TEST(CoverageMask, RasterizeHoldsTheShapeAndAddSaturates)
{
    QPainterPath square;
    square.addRect(0, 0, 4, 4);
    const SCoverageMask mask = RasterizePath(square, QPointF(0.5, 0));
    ASSERT_GT(mask.width, 0);
    // Whole pixels 1-3 of row 1 (x 0.5-4.5 covers pixels 1, 2, 3 fully, 0 and 4 half).
    const auto at = [&](int x, int y) {
        return int(
            mask.coverage[size_t(y - mask.top) * size_t(mask.width) + size_t(x - mask.left)]);
    };
    EXPECT_EQ(at(2, 1), 255);
    EXPECT_NEAR(at(0, 1), 128, 2);
    EXPECT_NEAR(at(4, 1), 128, 2);

    CCoverageLayer layer(QSize(6, 6));
    layer.Add(mask, 0, 0);
    layer.Add(mask, 0, 0);
    EXPECT_EQ(layer.Row(1)[0], 255); // 128 + 128 saturates
    // Cut off at the edges without touching memory outside.
    layer.Add(mask, -3, 4);
    EXPECT_EQ(layer.FirstRow(), 0);
    EXPECT_EQ(layer.EndRow(), 6);
}

TEST(GlyphCache, SmallCachesDrawTheSame)
{
    CTextTmp tmp;
    tmp.fontName = TestFontFamily();
    tmp.fontSize = 28;
    const std::vector<STextRow> rows = {{STextRun{"Cache me, cache me"}},
                                        {STextRun{"if you can!", 700, true}}};
    CGlyphCache roomy;
    CGlyphCache tiny(64, 2, 1); // every mask, outline and run forgotten almost at once
    const QImage a = RenderEntry(rows, tmp, 0, roomy);
    const QImage b = RenderEntry(rows, tmp, 0, tiny);
    const QImage again = RenderEntry(rows, tmp, 0, roomy);
    ASSERT_FALSE(a.isNull());
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.constBits(), b.constBits(), size_t(a.sizeInBytes())), 0);
    EXPECT_EQ(std::memcmp(a.constBits(), again.constBits(), size_t(a.sizeInBytes())), 0);
    EXPECT_LE(tiny.MaskCount(), 1u);
    EXPECT_GT(roomy.MaskCount(), 10u);
}

// The coverage table of Result() gives exactly what blending into the image and converting
// gives; drawing on Image() forces the second way.
TEST(TextCanvas, TableAndBlendingAgree)
{
    struct Case {
        const char* name;
        uint32_t lower;
        uint32_t upper; // 0: one layer only
    };
    const std::vector<Case> cases = {
        {"black under white", 0xFF000000, 0xFFFFFFFF},
        {"translucent colours", 0x80204080, 0xC0F0E010},
        {"one layer", 0xFF123456, 0},
    };
    CGlyphCache cache;
    const QSize size(64, 16);
    auto layers = [&](bool upper) {
        CCoverageLayer layer(size);
        QPainterPath path;
        if (upper) {
            path.addEllipse(QRectF(10.3, 1.2, 40.5, 13.1));
        } else {
            path.addRect(QRectF(3.25, 2.5, 57.5, 11.3));
        }
        layer.AddPath(path);
        return layer;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTextCanvas byTable(size, cache);
        CTextCanvas byBlending(size, cache);
        for (CTextCanvas* canvas : {&byTable, &byBlending}) {
            canvas->Composite(layers(false), c.lower);
            if (c.upper != 0) {
                canvas->Composite(layers(true), c.upper);
            }
        }
        (void)byBlending.Image();
        const QImage a = byTable.Result();
        const QImage b = byBlending.Result();
        ASSERT_EQ(a.size(), b.size());
        EXPECT_EQ(std::memcmp(a.constBits(), b.constBits(), size_t(a.sizeInBytes())), 0);
    }
}

} // namespace
} // namespace quillary::textrender
