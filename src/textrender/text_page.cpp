// Building, measuring and laying out a text page.
#include "textrender/text_page.h"

#include <algorithm>
#include <cmath>

namespace quillary::textrender {

namespace {

double AlignmentShare(ELineAlignment alignment)
{
    switch (alignment) {
    case ELineAlignment::kCenter:
        return 0.5;
    case ELineAlignment::kFar:
        return 1.0;
    case ELineAlignment::kNear:
        break;
    }
    return 0.0;
}

// The run's size from the bounds of its points: a part left of or above the origin adds to
// the size, a gap right of or below the origin counts too. A run followed by another in its
// row keeps the white space it ends with (its outline has no points there): without it, words
// of different styles would touch ("leave" + "tonight").
void MeasureRun(SPageRun& run, bool vertical, bool followed, int32_t extra)
{
    const SShapedRun& shape = *run.shape;
    const QRectF bounds = shape.hasPoints ? shape.bounds : QRectF();
    const double minX = bounds.left();
    const double minY = bounds.top();
    run.width = bounds.right() + (minX < 0 ? -minX : 0);
    if (!vertical && followed && !run.text.isEmpty() && run.text.back().isSpace())
        run.width = std::max(run.width, shape.advance);
    run.height = bounds.bottom() + (minY < 0 ? -minY : 0);
    if (!vertical) {
        run.height = std::max(run.height, shape.lineSpacing);
    }
    if (extra > 0) {
        run.width += extra;
        run.height += extra;
    }
}

} // namespace

CTextPage BuildPage(const std::vector<STextRow>& rows, const CTextTmp& tmp, int32_t rowSpacing,
                    CGlyphCache& cache)
{
    CTextPage page;
    page.vertical = tmp.IsVertical();
    page.leftToRight = tmp.leftToRight;
    const QString family = tmp.FontFamilyName();
    // The integer part of the size; a size that is not a number or out of range clamps first,
    // so that the conversion is defined.
    const float size = std::isfinite(tmp.fontSize) ? tmp.fontSize : 0.0f;
    const int32_t emSize = int32_t(std::clamp(size, 0.0f, float(kMaxEmSize)));
    const SStringFormat format = SetupStringFormat(tmp);
    for (const STextRow& row : rows) {
        CTextLine line;
        line.rowSpacing = rowSpacing;
        line.alignment = tmp.lineAlignment;
        for (const STextRun& word : row) {
            if (word.text.isEmpty()) {
                continue;
            }
            SPageRun run;
            run.text = word.text;
            run.fontFamily = family;
            run.fontStyle = uint8_t((word.weight == 700 ? kFontStyleBold : 0) |
                                    (word.italic ? kFontStyleItalic : 0) |
                                    (word.underline ? kFontStyleUnderline : 0) |
                                    (word.strikeOut ? kFontStyleStrikeOut : 0));
            run.emSize = emSize;
            run.stringFormat = format;
            SShapeRequest request;
            request.text = run.text;
            request.family = family;
            request.emSize = emSize;
            request.bold = (run.fontStyle & kFontStyleBold) != 0;
            request.italic = (run.fontStyle & kFontStyleItalic) != 0;
            request.underline = (run.fontStyle & kFontStyleUnderline) != 0;
            request.strikeOut = (run.fontStyle & kFontStyleStrikeOut) != 0;
            request.vertical = format.vertical;
            run.shape = cache.Shape(request);
            line.runs.push_back(std::move(run));
        }
        if (!line.runs.empty()) {
            page.lines.push_back(std::move(line));
        }
    }
    return page;
}

QSize MeasurePage(CTextPage& page, int32_t extra)
{
    page.width = 0;
    page.height = 0;
    for (size_t i = 0; i < page.lines.size(); ++i) {
        CTextLine& line = page.lines[i];
        line.width = 0;
        line.height = 0;
        for (size_t r = 0; r < line.runs.size(); ++r) {
            SPageRun& run = line.runs[r];
            MeasureRun(run, page.vertical, r + 1 < line.runs.size(), extra);
            if (page.vertical) {
                line.height += run.height;
                line.width = std::max(line.width, run.width);
            } else {
                line.width += run.width;
                line.height = std::max(line.height, run.height);
            }
        }
        const double spacing = i > 0 ? line.rowSpacing : 0;
        if (page.vertical) {
            page.height = std::max(page.height, line.height);
            page.width += line.width + spacing;
        } else {
            page.width = std::max(page.width, line.width);
            page.height += line.height + spacing;
        }
    }
    return QSize(int(page.width + 0.5), int(page.height + 0.5));
}

namespace {

void AddRun(CGlyphPath& path, const SPageRun& run, QPointF origin)
{
    for (const SPlacedGlyph& glyph : run.shape->glyphs) {
        path.glyphs.push_back({glyph.fontId, glyph.glyph, glyph.pos + origin});
    }
    for (const QRectF& bar : run.shape->bars) {
        path.bars.push_back(bar.translated(origin));
    }
}

} // namespace

// Horizontal pages stack rows downwards and align each within the page's width; runs of a
// row share their bottom edge. Vertical pages put rows side by side as columns, from the right
// when leftToRight is set (the first row is read first), and align each within the page's
// height; runs go down the column, centred across it.
CGlyphPath LayoutPage(const CTextPage& page, double x, double y)
{
    CGlyphPath path;
    if (!page.vertical) {
        double rowY = y;
        for (size_t i = 0; i < page.lines.size(); ++i) {
            const CTextLine& line = page.lines[i];
            if (i > 0) {
                rowY += line.rowSpacing;
            }
            double runX = x + (page.width - line.width) * AlignmentShare(line.alignment);
            for (const SPageRun& run : line.runs) {
                AddRun(path, run, QPointF(runX, rowY + (line.height - run.height)));
                runX += run.width;
            }
            rowY += line.height;
        }
        return path;
    }
    double columnX = page.leftToRight ? x + page.width : x;
    for (size_t i = 0; i < page.lines.size(); ++i) {
        const CTextLine& line = page.lines[i];
        const double step = line.width + (i > 0 ? line.rowSpacing : 0);
        double placedX = columnX;
        if (page.leftToRight) {
            columnX -= step;
            placedX = columnX;
        } else {
            // The column starts at X after the spacing before it.
            placedX = columnX + (i > 0 ? line.rowSpacing : 0);
            columnX += step;
        }
        double runY = y + (page.height - line.height) * AlignmentShare(line.alignment);
        for (const SPageRun& run : line.runs) {
            AddRun(path, run, QPointF(placedX + (line.width - run.width) / 2, runY));
            runY += run.height;
        }
    }
    return path;
}

} // namespace quillary::textrender
