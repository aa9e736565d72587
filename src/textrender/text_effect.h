// CTextEffect and COutline: ways of drawing a text page; COutline strokes the glyph outlines
// with a pen and fills them over it.
#pragma once

#include "textrender/text_canvas.h"
#include "textrender/text_page.h"

#include <QBrush>
#include <QSize>

#include <cstdint>
#include <memory>

namespace quillary::textrender {

class CTextEffect {
public:
    virtual ~CTextEffect() = default;

    virtual std::unique_ptr<CTextEffect> Clone() const = 0;
    // Measures the page with ExtraSize(), lays it out at (x, y) and strokes it.
    virtual void Draw(CTextCanvas& canvas, CTextPage& page, double x, double y) const;
    // The page's size for this effect; the sizes stay in the page until the next measurement.
    virtual QSize Measure(CTextPage& page) const;
    virtual void StrokeOutline(CTextCanvas& canvas, const CGlyphPath& path) const;
    // What the effect adds to every run's width and height.
    virtual int32_t ExtraSize() const { return 0; }

protected:
    CTextEffect() = default;
    CTextEffect(const CTextEffect&) = default;
    CTextEffect& operator=(const CTextEffect&) = default;
};

class COutline : public CTextEffect {
public:
    COutline() = default;

    std::unique_ptr<CTextEffect> Clone() const override;
    // Strokes, then fills over the pen, so that only the outer half of the pen shows.
    void Draw(CTextCanvas& canvas, CTextPage& page, double x, double y) const override;
    // The pen of penColor, penWidth pixels wide with round joins. A pen width of 0 (or less)
    // strokes nothing: an outline thickness of 0 turns the outline off.
    void StrokeOutline(CTextCanvas& canvas, const CGlyphPath& path) const override;
    int32_t ExtraSize() const override { return penWidth; }

    uint32_t fillColor = 0xFF000000;   // ARGB
    const QBrush* fillBrush = nullptr; // not owned; none leaves the body unfilled
    bool useFillColor = true;          // fill with fillColor, else with fillBrush
    uint32_t penColor = 0xFF000000;    // ARGB
    int32_t penWidth = 2;              // pixels
};

} // namespace quillary::textrender
