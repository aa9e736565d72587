// CTextCanvas: the line bitmap that text effects draw on, by layers of glyph coverage.
#pragma once

#include "textrender/coverage_mask.h"
#include "textrender/glyph_cache.h"
#include "textrender/text_page.h"

#include <QBrush>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>
#include <vector>

namespace quillary::textrender {

// Drawing happens in layers: a layer gathers the coverage of every glyph of a laid-out page
// (fills, or borders of one pen width) from the cache, and is then laid over the bitmap in one
// colour or brush. Composite only queues a layer; the queue is laid over the bitmap row by row
// when the bitmap is read (Image(), Result()), so that each pixel is unpacked and packed once
// whatever the number of layers. Effects that want QPainter can draw on Image() directly.
class CTextCanvas {
public:
    CTextCanvas(QSize size, CGlyphCache& cache);

    QSize Size() const { return m_size; }
    CGlyphCache& Cache() { return m_cache; }
    // Premultiplied ARGB, transparent where nothing was drawn; every queued layer is on it.
    QImage& Image()
    {
        Flush();
        m_flushed = true; // the caller may draw on it
        return m_image;
    }

    // The coverage of the page's glyph outlines (penWidth < 0) or of their borders: the
    // outlines stroked with a pen of penWidth pixels and round joins. Glyphs are placed at
    // their positions rounded to 1/CGlyphCache::kPhases pixel.
    CCoverageLayer Rasterize(const CGlyphPath& path, int penWidth);

    // Lays `layer` over the bitmap in an ARGB colour.
    void Composite(CCoverageLayer layer, uint32_t argb);
    // Lays `layer` over the bitmap in a brush whose pattern starts at the bitmap's origin. A
    // solid brush takes the colour's path; any other is painted once into a buffer of the
    // bitmap's size and sampled per pixel.
    void Composite(CCoverageLayer layer, const QBrush& brush);

    // The bitmap as straight (not premultiplied) ARGB: QImage::Format_ARGB32. When nothing
    // was drawn but one or two queued layers of solid colours (the usual template: the black
    // shadow and outline, then the fill), each pixel is looked up in a table of both
    // coverages, which gives exactly what blending and converting would.
    QImage Result();

private:
    struct SPendingLayer {
        CCoverageLayer coverage;
        uint32_t color = 0;             // straight ARGB; used when source is null
        std::shared_ptr<QImage> source; // premultiplied pattern of the bitmap's size, or null
    };
    // Makes the transparent image on first use: the usual render never needs it.
    void EnsureImage();
    void Flush();
    QImage ResultByTable();

    CGlyphCache& m_cache;
    QSize m_size;
    QImage m_image;
    std::vector<SPendingLayer> m_pending;
    bool m_flushed = false; // the image may hold drawn pixels
};

} // namespace quillary::textrender
