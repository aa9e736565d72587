// Shaping words with Qt's text engine and caching glyph outlines, borders and masks.
#include "textrender/glyph_cache.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHashFunctions>
#include <QPainterPathStroker>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace quillary::textrender {

namespace {

// Wide enough for any word on one line; QTextLayout keeps its lengths in 26.6 fixed point, so
// the maximum of a double would overflow.
constexpr double kUnlimitedLineWidth = 1.0e6;

QString FontKey(const QRawFont& font)
{
    return font.familyName() + QLatin1Char('|') + font.styleName() + QLatin1Char('|') +
           QString::number(font.pixelSize()) + QLatin1Char('|') + QString::number(font.weight()) +
           QLatin1Char('|') + QString::number(int(font.style()));
}

QFont MakeFont(const SShapeRequest& request)
{
    QFont font(request.family);
    font.setPixelSize(std::max(request.emSize, 1));
    font.setWeight(request.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(request.italic);
    // Unhinted outlines and fractional advances: the glyphs are drawn as scalable outlines.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

} // namespace

size_t CGlyphCache::SHash::operator()(const SShapeKey& key) const
{
    return qHashMulti(0, key.fontId, key.glyph, key.penWidth);
}

size_t CGlyphCache::SHash::operator()(const SMaskKey& key) const
{
    return qHashMulti(0, key.shape.fontId, key.shape.glyph, key.shape.penWidth, key.phaseX,
                      key.phaseY);
}

size_t CGlyphCache::SHash::operator()(const SShapeRequest& key) const
{
    return qHashMulti(0, key.text, key.family, key.emSize, key.bold, key.italic, key.underline,
                      key.strikeOut, key.vertical);
}

CGlyphCache::CGlyphCache(size_t maskBytes, size_t shapes, size_t runs)
    : m_runs(runs), m_shapes(shapes), m_masks(maskBytes)
{
}

// Never destroyed: its fonts would outlive the QGuiApplication and its font database when
// statics are torn down after main returns.
CGlyphCache& CGlyphCache::Shared()
{
    static CGlyphCache* const cache = new CGlyphCache;
    return *cache;
}

int CGlyphCache::FontIdLocked(const QRawFont& font)
{
    const QString key = FontKey(font);
    if (const auto it = m_fontIds.find(key); it != m_fontIds.end()) {
        return it->second;
    }
    const int id = int(m_fonts.size());
    m_fonts.push_back(font);
    m_fontIds.emplace(key, id);
    return id;
}

QRawFont CGlyphCache::Font(int fontId) const
{
    const std::lock_guard lock(m_mutex);
    if (fontId < 0 || size_t(fontId) >= m_fonts.size()) {
        return {};
    }
    return m_fonts[size_t(fontId)];
}

std::shared_ptr<const SShapedRun> CGlyphCache::Shape(const SShapeRequest& request)
{
    const std::lock_guard lock(m_mutex);
    if (auto* found = m_runs.Find(request)) {
        return *found;
    }
    auto run = ShapeLocked(request);
    m_runs.Insert(request, run, 1);
    return run;
}

// 1. Qt lays the text out on one unlimited line at (0, 0) and hands back its glyph runs, one
//    per font actually used (fallback fonts included), with positions on the baseline.
// 2. Vertical runs take the glyphs in that order and stack them one em apart, each centred
//    across the column and put on a baseline at the font's ascent share of the em.
// 3. Underline and strike-out become bars from the primary font's metrics, as long as the
//    text's natural width.
// 4. The bounds are the union of the glyph outlines' control-point bounds and the bars.
std::shared_ptr<const SShapedRun> CGlyphCache::ShapeLocked(const SShapeRequest& request)
{
    auto run = std::make_shared<SShapedRun>();
    const QFont font = MakeFont(request);
    const QRawFont primary = QRawFont::fromFont(font);
    run->lineSpacing = primary.ascent() + primary.descent() + primary.leading();

    QTextLayout layout(request.text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return run;
    }
    line.setLineWidth(kUnlimitedLineWidth);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    run->advance = line.horizontalAdvance();

    const double em = request.emSize;
    double cursor = 0;
    for (const QGlyphRun& glyphRun : layout.glyphRuns()) {
        const QRawFont raw = glyphRun.rawFont();
        const int fontId = FontIdLocked(raw);
        const QList<quint32> indexes = glyphRun.glyphIndexes();
        const QList<QPointF> positions = glyphRun.positions();
        QList<QPointF> advances;
        double ascentShare = 0;
        if (request.vertical) {
            advances = raw.advancesForGlyphIndexes(indexes);
            const double height = raw.ascent() + raw.descent();
            ascentShare = height > 0 ? raw.ascent() / height : 0.8;
        }
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            SPlacedGlyph placed{fontId, indexes[i], positions[i]};
            if (request.vertical) {
                const double advance = i < advances.size() ? advances[i].x() : em;
                placed.pos = QPointF((em - advance) / 2, cursor + em * ascentShare);
                cursor += em;
            }
            run->glyphs.push_back(placed);
        }
    }

    if (!request.vertical && (request.underline || request.strikeOut)) {
        const QFontMetricsF metrics(font);
        const double width = line.naturalTextWidth();
        const double thickness = std::max(metrics.lineWidth(), 1.0);
        const double baseline = line.ascent();
        if (width > 0 && request.underline) {
            run->bars.emplace_back(0, baseline + metrics.underlinePos() - thickness / 2, width,
                                   thickness);
        }
        if (width > 0 && request.strikeOut) {
            run->bars.emplace_back(0, baseline - metrics.strikeOutPos() - thickness / 2, width,
                                   thickness);
        }
    }

    double minX = std::numeric_limits<double>::max();
    double minY = minX;
    double maxX = std::numeric_limits<double>::lowest();
    double maxY = maxX;
    auto unite = [&](const QRectF& rect) {
        minX = std::min(minX, rect.left());
        minY = std::min(minY, rect.top());
        maxX = std::max(maxX, rect.right());
        maxY = std::max(maxY, rect.bottom());
        run->hasPoints = true;
    };
    for (const SPlacedGlyph& placed : run->glyphs) {
        const auto shape = GlyphShapeLocked(placed.fontId, placed.glyph, -1);
        if (!shape->path.isEmpty()) {
            unite(shape->bounds.translated(placed.pos));
        }
    }
    for (const QRectF& bar : run->bars) {
        unite(bar);
    }
    if (run->hasPoints) {
        run->bounds = QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
    }
    return run;
}

std::shared_ptr<const SGlyphShape> CGlyphCache::GlyphShape(int fontId, uint32_t glyph, int penWidth)
{
    const std::lock_guard lock(m_mutex);
    return GlyphShapeLocked(fontId, glyph, penWidth);
}

std::shared_ptr<const SGlyphShape> CGlyphCache::GlyphShapeLocked(int fontId, uint32_t glyph,
                                                                 int penWidth)
{
    penWidth = std::max(penWidth, -1);
    const SShapeKey key{fontId, glyph, penWidth};
    if (auto* found = m_shapes.Find(key)) {
        return *found;
    }
    auto shape = std::make_shared<SGlyphShape>();
    if (penWidth < 0) {
        if (fontId >= 0 && size_t(fontId) < m_fonts.size()) {
            shape->path = m_fonts[size_t(fontId)].pathForGlyph(glyph);
        }
    } else {
        const auto outline = GlyphShapeLocked(fontId, glyph, -1);
        QPainterPathStroker stroker;
        stroker.setWidth(penWidth);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCapStyle(Qt::RoundCap);
        shape->path = stroker.createStroke(outline->path);
    }
    shape->path.setFillRule(Qt::WindingFill);
    shape->bounds = shape->path.controlPointRect();
    m_shapes.Insert(key, shape, 1);
    return shape;
}

std::shared_ptr<const SCoverageMask> CGlyphCache::Mask(int fontId, uint32_t glyph, int penWidth,
                                                       int phaseX, int phaseY)
{
    const std::lock_guard lock(m_mutex);
    penWidth = std::max(penWidth, -1);
    const SMaskKey key{{fontId, glyph, penWidth}, phaseX, phaseY};
    if (auto* found = m_masks.Find(key)) {
        return *found;
    }
    const auto shape = GlyphShapeLocked(fontId, glyph, penWidth);
    auto mask = std::make_shared<SCoverageMask>(
        RasterizePath(shape->path, QPointF(double(phaseX) / kPhases, double(phaseY) / kPhases)));
    const size_t bytes = mask->Bytes();
    m_masks.Insert(key, mask, bytes);
    return mask;
}

size_t CGlyphCache::MaskCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_masks.Size();
}

size_t CGlyphCache::MaskBytes() const
{
    const std::lock_guard lock(m_mutex);
    return m_masks.TotalCost();
}

void CGlyphCache::Clear()
{
    const std::lock_guard lock(m_mutex);
    m_runs.Clear();
    m_shapes.Clear();
    m_masks.Clear();
}

} // namespace quillary::textrender
