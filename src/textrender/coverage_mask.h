// SCoverageMask and CCoverageLayer: 8-bit anti-aliased coverage of a shape, and the coverage of
// one drawing layer (all glyph fills, or all glyph borders) of a line bitmap.
#pragma once

#include <QPointF>
#include <QSize>

#include <cstdint>
#include <vector>

class QPainterPath;

namespace quillary::textrender {

// Coverage 0-255 of a shape on a pixel grid. Cell (0, 0) is pixel (left, top) of the shape's
// coordinates; an empty shape gives a mask of no cells.
struct SCoverageMask {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage; // width x height, rows top to bottom

    size_t Bytes() const { return sizeof(SCoverageMask) + coverage.size(); }
};

// Rasterizes `path` moved by `offset` (non-zero winding, anti-aliased) into a mask that just
// holds it.
SCoverageMask RasterizePath(const QPainterPath& path, QPointF offset);

// The coverage of one layer over the whole bitmap. Shapes add up with saturation, so that the
// layer is the union of its shapes: where two glyphs' borders overlap the pen is laid once,
// as when the line's whole path is stroked in one go.
class CCoverageLayer {
public:
    explicit CCoverageLayer(QSize size);

    // Adds `mask` with its cell (0, 0) at bitmap pixel (x + mask.left, y + mask.top); cells
    // outside the bitmap are cut off.
    void Add(const SCoverageMask& mask, int x, int y);
    // Adds a shape that is not worth caching (underline and strike-out bars).
    void AddPath(const QPainterPath& path);
    // Lays `upper` (of the same size) over this layer, as an opaque colour's coverage lies over
    // the same colour's: a + b - ab.
    void Cover(const CCoverageLayer& upper);

    QSize Size() const { return m_size; }
    const uint8_t* Row(int y) const { return m_coverage.data() + size_t(y) * m_size.width(); }
    // The rows that hold any coverage: [FirstRow(), EndRow()); empty when FirstRow() >= EndRow().
    int FirstRow() const { return m_firstRow; }
    int EndRow() const { return m_endRow; }
    // The columns that hold any coverage, over all rows.
    int FirstColumn() const { return m_firstColumn; }
    int EndColumn() const { return m_endColumn; }

private:
    void Touch(int x0, int y0, int x1, int y1);

    QSize m_size;
    std::vector<uint8_t> m_coverage;
    int m_firstRow;
    int m_endRow = 0;
    int m_firstColumn;
    int m_endColumn = 0;
};

} // namespace quillary::textrender
