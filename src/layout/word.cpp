// CWord, CText and CPolygon: the words of a laid-out event, measured in eighths of a pixel.
#include "layout/word.h"

#include "layout/my_font.h"
#include "layout/saturate.h"

#include <QRawFont>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <optional>

namespace quillary::layout {

CWord::CWord(QString wordText, const scripts::STSStyle& wordStyle, SKaraoke karaoke)
    : text(std::move(wordText)), style(wordStyle), karaokeType(karaoke.type),
      karaokeStart(karaoke.start), karaokeEnd(karaoke.end)
{
}

bool CWord::Append(const CWord&)
{
    return false;
}

// ---- CText ----

CText::CText(QString wordText, const scripts::STSStyle& wordStyle, SKaraoke karaoke)
    : CWord(std::move(wordText), wordStyle, karaoke)
{
    Measure();
}

void CText::Measure()
{
    isWhiteSpace = text == QLatin1String(" ");
    if (text.isEmpty()) {
        isWhiteSpace = true;
        isLineBreak = true;
    }
    const CMyFont& font = CMyFont::Get(style);
    ascent = Saturate<int32_t>(style.fontScaleY / 100 * font.Ascent());
    descent = Saturate<int32_t>(style.fontScaleY / 100 * font.Descent());

    // Advances are in font units (1/64 pixel); the spacing is added after every character.
    double sum = 0;
    if (style.fontSpacing != 0) {
        const auto spacing = Saturate<int32_t>(style.fontSpacing);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            sum += font.Advance(QStringView(text).mid(i, length)) + static_cast<double>(spacing);
            i += length - 1;
        }
    } else {
        sum = font.Advance(text);
    }
    width = Saturate<int32_t>(Saturate<int64_t>(style.fontScaleX / 100 * sum + 4) >> 3);
}

QPainterPath CText::Outline() const
{
    QPainterPath path;
    if (text.isEmpty()) {
        return path;
    }
    const QRawFont raw = CMyFont::Get(style).RawFont();
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    QPointF pen;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        path.addPath(raw.pathForGlyph(glyphs[i]).translated(pen));
        pen += advances.value(i);
    }
    return QTransform::fromScale(style.fontScaleX / 100, style.fontScaleY / 100).map(path);
}

std::unique_ptr<CWord> CText::Copy() const
{
    return std::make_unique<CText>(*this);
}

bool CText::Append(const CWord& next)
{
    const auto* other = dynamic_cast<const CText*>(&next);
    if (!other || isLineBreak || other->isLineBreak || !(style == other->style) ||
        other->karaokeStart != other->karaokeEnd || karaokeType != other->karaokeType) {
        return false;
    }
    text += other->text;
    width = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{width} + other->width, INT32_MIN, INT32_MAX));
    isWhiteSpace = isWhiteSpace && other->isWhiteSpace;
    return true;
}

// ---- CPolygon ----

namespace {

bool IsDrawingCommand(QChar c)
{
    switch (c.unicode()) {
    case 'm':
    case 'n':
    case 'l':
    case 'b':
    case 's':
    case 'p':
    case 'c':
        return true;
    default:
        return false;
    }
}

// Reads a signed decimal integer after optional white space; none when there are no digits.
std::optional<int32_t> ReadDrawingInt(QStringView text, qsizetype& pos)
{
    qsizetype i = pos;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype digits = i;
    int64_t value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        value = std::min<int64_t>(value * 10 + (text[i].unicode() - u'0'), INT32_MAX);
        ++i;
    }
    if (i == digits) {
        return std::nullopt;
    }
    pos = i;
    return static_cast<int32_t>(negative ? -value : value);
}

// The complete x y pairs at the start of `args`.
std::vector<QPoint> ReadPairs(QStringView args)
{
    std::vector<QPoint> pairs;
    qsizetype pos = 0;
    for (;;) {
        const auto x = ReadDrawingInt(args, pos);
        if (!x) {
            break;
        }
        const auto y = ReadDrawingInt(args, pos);
        if (!y) {
            break;
        }
        pairs.emplace_back(*x, *y);
    }
    return pairs;
}

} // namespace

CPolygon::CPolygon(QString wordText, const scripts::STSStyle& wordStyle, SKaraoke karaoke,
                   double drawingScaleX, double drawingScaleY, int32_t drawingBaseline)
    : CWord(std::move(wordText), wordStyle, karaoke), scaleX(drawingScaleX), scaleY(drawingScaleY),
      baseline(drawingBaseline)
{
    Parse();
    Measure();
}

