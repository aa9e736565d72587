// CTextCanvas: the line bitmap that text effects draw on, by layers of glyph coverage.
#pragma once

#include "textrender/coverage_mask.h"
#include "textrender/glyph_cache.h"
#include "textrender/text_page.h"

#include <QBrush>
#include <QImage>
#include <QSize>

#include <cstdint>

namespace quillary::textrender {

// Drawing happens in layers: a layer gathers the coverage of every glyph of a laid-out page
// (fills, or borders of one pen width) from the cache, and is then laid over the bitmap in one
// colour or brush. Effects that want QPainter can draw on Image() directly.
class CTextCanvas {
public:
    CTextCanvas(QSize size, CGlyphCache& cache);

    QSize Size() const { return m_image.size(); }
    CGlyphCache& Cache() { return m_cache; }
    // Premultiplied ARGB, transparent where nothing was drawn.
    QImage& Image() { return m_image; }

    // The coverage of the page's glyph outlines (penWidth < 0) or of their borders: the
    // outlines stroked with a pen of penWidth pixels and round joins. Glyphs are placed at
    // their positions rounded to 1/CGlyphCache::kPhases pixel.
    CCoverageLayer Rasterize(const CGlyphPath& path, int penWidth);

    // Lays `layer` over the bitmap in an ARGB colour.
    void Composite(const CCoverageLayer& layer, uint32_t argb);
    // Lays `layer` over the bitmap in a brush whose pattern starts at the bitmap's origin. A
    // solid brush takes the colour's path; any other is painted once into a buffer of the
    // bitmap's size and sampled per pixel.
    void Composite(const CCoverageLayer& layer, const QBrush& brush);

    // The bitmap as straight (not premultiplied) ARGB: QImage::Format_ARGB32.
    QImage Result() const;

private:
    void CompositeBuffer(const CCoverageLayer& layer, const QImage& source);

    CGlyphCache& m_cache;
    QImage m_image;
};

} // namespace quillary::textrender
