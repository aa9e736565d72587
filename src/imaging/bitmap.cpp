// The graphics layer: QImage and QPainter do the work, this file maps the engine's formats.
#include "imaging/bitmap.h"

#include <QImageReader>
#include <QPainter>

namespace quillary::imaging {

EPixelFormat PixelFormatOf(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return EPixelFormat::kIndexed1;
    case QImage::Format_Indexed8:
        return EPixelFormat::kIndexed8;
    case QImage::Format_BGR888:
        return EPixelFormat::kRgb24;
    case QImage::Format_ARGB32:
        return EPixelFormat::kArgb32;
    default:
        return EPixelFormat::kOther;
    }
}

QImage::Format QtFormatOf(EPixelFormat format)
{
    switch (format) {
    case EPixelFormat::kIndexed1:
        return QImage::Format_Mono;
    case EPixelFormat::kIndexed8:
        return QImage::Format_Indexed8;
    case EPixelFormat::kRgb24:
        return QImage::Format_BGR888;
    case EPixelFormat::kArgb32:
        return QImage::Format_ARGB32;
    case EPixelFormat::kOther:
        break;
    }
    return QImage::Format_Invalid;
}

QImage CreateBitmap(int width, int height, EPixelFormat format)
{
    const QImage::Format qtFormat = QtFormatOf(format);
    if (width <= 0 || height <= 0 || qtFormat == QImage::Format_Invalid)
        return {};
    return QImage(width, height, qtFormat); // null when the allocation fails
}

QImage LoadBitmap(const QString& path)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
        return image;
    case QImage::Format_MonoLSB:
        return image.convertToFormat(QImage::Format_Mono);
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_BGR888);
    }
}

pgs::SColorPalette ColorPaletteOf(const QImage& image)
{
    pgs::SColorPalette palette;
    const QList<QRgb> table = image.colorTable();
    palette.entries.assign(table.begin(), table.end());
    for (const QRgb entry : table) {
        if (qAlpha(entry) != 255)
            palette.flags |= pgs::SColorPalette::kHasAlpha;
    }
    return palette;
}

void SetColorPalette(QImage& image, const pgs::SColorPalette& palette)
{
    image.setColorTable(QList<QRgb>(palette.entries.begin(), palette.entries.end()));
}

uint32_t PixelArgb(const QImage& image, int x, int y)
{
    if (!image.valid(x, y))
        return 0;
    return image.pixel(x, y);
}

bool DrawImage(QImage& target, const QRect& targetRect, const QImage& source,
               EInterpolation interpolation)
{
    if (target.isNull() || target.format() == QImage::Format_Indexed8 ||
        target.format() == QImage::Format_Mono || target.format() == QImage::Format_MonoLSB)
        return false;
    QPainter painter(&target);
    if (!painter.isActive())
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          interpolation == EInterpolation::kSmooth);
    painter.drawImage(targetRect, source);
    return true;
}

} // namespace quillary::imaging
