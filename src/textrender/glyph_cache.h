// CGlyphCache: shaped words, glyph outlines and their rasterized fill and border masks, kept
// across renders so that every glyph is outlined, stroked and rasterized only once.
#pragma once

#include "textrender/coverage_mask.h"
#include "textrender/lru_cache.h"

#include <QPainterPath>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace quillary::textrender {

// A glyph of a font that the cache knows, at its position: the origin of the glyph on its
// baseline, in the coordinates of the run (or of the bitmap, once laid out).
struct SPlacedGlyph {
    int fontId = 0;
    uint32_t glyph = 0;
    QPointF pos;
};

// One word run turned into glyphs. The layout origin (0, 0) is the top-left corner of the
// run's line box: the first glyph's pen starts at x 0 and the baseline lies at the font's
// ascent. Vertical runs stack their glyphs top to bottom, one em per glyph, each centred on
// the em's middle.
struct SShapedRun {
    std::vector<SPlacedGlyph> glyphs;
    std::vector<QRectF> bars; // underline and strike-out bars, in run coordinates
    // Bounds of all outline points (curve control points included) and bars; hasPoints is false
    // when the run draws nothing (white space), and then bounds is empty at the origin.
    bool hasPoints = false;
    QRectF bounds;
    double lineSpacing = 0; // the primary font's line spacing in pixels (ascent+descent+leading)
    double advance = 0;     // where the next text would start, trailing white space included
};

struct SShapeRequest {
    QString text;
    QString family;
    int emSize = 0; // pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool vertical = false;

    bool operator==(const SShapeRequest&) const = default;
};

// A glyph outline, or its border: the outline stroked with a pen of the given width and round
// joins.
struct SGlyphShape {
    QPainterPath path;
    QRectF bounds; // control-point bounds
};

// Every method locks the cache, so concurrent calls do not corrupt it; the values handed out
// are shared and never change.
class CGlyphCache {
public:
    // Sub-pixel positions are kept in steps of 1/kPhases pixel on each axis.
    static constexpr int kPhases = 4;
    static constexpr size_t kDefaultMaskBytes = size_t(64) << 20;
    static constexpr size_t kDefaultShapes = 16384; // outlines and borders
    static constexpr size_t kDefaultRuns = 8192;

    explicit CGlyphCache(size_t maskBytes = kDefaultMaskBytes, size_t shapes = kDefaultShapes,
                         size_t runs = kDefaultRuns);
    CGlyphCache(const CGlyphCache&) = delete;
    CGlyphCache& operator=(const CGlyphCache&) = delete;

    // The cache that RenderEntry uses unless it is given one.
    static CGlyphCache& Shared();

    // Shapes the request's text with Qt's text engine (fallback fonts, complex scripts, bidi
    // and kerning) into glyphs of fonts known to the cache.
    std::shared_ptr<const SShapedRun> Shape(const SShapeRequest& request);

    // The font of an id that Shape handed out.
    QRawFont Font(int fontId) const;
    // The glyph's outline at its origin (penWidth < 0), or its border of that pen width.
    std::shared_ptr<const SGlyphShape> GlyphShape(int fontId, uint32_t glyph, int penWidth);
    // The coverage of GlyphShape moved by (phaseX, phaseY) / kPhases pixels.
    std::shared_ptr<const SCoverageMask> Mask(int fontId, uint32_t glyph, int penWidth, int phaseX,
                                              int phaseY);

    size_t MaskCount() const;
    size_t MaskBytes() const;
    void Clear();

private:
    struct SShapeKey {
        int fontId;
        uint32_t glyph;
        int penWidth;
        bool operator==(const SShapeKey&) const = default;
    };
    struct SMaskKey {
        SShapeKey shape;
        int phaseX;
        int phaseY;
        bool operator==(const SMaskKey&) const = default;
    };
    struct SHash {
        size_t operator()(const SShapeKey& key) const;
        size_t operator()(const SMaskKey& key) const;
        size_t operator()(const SShapeRequest& key) const;
    };

    int FontIdLocked(const QRawFont& font);
    std::shared_ptr<const SGlyphShape> GlyphShapeLocked(int fontId, uint32_t glyph, int penWidth);
    std::shared_ptr<const SShapedRun> ShapeLocked(const SShapeRequest& request);

    mutable std::mutex m_mutex;
    std::deque<QRawFont> m_fonts; // index = font id; fonts stay for the life of the cache
    std::unordered_map<QString, int> m_fontIds;
    CLruCache<SShapeRequest, std::shared_ptr<const SShapedRun>, SHash> m_runs;
    CLruCache<SShapeKey, std::shared_ptr<const SGlyphShape>, SHash> m_shapes;
    CLruCache<SMaskKey, std::shared_ptr<const SCoverageMask>, SHash> m_masks;
};

} // namespace quillary::textrender
