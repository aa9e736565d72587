// Rendering image lines.
#include "sources/image_line.h"

#include "imaging/bitmap.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace quillary::sources {

namespace {

// The value a pixel is compared by when cropping: its index in indexed images, else its ARGB.
uint32_t CropValue(const QImage& image, int x, int y)
{
    if (image.format() == QImage::Format_Indexed8)
        return image.constScanLine(y)[x];
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        return static_cast<uint32_t>(image.pixelIndex(x, y));
    return imaging::PixelArgb(image, x, y);
}

// The smallest rectangle holding every pixel that differs from the top-left one.
QRect ContentRect(const QImage& image)
{
    const uint32_t background = CropValue(image, 0, 0);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (CropValue(image, x, y) == background)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The key: the top-left pixel when it is transparent, else the colour of the last pair of equal
// corners.
uint32_t KeyColour(const QImage& image)
{
    const int w = image.width() - 1;
    const int h = image.height() - 1;
    const uint32_t corners[4] = {imaging::PixelArgb(image, 0, 0), imaging::PixelArgb(image, w, 0),
                                 imaging::PixelArgb(image, 0, h), imaging::PixelArgb(image, w, h)};
    uint32_t key = corners[0];
    if ((key >> 24) == 0)
        return key;
    static constexpr int kPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    for (const auto& pair : kPairs) {
        if (corners[pair[0]] == corners[pair[1]])
            key = corners[pair[0]];
    }
    return key;
}

// The value of pixel (x, y) of an indexed image as a palette index, at its bit depth.
int IndexAt(const QImage& image, const uchar* row, int x)
{
    switch (image.format()) {
    case QImage::Format_Mono:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case QImage::Format_MonoLSB:
        return (row[x >> 3] >> (x & 7)) & 1;
    default:
        return row[x];
    }
}

} // namespace

QPoint ImageInsertPosition(int frameWidth, int frameHeight, int imageWidth, int imageHeight)
{
    const int margin = static_cast<int>(0.05 * frameWidth);
    const int room = frameWidth - imageWidth;
    QPoint p;
    if (room > margin)
        p.setX(room - margin);
    else if (room > 0)
        p.setX(room);
    else
        p.setX(1);
    p.setY(imageHeight < frameHeight ? static_cast<int>(0.05 * frameHeight) : 0);
    return p;
}

QImage ScaleAndKey(const QImage& image, float scale, bool crop)
{
    if (image.isNull())
        return {};
    // 1. Source rectangle.
    const QRect source = crop ? ContentRect(image) : image.rect();
    if (source.isEmpty())
        return {};
    // 2. Key colour, from the corners of the whole image.
    const uint32_t key = KeyColour(image);
    // 3. Nearest-neighbour scaling of the exact pixel values.
    const int width = static_cast<int>(scale * source.width() + 0.5f);
    const int height = static_cast<int>(scale * source.height() + 0.5f);
    if (width <= 0 || height <= 0)
        return {};
    QImage result = image.copy(source).convertToFormat(QImage::Format_ARGB32);
    if (result.size() != QSize(width, height))
        result = result.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (result.isNull())
        return {};
    // 4. Pure blues and the key become transparent.
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const uint32_t p = row[x];
            const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if ((r < 16 && g < 16 && b > 64) || p == key)
                row[x] = 0;
        }
    }
    return result;
}

QImage SmoothEnlarge(const QImage& image, float scale)
{
    const auto format = image.format();
    if (format != QImage::Format_Indexed8 && format != QImage::Format_Mono &&
        format != QImage::Format_MonoLSB)
        return {};
    // 1. The shape's colour and its palette entry.
    const uint32_t topLeft = imaging::PixelArgb(image, 0, 0);
    const QRgb shapeColour = topLeft == 0xFFFFFFFF ? 0xFF0000FF : 0xFFFFFFFF;
    const QList<QRgb> table = image.colorTable();
    const int entry =
        static_cast<int>(std::find(table.begin(), table.end(), shapeColour) - table.begin());
    // 2. The shape: one rectangle a row per run of that entry.
    QPainterPath shape;
    if (entry < table.size()) {
        for (int y = 0; y < image.height(); ++y) {
            const uchar* row = image.constScanLine(y);
            int x = 0;
            while (x < image.width()) {
                if (IndexAt(image, row, x) != entry) {
                    ++x;
                    continue;
                }
                const int runStart = x;
                while (x < image.width() && IndexAt(image, row, x) == entry)
                    ++x;
                shape.addRect(runStart, y, x - runStart, 1);
            }
        }
    }
    // 3. Scale, bounding box and a 2-pixel margin.
    const float k = std::min(2.0f * scale, 4.0f);
    const QRect box = shape.boundingRect().toAlignedRect();
    const int bw = box.width();
    const int bh = box.height();
    shape.translate(2 - box.left(), 2 - box.top());
    // 4. Outline then fill at k times the size.
    QImage canvas(static_cast<int>(k * (bw + 4) + 0.5f), static_cast<int>(k * (bh + 4) + 0.5f),
                  QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::transparent);
    const auto hints =
        QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing;
    {
        QPainter painter(&canvas);
        painter.setRenderHints(hints);
        painter.scale(k, k);
        QPen pen(Qt::black);
        pen.setWidthF(std::max(3.0f * k, 2.0f) / k); // in canvas pixels
        painter.strokePath(shape, pen);
        painter.fillPath(shape, Qt::white);
    }
    // 5. Down to s times the size.
    QImage result(static_cast<int>(scale * (bw + 4) + 0.5f),
                  static_cast<int>(scale * (bh + 4) + 0.5f), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return {};
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.setRenderHints(hints);
        painter.drawImage(result.rect(), canvas);
    }
    return result.convertToFormat(QImage::Format_ARGB32);
}

ImageRenderStatus RenderImageFile(const QString& path, const SImageRenderInput& input,
                                  IMessageSink& messages, QImage& bitmap)
{
    bitmap = QImage();
    const QImage image = imaging::LoadBitmap(path);
    if (image.isNull()) {
        messages.Show((path + "\r\nOpen file error ! ").toStdString(), MessageKind::Error,
                      MessageButtons::Ok);
        return ImageRenderStatus::LoadFailed;
    }
    const float referenceWidth = static_cast<float>(input.reference.width());
    const float referenceArea = referenceWidth * static_cast<float>(input.reference.height());
    float scale = referenceWidth > 0 ? static_cast<float>(input.frameWidth) / referenceWidth : 1.0f;
    scale = std::min(scale, 2.0f);
    const bool crop =
        referenceArea > 0 && float(image.width()) * float(image.height()) / referenceArea > 0.9f;
    if (scale > 1.1f && !input.noScaling)
        bitmap = SmoothEnlarge(image, scale);
    if (bitmap.isNull())
        bitmap = ScaleAndKey(image, scale, crop);
    return bitmap.isNull() ? ImageRenderStatus::NoBitmap : ImageRenderStatus::Rendered;
}

} // namespace quillary::sources
