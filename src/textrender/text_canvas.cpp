// Gathering glyph coverage into layers and compositing layers over the line bitmap.
#include "textrender/text_canvas.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <array>
#include <cmath>

namespace quillary::textrender {

namespace {

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
    : m_cache(cache), m_size(size.expandedTo(QSize(0, 0)))
{
}

void CTextCanvas::EnsureImage()
{
    if (m_image.isNull() && !m_size.isEmpty()) {
        m_image = QImage(m_size, QImage::Format_ARGB32_Premultiplied);
        m_image.fill(0);
    }
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

void CTextCanvas::Composite(CCoverageLayer layer, uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    if (alpha == 0 || layer.FirstRow() >= layer.EndRow()) {
        return;
    }
    // An opaque colour over the same colour is that colour at the united coverage, so the
    // usual black shadow, shadow rim and outline become one layer.
    if (alpha == 255 && !m_pending.empty() && !m_pending.back().source &&
        m_pending.back().color == argb) {
        m_pending.back().coverage.Cover(layer);
        return;
    }
    m_pending.push_back({std::move(layer), argb, nullptr});
}

void CTextCanvas::Composite(CCoverageLayer layer, const QBrush& brush)
{
    if (brush.style() == Qt::SolidPattern && brush.transform().isIdentity()) {
        Composite(std::move(layer), brush.color().rgba());
        return;
    }
    if (brush.style() == Qt::NoBrush || layer.FirstRow() >= layer.EndRow()) {
        return;
    }
    auto source = std::make_shared<QImage>(Size(), QImage::Format_ARGB32_Premultiplied);
    source->fill(0);
    QPainter painter(source.get());
    painter.fillRect(source->rect(), brush);
    painter.end();
    m_pending.push_back({std::move(layer), 0, std::move(source)});
}

namespace {

// a x b / 255, rounded, for a and b of 0-255; 16 bits suffice, so the loops below vectorize.
inline uint16_t Mul255(uint16_t a, uint16_t b)
{
    const uint16_t t = uint16_t(a * b + 128);
    return uint16_t((t + (t >> 8)) >> 8);
}

// The premultiplied channels of one row, one plane each.
struct SRowPlanes {
    std::vector<uint16_t> a, r, g, b;
    explicit SRowPlanes(int width)
        : a(size_t(width)), r(size_t(width)), g(size_t(width)), b(size_t(width))
    {
    }
};

// A straight ARGB colour times coverage, "over" the planes.
void BlendSolid(SRowPlanes& planes, const uint8_t* coverage, uint32_t argb, int x0, int x1)
{
    const uint16_t ca = uint16_t(argb >> 24);
    const uint16_t cr = uint16_t((argb >> 16) & 0xFF);
    const uint16_t cg = uint16_t((argb >> 8) & 0xFF);
    const uint16_t cb = uint16_t(argb & 0xFF);
    uint16_t* pa = planes.a.data();
    uint16_t* pr = planes.r.data();
    uint16_t* pg = planes.g.data();
    uint16_t* pb = planes.b.data();
    for (int x = x0; x < x1; ++x) {
        const uint16_t a = Mul255(ca, coverage[x]);
        const uint16_t inv = uint16_t(255 - a);
        pa[x] = uint16_t(a + Mul255(pa[x], inv));
        pr[x] = uint16_t(Mul255(cr, a) + Mul255(pr[x], inv));
        pg[x] = uint16_t(Mul255(cg, a) + Mul255(pg[x], inv));
        pb[x] = uint16_t(Mul255(cb, a) + Mul255(pb[x], inv));
    }
}

// A premultiplied pattern row times coverage, "over" the planes.
void BlendPattern(SRowPlanes& planes, const uint8_t* coverage, const uint32_t* pattern, int x0,
                  int x1)
{
    for (int x = x0; x < x1; ++x) {
        const uint16_t m = coverage[x];
        const uint32_t p = pattern[x];
        const uint16_t a = Mul255(uint16_t(p >> 24), m);
        const uint16_t inv = uint16_t(255 - a);
        planes.a[size_t(x)] = uint16_t(a + Mul255(planes.a[size_t(x)], inv));
        planes.r[size_t(x)] =
            uint16_t(Mul255(uint16_t((p >> 16) & 0xFF), m) + Mul255(planes.r[size_t(x)], inv));
        planes.g[size_t(x)] =
            uint16_t(Mul255(uint16_t((p >> 8) & 0xFF), m) + Mul255(planes.g[size_t(x)], inv));
        planes.b[size_t(x)] =
            uint16_t(Mul255(uint16_t(p & 0xFF), m) + Mul255(planes.b[size_t(x)], inv));
    }
}

} // namespace

// Row by row over the rows and columns that any queued layer covers, in chunks of kChunk
// pixels: a chunk that no layer covers is left alone; otherwise its pixels are split into
// channel planes, every layer in turn is blended over them in a loop without branches (16-bit
// lanes), and the planes are packed back. Layers are few: two for the usual template.
void CTextCanvas::Flush()
{
    EnsureImage();
    if (m_pending.empty() || m_image.isNull()) {
        return;
    }
    constexpr int kChunk = 32;
    int x0 = m_image.width();
    int x1 = 0;
    int y0 = m_image.height();
    int y1 = 0;
    for (const SPendingLayer& layer : m_pending) {
        x0 = std::min(x0, layer.coverage.FirstColumn());
        x1 = std::max(x1, layer.coverage.EndColumn());
        y0 = std::min(y0, layer.coverage.FirstRow());
        y1 = std::max(y1, layer.coverage.EndRow());
    }
    SRowPlanes planes(m_image.width());
    for (int y = y0; y < y1; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(m_image.scanLine(y));
        for (int c0 = x0; c0 < x1; c0 += kChunk) {
            const int c1 = std::min(c0 + kChunk, x1);
            uint8_t any = 0;
            for (const SPendingLayer& layer : m_pending) {
                const uint8_t* coverage = layer.coverage.Row(y);
                for (int x = c0; x < c1; ++x) {
                    any |= coverage[x];
                }
            }
            if (any == 0) {
                continue;
            }
            for (int x = c0; x < c1; ++x) {
                const uint32_t pixel = dst[x];
                planes.a[size_t(x)] = uint16_t(pixel >> 24);
                planes.r[size_t(x)] = uint16_t((pixel >> 16) & 0xFF);
                planes.g[size_t(x)] = uint16_t((pixel >> 8) & 0xFF);
                planes.b[size_t(x)] = uint16_t(pixel & 0xFF);
            }
            for (const SPendingLayer& layer : m_pending) {
                const uint8_t* coverage = layer.coverage.Row(y);
                if (layer.source) {
                    BlendPattern(planes, coverage,
                                 reinterpret_cast<const uint32_t*>(layer.source->constScanLine(y)),
                                 c0, c1);
                } else {
                    BlendSolid(planes, coverage, layer.color, c0, c1);
                }
            }
            for (int x = c0; x < c1; ++x) {
                dst[x] = uint32_t(planes.a[size_t(x)]) << 24 | uint32_t(planes.r[size_t(x)]) << 16 |
                         uint32_t(planes.g[size_t(x)]) << 8 | uint32_t(planes.b[size_t(x)]);
            }
        }
    }
    m_pending.clear();
    m_flushed = true;
}

namespace {

// Straight colour from premultiplied: c x 255 / a, rounded, through a table of 255 x 2^16 / a.
// Most pixels are either empty or opaque and pass unchanged.
uint32_t Unpremultiply(uint32_t pixel)
{
    static const auto kReciprocals = [] {
        std::array<uint32_t, 256> table{};
        for (uint32_t a = 1; a < 256; ++a) {
            table[a] = (255u << 16) / a;
        }
        return table;
    }();
    const uint32_t a = pixel >> 24;
    if (a == 255 || a == 0) {
        return a == 0 ? 0 : pixel;
    }
    const uint32_t k = kReciprocals[a];
    const uint32_t r = std::min(((pixel >> 16 & 0xFF) * k + 0x8000) >> 16, 255u);
    const uint32_t g = std::min(((pixel >> 8 & 0xFF) * k + 0x8000) >> 16, 255u);
    const uint32_t b = std::min(((pixel & 0xFF) * k + 0x8000) >> 16, 255u);
    return a << 24 | r << 16 | g << 8 | b;
}

// The straight ARGB result of `lower` at coverage u under `upper` at coverage o, for every
// (u, o) at index u x 256 + o, computed by the same blending as Flush. The last table is kept
// per thread: a film uses one template.
const std::vector<uint32_t>& TwoLayerTable(uint32_t lower, uint32_t upper)
{
    struct STable {
        bool valid = false;
        uint32_t lower = 0;
        uint32_t upper = 0;
        std::vector<uint32_t> entries;
    };
    thread_local STable table;
    if (table.valid && table.lower == lower && table.upper == upper) {
        return table.entries;
    }
    table.entries.resize(256 * 256);
    SRowPlanes planes(256);
    std::array<uint8_t, 256> ramp{};
    std::array<uint8_t, 256> flat{};
    for (int i = 0; i < 256; ++i) {
        ramp[size_t(i)] = uint8_t(i);
    }
    for (int u = 0; u < 256; ++u) {
        std::fill(planes.a.begin(), planes.a.end(), 0);
        std::fill(planes.r.begin(), planes.r.end(), 0);
        std::fill(planes.g.begin(), planes.g.end(), 0);
        std::fill(planes.b.begin(), planes.b.end(), 0);
        flat.fill(uint8_t(u));
        BlendSolid(planes, flat.data(), lower, 0, 256);
        BlendSolid(planes, ramp.data(), upper, 0, 256);
        for (size_t o = 0; o < 256; ++o) {
            const uint32_t pixel = uint32_t(planes.a[o]) << 24 | uint32_t(planes.r[o]) << 16 |
                                   uint32_t(planes.g[o]) << 8 | uint32_t(planes.b[o]);
            table.entries[size_t(u) * 256 + o] = Unpremultiply(pixel);
        }
    }
    table.valid = true;
    table.lower = lower;
    table.upper = upper;
    return table.entries;
}

} // namespace

QImage CTextCanvas::ResultByTable()
{
    const SPendingLayer& lower = m_pending.front();
    const SPendingLayer* upper = m_pending.size() > 1 ? &m_pending.back() : nullptr;
    const std::vector<uint32_t>& table = TwoLayerTable(lower.color, upper ? upper->color : 0);
    QImage result(m_size, QImage::Format_ARGB32);
    const int width = result.width();
    for (int y = 0; y < result.height(); ++y) {
        const uint8_t* u = lower.coverage.Row(y);
        const uint8_t* o = upper ? upper->coverage.Row(y) : nullptr;
        auto* dst = reinterpret_cast<uint32_t*>(result.scanLine(y));
        if (o != nullptr) {
            for (int x = 0; x < width; ++x) {
                dst[x] = table[size_t(u[x]) << 8 | o[x]];
            }
        } else {
            for (int x = 0; x < width; ++x) {
                dst[x] = table[size_t(u[x]) << 8];
            }
        }
    }
    m_pending.clear();
    return result;
}

QImage CTextCanvas::Result()
{
    if (!m_flushed && !m_pending.empty() && m_pending.size() <= 2 &&
        std::all_of(m_pending.begin(), m_pending.end(),
                    [](const SPendingLayer& layer) { return !layer.source; })) {
        return ResultByTable();
    }
    Flush();
    QImage result(m_size, QImage::Format_ARGB32);
    const int width = m_image.width();
    for (int y = 0; y < m_image.height(); ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(m_image.constScanLine(y));
        auto* dst = reinterpret_cast<uint32_t*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            dst[x] = Unpremultiply(src[x]);
        }
    }
    return result;
}

} // namespace quillary::textrender
