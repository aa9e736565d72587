// CTextPage, CTextLine and their runs: one entry's rows as the renderer measures and lays them
// out, and CGlyphPath, the laid-out page as positioned glyphs.
#pragma once

#include "textrender/glyph_cache.h"
#include "textrender/string_format.h"
#include "textrender/text_rows.h"
#include "textrender/text_tmp.h"

#include <QRectF>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace quillary::textrender {

// One word run of a row, with the font it is drawn in and its measured size.
struct SPageRun {
    QString text;
    QString fontFamily;
    uint8_t fontStyle = 0; // kFontStyleBold | kFontStyleItalic | ...
    int32_t emSize = 0;    // pixels
    SStringFormat stringFormat;
    double width = 0; // measured
    double height = 0;
    // The run's glyphs, shaped once when the page is built; every measurement and layout
    // reads them.
    std::shared_ptr<const SShapedRun> shape;
};

// One row of the entry.
class CTextLine {
public:
    std::vector<SPageRun> runs; // in reading order
    int32_t rowSpacing = 0;     // pixels above this row when it is not the first
    ELineAlignment alignment = ELineAlignment::kNear;
    double width = 0; // measured
    double height = 0;
};

// One entry: its rows, and whether they stand as columns of vertical text.
class CTextPage {
public:
    std::vector<CTextLine> lines;
    bool vertical = false;   // the template's "FontName" begins with "@"
    bool leftToRight = true; // vertical pages: the first row is the rightmost column
    double width = 0;        // measured
    double height = 0;
};

// The page laid out: every glyph at its place and the bars of underlined and struck-out runs,
// in bitmap coordinates.
struct CGlyphPath {
    std::vector<SPlacedGlyph> glyphs;
    std::vector<QRectF> bars;
};

// The largest em size drawn, in pixels; larger sizes are drawn at this size (no frame holds
// even one such glyph).
inline constexpr int32_t kMaxEmSize = 4096;

// Builds the page of `rows` with the template's font, size, format and alignment: words with
// empty text are left out, rows left without runs are dropped, bold only for a weight of 700.
// The runs are shaped through `cache`.
CTextPage BuildPage(const std::vector<STextRow>& rows, const CTextTmp& tmp, int32_t rowSpacing,
                    CGlyphCache& cache);

// Measures runs, rows and page for an effect that adds `extra` pixels to every run (its pen
// width), stores the sizes in them and returns the page's size rounded to whole pixels.
QSize MeasurePage(CTextPage& page, int32_t extra);

// Lays the last measured page out with its top-left corner at (x, y).
CGlyphPath LayoutPage(const CTextPage& page, double x, double y);

} // namespace quillary::textrender
