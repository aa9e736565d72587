// Rasterizing shapes into coverage masks and adding masks into layers.
#include "textrender/coverage_mask.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillary::textrender {

SCoverageMask RasterizePath(const QPainterPath& path, QPointF offset)
{
    SCoverageMask mask;
    if (path.isEmpty()) {
        return mask;
    }
    // One pixel of margin on each side: anti-aliasing may touch the pixels that the bounds
    // only graze.
    const QRectF bounds = path.controlPointRect().translated(offset);
    mask.left = int(std::floor(bounds.left())) - 1;
    mask.top = int(std::floor(bounds.top())) - 1;
    mask.width = int(std::ceil(bounds.right())) + 1 - mask.left;
    mask.height = int(std::ceil(bounds.bottom())) + 1 - mask.top;
    if (mask.width <= 0 || mask.height <= 0) {
        mask = {};
        return mask;
    }
    // Drawn in premultiplied ARGB and the alpha taken out: Qt 6.4 paints paths on an 8-bit
    // alpha image through its thread pool, which costs more in waking threads than the glyph
    // takes to draw.
    QImage image(mask.width, mask.height, QImage::Format_ARGB32_Premultiplied);
    std::memset(image.bits(), 0, size_t(image.sizeInBytes()));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.translate(offset.x() - mask.left, offset.y() - mask.top);
    QPainterPath winding = path;
    winding.setFillRule(Qt::WindingFill);
    painter.drawPath(winding);
    painter.end();
    mask.coverage.resize(size_t(mask.width) * size_t(mask.height));
    for (int y = 0; y < mask.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uint8_t* out = mask.coverage.data() + size_t(y) * size_t(mask.width);
        for (int x = 0; x < mask.width; ++x) {
            out[x] = uint8_t(row[x] >> 24);
        }
    }
    return mask;
}

CCoverageLayer::CCoverageLayer(QSize size)
    : m_size(size.expandedTo(QSize(0, 0))),
      m_coverage(size_t(m_size.width()) * size_t(m_size.height()), 0), m_firstRow(m_size.height()),
      m_firstColumn(m_size.width())
{
}

void CCoverageLayer::Touch(int x0, int y0, int x1, int y1)
{
    m_firstRow = std::min(m_firstRow, y0);
    m_endRow = std::max(m_endRow, y1);
    m_firstColumn = std::min(m_firstColumn, x0);
    m_endColumn = std::max(m_endColumn, x1);
}

void CCoverageLayer::Add(const SCoverageMask& mask, int x, int y)
{
    const int left = x + mask.left;
    const int top = y + mask.top;
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(left + mask.width, m_size.width());
    const int y1 = std::min(top + mask.height, m_size.height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    Touch(x0, y0, x1, y1);
    const int count = x1 - x0;
    for (int row = y0; row < y1; ++row) {
        const uint8_t* src =
            mask.coverage.data() + size_t(row - top) * size_t(mask.width) + size_t(x0 - left);
        uint8_t* dst = m_coverage.data() + size_t(row) * size_t(m_size.width()) + size_t(x0);
        for (int i = 0; i < count; ++i) {
            const unsigned sum = unsigned(dst[i]) + src[i];
            dst[i] = uint8_t(sum > 255 ? 255 : sum);
        }
    }
}

void CCoverageLayer::Cover(const CCoverageLayer& upper)
{
    if (upper.m_size != m_size || upper.m_firstRow >= upper.m_endRow) {
        return;
    }
    const int x0 = upper.m_firstColumn;
    const int x1 = upper.m_endColumn;
    Touch(x0, upper.m_firstRow, x1, upper.m_endRow);
    for (int y = upper.m_firstRow; y < upper.m_endRow; ++y) {
        const size_t row = size_t(y) * size_t(m_size.width());
        const uint8_t* src = upper.m_coverage.data() + row;
        uint8_t* dst = m_coverage.data() + row;
        for (int x = x0; x < x1; ++x) {
            const uint16_t a = dst[x];
            const uint16_t b = src[x];
            const uint16_t t = uint16_t(a * b + 128);
            dst[x] = uint8_t(a + b - uint16_t((t + (t >> 8)) >> 8));
        }
    }
}

void CCoverageLayer::AddPath(const QPainterPath& path)
{
    const SCoverageMask mask = RasterizePath(path, QPointF(0, 0));
    Add(mask, 0, 0);
}

} // namespace quillary::textrender
