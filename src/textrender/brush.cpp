// CreateBrush and its four kinds of brush.
#include "textrender/brush.h"

#include "imaging/bitmap.h"
#include "textrender/hatch_patterns.h"

#include <QColor>
#include <QLinearGradient>

#include <cmath>

namespace quillary::textrender {

QBrush HatchBrush(int style, uint32_t foreground, uint32_t background)
{
    const QImage tile = HatchTile(style, foreground, background);
    if (tile.isNull()) {
        return {};
    }
    return QBrush(tile.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// The colour is constant along lines through the rectangle that run from corner to corner
// across the gradient's direction, so that a diagonal gradient over a rectangle that is not
// square still meets the two other corners halfway, and each copy of the rectangle repeats the
// same ramp:
//   1. Horizontal and vertical: from the start edge to the opposite edge.
//   2. Forward diagonal: from (left, top) along the normal (h, w) of the other diagonal (w, -h),
//      as far as the projection of (right, bottom): 2wh / (w^2 + h^2) times the normal.
//   3. Backward diagonal: from (right, top) along (-h, w), the normal of (w, h), as far.
// Qt's repeat spread then continues the ramp in sawtooth copies outside the rectangle.
std::optional<QBrush> LinearGradientBrush(const SLgRect& rect, ELgMode mode, uint32_t start,
                                          uint32_t end)
{
    const double w = double(rect.Width());
    const double h = double(rect.Height());
    if (w <= 0 || h <= 0) {
        return std::nullopt;
    }
    const double left = rect.left;
    const double top = rect.top;
    QPointF from;
    QPointF to;
    const double scale = 2.0 * w * h / (w * w + h * h);
    switch (mode) {
    case ELgMode::kHorizontal:
        from = {left, top};
        to = {left + w, top};
        break;
    case ELgMode::kVertical:
        from = {left, top};
        to = {left, top + h};
        break;
    case ELgMode::kForwardDiagonal:
        from = {left, top};
        to = {left + h * scale, top + w * scale};
        break;
    case ELgMode::kBackwardDiagonal:
        from = {left + w, top};
        to = {left + w - h * scale, top + w * scale};
        break;
    default:
        return std::nullopt;
    }
    QLinearGradient gradient(from, to);
    gradient.setSpread(QGradient::RepeatSpread);
    gradient.setColorAt(0.0, QColor::fromRgba(start));
    gradient.setColorAt(1.0, QColor::fromRgba(end));
    return QBrush(gradient);
}

std::optional<QBrush> TextureBrush(const QString& path)
{
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const QImage image = imaging::LoadBitmap(path);
    if (image.isNull()) {
        return std::nullopt;
    }
    // A one-bit QImage would become a stipple in the pen's colour; a true-colour copy keeps
    // the file's own colours.
    return QBrush(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

std::optional<QBrush> CreateBrush(const CTextTmp& tmp)
{
    switch (tmp.brushType) {
    case EBrushType::kSolid:
        return QBrush(QColor::fromRgba(tmp.textColor));
    case EBrushType::kHatch:
        if (tmp.hatchStyle >= kHatchStyleCount) {
            return std::nullopt;
        }
        return HatchBrush(tmp.hatchStyle, tmp.textColor, tmp.textColor2);
    case EBrushType::kLinearGradient:
        return LinearGradientBrush(tmp.lgRect, tmp.lgMode, tmp.textColor, tmp.textColor2);
    case EBrushType::kTexture:
        return TextureBrush(tmp.TextureImage());
    }
    return std::nullopt;
}

} // namespace quillary::textrender
