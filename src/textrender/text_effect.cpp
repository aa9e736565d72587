// Drawing a page with an outline effect.
#include "textrender/text_effect.h"

namespace quillary::textrender {

void CTextEffect::Draw(CTextCanvas& canvas, CTextPage& page, double x, double y) const
{
    Measure(page);
    StrokeOutline(canvas, LayoutPage(page, x, y));
}

QSize CTextEffect::Measure(CTextPage& page) const
{
    return MeasurePage(page, ExtraSize());
}

void CTextEffect::StrokeOutline(CTextCanvas&, const CGlyphPath&) const {}

std::unique_ptr<CTextEffect> COutline::Clone() const
{
    return std::make_unique<COutline>(*this);
}

void COutline::Draw(CTextCanvas& canvas, CTextPage& page, double x, double y) const
{
    Measure(page);
    const CGlyphPath path = LayoutPage(page, x, y);
    StrokeOutline(canvas, path);
    if (useFillColor) {
        canvas.Composite(canvas.Rasterize(path, -1), fillColor);
    } else if (fillBrush != nullptr) {
        canvas.Composite(canvas.Rasterize(path, -1), *fillBrush);
    }
}

void COutline::StrokeOutline(CTextCanvas& canvas, const CGlyphPath& path) const
{
    if (penWidth <= 0) {
        return;
    }
    canvas.Composite(canvas.Rasterize(path, penWidth), penColor);
}

} // namespace quillary::textrender
