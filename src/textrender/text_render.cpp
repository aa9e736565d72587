// The size rule, the drawing order and RenderEntry.
#include "textrender/text_render.h"

#include "textrender/brush.h"

#include <optional>

namespace quillary::textrender {

QSize CTextRender::Measure(CTextPage& page) const
{
    const QSize text = textEffect->Measure(page);
    if (!shadowEnabled) {
        return text;
    }
    const QSize shadow = shadowEffect->Measure(page) + QSize(shadowOffsetX, shadowOffsetY);
    if (text.width() > shadow.width() || text.height() > shadow.height()) {
        return text;
    }
    return shadow;
}

void CTextRender::Draw(CTextCanvas& canvas, CTextPage& page) const
{
    if (shadowEnabled) {
        shadowEffect->Draw(canvas, page, shadowOffsetX, shadowOffsetY);
    }
    textEffect->Draw(canvas, page, 0, 0);
}

CTextRender MakeTextRender(const CTextTmp& tmp)
{
    CTextRender render;
    render.textEffect->useFillColor = false;
    render.textEffect->penColor = tmp.outlineColor;
    render.textEffect->penWidth = tmp.outlineThickness;
    render.shadowEnabled = tmp.enableShadow && tmp.shadowThickness != 0;
    if (render.shadowEnabled) {
        render.shadowEffect->fillColor = 0xFF000000;
        render.shadowEffect->useFillColor = true;
        render.shadowEffect->penColor = tmp.shadowColor;
        render.shadowEffect->penWidth = tmp.shadowThickness;
        render.shadowOffsetX = tmp.shadowOffset.x();
        render.shadowOffsetY = tmp.shadowOffset.y();
    }
    return render;
}

QImage RenderEntry(const std::vector<STextRow>& rows, const CTextTmp& tmp, int rowSpacing)
{
    return RenderEntry(rows, tmp, rowSpacing, CGlyphCache::Shared());
}

// 1. Build the page; without rows, or at a font size below one pixel, there is nothing to draw.
// 2. Build the effects; the brush lives until the end of the render.
// 3. Measure by the size rule; a size of zero draws nothing.
// 4. Draw the shadow, then the text, on a transparent bitmap of that size.
QImage RenderEntry(const std::vector<STextRow>& rows, const CTextTmp& tmp, int rowSpacing,
                   CGlyphCache& cache)
{
    CTextPage page = BuildPage(rows, tmp, rowSpacing, cache);
    if (page.lines.empty() || page.lines.front().runs.front().emSize <= 0) {
        return {};
    }
    CTextRender render = MakeTextRender(tmp);
    const std::optional<QBrush> brush = CreateBrush(tmp);
    render.textEffect->fillBrush = brush ? &*brush : nullptr;
    const QSize size = render.Measure(page);
    if (size.width() <= 0 || size.height() <= 0) {
        return {};
    }
    CTextCanvas canvas(size, cache);
    render.Draw(canvas, page);
    return canvas.Result();
}

} // namespace quillary::textrender
