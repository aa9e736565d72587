// The plain way of drawing a text page, kept to check the renderer against: the whole page as
// one QPainterPath, stroked with a QPen of round joins and filled over it by QPainter.
#pragma once

#include "textrender/brush.h"
#include "textrender/text_render.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <memory>
#include <optional>

namespace quillary::textrender {

inline QPainterPath ToPainterPath(const CGlyphPath& glyphs, CGlyphCache& cache)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const SPlacedGlyph& glyph : glyphs.glyphs) {
        path.addPath(cache.GlyphShape(glyph.fontId, glyph.glyph, -1)->path.translated(glyph.pos));
    }
    for (const QRectF& bar : glyphs.bars) {
        path.addRect(bar);
    }
    return path;
}

class CReferenceOutline final : public COutline {
public:
    explicit CReferenceOutline(const COutline& from) : COutline(from) {}

    void Draw(CTextCanvas& canvas, CTextPage& page, double x, double y) const override
    {
        Measure(page);
        const QPainterPath path = ToPainterPath(LayoutPage(page, x, y), canvas.Cache());
        QPainter painter(&canvas.Image());
        painter.setRenderHint(QPainter::Antialiasing);
        if (penWidth > 0) {
            painter.strokePath(path, QPen(QColor::fromRgba(penColor), penWidth, Qt::SolidLine,
                                          Qt::RoundCap, Qt::RoundJoin));
        }
        if (useFillColor) {
            painter.fillPath(path, QColor::fromRgba(fillColor));
        } else if (fillBrush != nullptr) {
            painter.fillPath(path, *fillBrush);
        }
    }
};

// RenderEntry the plain way.
inline QImage ReferenceRenderEntry(const std::vector<STextRow>& rows, const CTextTmp& tmp,
                                   int rowSpacing)
{
    CGlyphCache& cache = CGlyphCache::Shared();
    CTextPage page = BuildPage(rows, tmp, rowSpacing, cache);
    if (page.lines.empty()) {
        return {};
    }
    CTextRender render = MakeTextRender(tmp);
    const std::optional<QBrush> brush = CreateBrush(tmp);
    render.textEffect->fillBrush = brush ? &*brush : nullptr;
    render.textEffect = std::make_unique<CReferenceOutline>(*render.textEffect);
    render.shadowEffect = std::make_unique<CReferenceOutline>(*render.shadowEffect);
    const QSize size = render.Measure(page);
    if (size.width() <= 0 || size.height() <= 0) {
        return {};
    }
    CTextCanvas canvas(size, cache);
    render.Draw(canvas, page);
    return canvas.Result();
}

} // namespace quillary::textrender
