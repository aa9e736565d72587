// Gathering glyph coverage into layers and compositing layers over the line bitmap.
#include "textrender/text_canvas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace quillary::textrender {

namespace {

// Each byte of `x` times a / 255, rounded; two bytes per multiplication.
inline uint32_t ByteMul(uint32_t x, uint32_t a)
{
    uint32_t rb = (x & 0x00FF00FFu) * a;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
    uint32_t ag = ((x >> 8) & 0x00FF00FFu) * a;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
    return ag | rb;
}

// Premultiplied `src` over premultiplied `dst`.
inline uint32_t Over(uint32_t src, uint32_t dst)
{
    return src + ByteMul(dst, 255u - (src >> 24));
}

// A position in whole pixels and a phase in 1/kPhases pixel.
inline void SplitPosition(double value, int& whole, int& phase)
{
    const double floor = std::floor(value);
    whole = int(floor);
    phase = int((value - floor) * CGlyphCache::kPhases + 0.5);
    if (phase >= CGlyphCache::kPhases) {
        ++whole;
        phase = 0;
    }
}

} // namespace

CTextCanvas::CTextCanvas(QSize size, CGlyphCache& cache)
    : m_cache(cache), m_image(size, QImage::Format_ARGB32_Premultiplied)
{
    m_image.fill(0);
}

CCoverageLayer CTextCanvas::Rasterize(const CGlyphPath& path, int penWidth)
{
    CCoverageLayer layer(Size());
    for (const SPlacedGlyph& glyph : path.glyphs) {
        int x = 0;
        int y = 0;
        int phaseX = 0;
        int phaseY = 0;
        SplitPosition(glyph.pos.x(), x, phaseX);
        SplitPosition(glyph.pos.y(), y, phaseY);
        const auto mask = m_cache.Mask(glyph.fontId, glyph.glyph, penWidth, phaseX, phaseY);
        layer.Add(*mask, x, y);
    }
    if (!path.bars.empty()) {
        QPainterPath bars;
        for (const QRectF& bar : path.bars) {
            bars.addRect(bar);
        }
        if (penWidth >= 0) {
            QPainterPathStroker stroker;
            stroker.setWidth(penWidth);
            stroker.setJoinStyle(Qt::RoundJoin);
            bars = stroker.createStroke(bars);
        }
        layer.AddPath(bars);
    }
    return layer;
}

void CTextCanvas::Composite(const CCoverageLayer& layer, uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    if (alpha == 0) {
        return;
    }
    // The colour premultiplied by its alpha.
    const uint32_t color = (argb & 0xFF000000u) | (ByteMul(argb, alpha) & 0x00FFFFFFu);
    const int x0 = layer.FirstColumn();
    const int x1 = layer.EndColumn();
    for (int y = layer.FirstRow(); y < layer.EndRow(); ++y) {
        const uint8_t* coverage = layer.Row(y);
        auto* dst = reinterpret_cast<uint32_t*>(m_image.scanLine(y));
        for (int x = x0; x < x1; ++x) {
            const uint32_t m = coverage[x];
            if (m == 0) {
                continue;
            }
            const uint32_t src = m == 255 ? color : ByteMul(color, m);
            dst[x] = (src >> 24) == 255 ? src : Over(src, dst[x]);
        }
    }
}

void CTextCanvas::Composite(const CCoverageLayer& layer, const QBrush& brush)
{
    if (brush.style() == Qt::SolidPattern && brush.transform().isIdentity()) {
        Composite(layer, brush.color().rgba());
        return;
    }
    if (brush.style() == Qt::NoBrush || layer.FirstRow() >= layer.EndRow()) {
        return;
    }
    QImage source(Size(), QImage::Format_ARGB32_Premultiplied);
    source.fill(0);
    QPainter painter(&source);
    painter.fillRect(source.rect(), brush);
    painter.end();
    CompositeBuffer(layer, source);
}

void CTextCanvas::CompositeBuffer(const CCoverageLayer& layer, const QImage& source)
{
    const int x0 = layer.FirstColumn();
    const int x1 = layer.EndColumn();
    for (int y = layer.FirstRow(); y < layer.EndRow(); ++y) {
        const uint8_t* coverage = layer.Row(y);
        const auto* pattern = reinterpret_cast<const uint32_t*>(source.constScanLine(y));
        auto* dst = reinterpret_cast<uint32_t*>(m_image.scanLine(y));
        for (int x = x0; x < x1; ++x) {
            const uint32_t m = coverage[x];
            if (m == 0) {
                continue;
            }
            const uint32_t src = m == 255 ? pattern[x] : ByteMul(pattern[x], m);
            dst[x] = Over(src, dst[x]);
        }
    }
}

QImage CTextCanvas::Result() const
{
    return m_image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace quillary::textrender