void CPolygon::Parse()
{
    // Commands are a letter followed by their x y pairs; any other leading letter is ignored.
    char firstAdding = 0;       // the command that added the first points
    qsizetype splineStart = -1; // index of the first point of an open B-spline
    qsizetype start = 0;
    const QStringView all(text);
    while (start < all.size()) {
        qsizetype end = start + 1;
        while (end < all.size() && !IsDrawingCommand(all[end])) {
            ++end;
        }
        const QChar letter = all[start];
        std::vector<QPoint> pairs = ReadPairs(all.mid(start + 1, end - start - 1));
        start = end;

        const size_t before = points.size();
        const auto add = [this](char type, const QPoint& p) { points.push_back({type, p}); };
        switch (letter.unicode()) {
        case 'm':
        case 'n':
        case 'l':
            for (const QPoint& p : pairs) {
                add(static_cast<char>(letter.unicode()), p);
            }
            break;
        case 'b':
            pairs.resize(pairs.size() / 3 * 3);
            for (const QPoint& p : pairs) {
                add('b', p);
            }
            break;
        case 's':
            if (pairs.size() < 3) {
                pairs.clear();
            } else {
                splineStart = static_cast<qsizetype>(points.size());
            }
            for (size_t i = 0; i < pairs.size(); ++i) {
                add(i < 3 ? 's' : 'p', pairs[i]);
            }
            break;
        case 'p':
            for (const QPoint& p : pairs) {
                add('p', p);
            }
            break;
        case 'c':
            if (splineStart > 0) {
                for (qsizetype i = 0; i < 3; ++i) {
                    add('p', points[static_cast<size_t>(splineStart + i)].point);
                }
            }
            splineStart = -1;
            break;
        default:
            break;
        }
        if (!firstAdding && points.size() > before) {
            firstAdding = static_cast<char>(letter.unicode());
        }
    }
    if (firstAdding != 'm') {
        points.clear();
    }
}

void CPolygon::Measure()
{
    width = ascent = descent = 0;
    if (points.empty()) {
        return;
    }
    // Drawing units to font units (1/64 pixel), truncated.
    int64_t minX = INT64_MAX;
    int64_t minY = INT64_MAX;
    int64_t maxX = INT64_MIN;
    int64_t maxY = INT64_MIN;
    for (const SDrawingPoint& p : points) {
        const int64_t x = Saturate<int32_t>(p.point.x() * (64 * scaleX));
        const int64_t y = Saturate<int32_t>(p.point.y() * (64 * scaleY));
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const int64_t w = std::max<int64_t>(maxX - minX, 0);
    const int64_t h = std::max<int64_t>(maxY - minY, 0);
    const int64_t b = Saturate<int32_t>(64 * scaleY * baseline);
    const double sx = style.fontScaleX / 100;
    const double sy = style.fontScaleY / 100;
    // Each size as integer font units, then eighths rounded.
    const auto eighths = [](double units) {
        return Saturate<int32_t>(static_cast<double>((Saturate<int64_t>(units) + 4) >> 3));
    };
    width = eighths(sx * static_cast<double>(w));
    ascent = eighths(sy * static_cast<double>(h - b));
    descent = eighths(sy * static_cast<double>(b));
}

QPainterPath CPolygon::Outline() const
{
    // B-spline points are joined by straight segments: the outline is only a preview of the
    // shape, layout never reads it.
    QPainterPath path;
    std::vector<QPointF> bezier;
    for (const SDrawingPoint& p : points) {
        const QPointF at(p.point.x() * (64 * scaleX) * style.fontScaleX / 100,
                         p.point.y() * (64 * scaleY) * style.fontScaleY / 100);
        switch (p.type) {
        case 'm':
            path.closeSubpath();
            path.moveTo(at);
            break;
        case 'n':
            path.moveTo(at);
            break;
        case 'b':
            bezier.push_back(at);
            if (bezier.size() == 3) {
                path.cubicTo(bezier[0], bezier[1], bezier[2]);
                bezier.clear();
            }
            break;
        default:
            path.lineTo(at);
            break;
        }
    }
    path.closeSubpath();
    // Origin at the left end of the baseline.
    const QRectF box = path.boundingRect();
    const double b = 64 * scaleY * baseline * style.fontScaleY / 100;
    return path.translated(-box.left(), -box.bottom() + b);
}

std::unique_ptr<CWord> CPolygon::Copy() const
{
    return std::make_unique<CPolygon>(*this);
}

} // namespace quillary::layout
