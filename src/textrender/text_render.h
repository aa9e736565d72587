// CTextRender and RenderEntry: one subtitle entry drawn with the style template into a line
// bitmap just large enough for its text, outline and shadow.
#pragma once

#include "textrender/glyph_cache.h"
#include "textrender/text_effect.h"
#include "textrender/text_page.h"
#include "textrender/text_rows.h"
#include "textrender/text_tmp.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>
#include <vector>

namespace quillary::textrender {

class CTextRender {
public:
    CTextRender() = default;
    CTextRender(CTextRender&&) = default;
    CTextRender& operator=(CTextRender&&) = default;
    virtual ~CTextRender() = default;

    // The bitmap size: the text effect's size T, or with a shadow the shadow effect's size
    // moved by the offset, S. One of them is taken whole: T when it is wider or taller than S,
    // otherwise S.
    QSize Measure(CTextPage& page) const;
    // The shadow at its offset (when enabled), then the text at the origin.
    void Draw(CTextCanvas& canvas, CTextPage& page) const;

    std::unique_ptr<COutline> textEffect = std::make_unique<COutline>();
    bool shadowEnabled = false;
    std::unique_ptr<COutline> shadowEffect = std::make_unique<COutline>();
    int32_t shadowOffsetX = 0; // pixels
    int32_t shadowOffsetY = 0;
};

// Draws `rows` with the template: the fill brush, outline and shadow of `tmp`, rows
// `rowSpacing` pixels apart. Returns a QImage::Format_ARGB32 bitmap, or a null image when
// nothing is drawn (no run with text, or a size of zero). Glyphs come from CGlyphCache::Shared()
// unless a cache is given.
QImage RenderEntry(const std::vector<STextRow>& rows, const CTextTmp& tmp, int rowSpacing);
QImage RenderEntry(const std::vector<STextRow>& rows, const CTextTmp& tmp, int rowSpacing,
                   CGlyphCache& cache);

// The effects of the template without a fill brush, for callers that draw the page
// themselves: the text effect's fillBrush is left for the caller to set.
CTextRender MakeTextRender(const CTextTmp& tmp);

} // namespace quillary::textrender
